// SPDX-License-Identifier: Apache-2.0
// Printers of the second-generation command records.
#include "protocol/printers/record_print.hpp"

namespace vantix::protocol::print {

void tuning_status(const vantix_hid_feature_tuning_status *record) {
    print_record("vantix_hid_feature_tuning_status structure:", 14, record,
                 [](fields &out, const vantix_hid_feature_tuning_status &r) {
                     out.put<"report_id command_id tuning_mode tuning_aborted tuning_state gain_setting">(
                         r.report_id, r.command_id, r.tuning_mode, r.tuning_aborted, r.tuning_state,
                         r.gain_setting);
                 });
}

void hardware_guid(const vantix_hid_feature_guid *record) {
    print_record("vantix_hid_feature_guid structure:", 9, record,
                 [](fields &out, const vantix_hid_feature_guid &r) {
                     out.put<"report_id guid">(r.report_id, all(r.guid));
                 });
}

void pen_coordinate(const vantix_pen_coordinate *record) {
    print_record("vantix_pen_coordinate structure:", 15, record,
                 [](fields &out, const vantix_pen_coordinate &r) {
                     out.put<"report_id coordinate_type x y pen_down">(r.report_id, r.coordinate_type, r.x,
                                                                       r.y, r.pen_down);
                 });
}

void pixel_values(const vantix_hid_feature_pixel_values *record) {
    print_record("vantix_hid_feature_pixel_values structure:", 16, record,
                 [](fields &out, const vantix_hid_feature_pixel_values &r) {
                     out.put<"report_id start_x start_y number_of_pixels color_data">(
                         r.report_id, r.start_x, r.start_y, r.number_of_pixels,
                         first(r.color_data, r.number_of_pixels));
                 });
}

}  // namespace vantix::protocol::print

extern "C" {

void vantix_print_tuning_status(const vantix_hid_feature_tuning_status *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::tuning_status(record);
}

void vantix_print_hardware_guid(const vantix_hid_feature_guid *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::hardware_guid(record);
}

void vantix_print_pen_coordinate(const vantix_pen_coordinate *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::pen_coordinate(record);
}

void vantix_print_pixel_values(const vantix_hid_feature_pixel_values *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::pixel_values(record);
}

}  // extern "C"
