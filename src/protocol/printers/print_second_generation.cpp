// SPDX-License-Identifier: Apache-2.0
// Printers of the second-generation command records.
#include "protocol/printers/record_print.hpp"

using namespace vantix::protocol::print;

extern "C" {

VANTIX_RECORD_PRINTER(tuning_status, vantix_hid_feature_tuning_status,
                      "vantix_hid_feature_tuning_status structure:", 14,
                      out.put<"report_id command_id tuning_mode tuning_aborted tuning_state gain_setting">(
                          r.report_id, r.command_id, r.tuning_mode, r.tuning_aborted, r.tuning_state,
                          r.gain_setting))

VANTIX_RECORD_PRINTER(hardware_guid, vantix_hid_feature_guid, "vantix_hid_feature_guid structure:", 9,
                      out.put<"report_id guid">(r.report_id, all(r.guid)))

VANTIX_RECORD_PRINTER(pen_coordinate, vantix_pen_coordinate, "vantix_pen_coordinate structure:", 15,
                      out.put<"report_id coordinate_type x y pen_down">(r.report_id, r.coordinate_type, r.x,
                                                                        r.y, r.pen_down))

VANTIX_RECORD_PRINTER(pixel_values, vantix_hid_feature_pixel_values,
                      "vantix_hid_feature_pixel_values structure:", 16,
                      out.put<"report_id start_x start_y number_of_pixels color_data">(
                          r.report_id, r.start_x, r.start_y, r.number_of_pixels,
                          first(r.color_data, r.number_of_pixels)))

}  // extern "C"
