// SPDX-License-Identifier: Apache-2.0
// Printers of what a pad is and how it is set up.
#include "protocol/printers/record_print.hpp"

namespace vantix::protocol::print {

void display_info(const vantix_hid_feature_display_info *record) {
    print_record("vantix_hid_feature_display_info structure:", 20, record,
                 [](fields &out, const vantix_hid_feature_display_info &r) {
                     out.put<"report_id width height color_depth">(r.report_id, r.width, r.height,
                                                                   r.color_depth);
                     out.put<"text_width text_height region_count max_caption_length">(
                         r.text_width, r.text_height, r.region_count, r.max_caption_length);
                 });
}

// reserved1 stays out, and the calibration lines carry their own labels,
// as readers of this layout expect.
void capabilities(const vantix_hid_capabilities *record) {
    print_record(
        "vantix_hid_capabilities structure:", 26, record, [](fields &out, const vantix_hid_capabilities &r) {
            out.put<"report_id supported_reports coordinate_modes display_id">(
                r.report_id, r.supported_reports, r.coordinate_modes, r.display_id);
            out.put<"brightness_levels contrast_levels color_depth">(r.brightness_levels, r.contrast_levels,
                                                                     r.color_depth);
            out.put<"display_width display_height digitizer_width digitizer_height">(
                r.display_width, r.display_height, r.digitizer_width, r.digitizer_height);
            out.put<"coordinate_xmin coordinate_xmax coordinate_ymin coordinate_ymax">(
                r.coordinate_xmin, r.coordinate_xmax, r.coordinate_ymin, r.coordinate_ymax);
            out.put<"calibration_x_min calibration_x_max calibration_y_min calibration_y_max">(
                r.calibration_xmin, r.calibration_xmax, r.calibration_ymin, r.calibration_ymax);
            out.put<"reserved_4 reserved_5 mag_reader_id reserved_6 reserved_7">(
                r.reserved_4, r.reserved_5, r.mag_reader_id, r.reserved_6, r.reserved_7);
            out.put<"supports_screens_resources reserved_9 reserved_10 reserved_11">(
                r.supports_screens_resources, r.reserved_9, r.reserved_10, r.reserved_11);
            out.put<"reserved_12 reserved_13 reserved_14">(r.reserved_12, r.reserved_13, r.reserved_14);
        });
}

void display_settings(const vantix_hid_feature_display_settings *record) {
    print_record("vantix_hid_feature_display_settings structure:", 12, record,
                 [](fields &out, const vantix_hid_feature_display_settings &r) {
                     out.put<"report_id brightness contrast red green blue set_command">(
                         r.report_id, r.brightness, r.contrast, r.red, r.green, r.blue, r.set_command);
                 });
}

void device_configure(const vantix_hid_feature_device_configure *record) {
    print_record("vantix_hid_feature_device_configure structure:", 12, record,
                 [](fields &out, const vantix_hid_feature_device_configure &r) {
                     out.put<"report_id device_mode device_id">(r.report_id, r.device_mode, r.device_id);
                 });
}

void contact_count_maximum(const vantix_hid_feature_contact_count_maximum *record) {
    print_record("vantix_hid_feature_contact_count_maximum structure:", 18, record,
                 [](fields &out, const vantix_hid_feature_contact_count_maximum &r) {
                     out.put<"report_id contact_count_max">(r.report_id, r.contact_count_max);
                 });
}

void version(const vantix_hid_feature_version *record) {
    print_record("vantix_hid_feature_version structure:", 18, record,
                 [](fields &out, const vantix_hid_feature_version &r) {
                     out.put<"report_id kernel_version firmware_version asic_signature">(
                         r.report_id, dotted{r.kernel_version}, dotted{r.firmware_version}, r.asic_signature);
                 });
}

void coordinate_range(const vantix_hid_feature_coordinate_range *record) {
    print_record("vantix_hid_feature_coordinate_range structure:", 10, record,
                 [](fields &out, const vantix_hid_feature_coordinate_range &r) {
                     out.put<"report_id x_min x_max y_min y_max">(r.report_id, r.x_min, r.x_max, r.y_min,
                                                                  r.y_max);
                 });
}

// The write key letters are never read back, so they are not shown.
void serial_number(const vantix_hid_feature_serial_number *record) {
    print_record("vantix_hid_feature_serial_number structure:", 14, record,
                 [](fields &out, const vantix_hid_feature_serial_number &r) {
                     out.put<"report_id serial_number">(r.report_id, text(r.serial_number));
                 });
}

// reserved has no wire byte behind it.
void operating_modes(const vantix_hid_feature_operating_modes *record) {
    print_record("vantix_hid_feature_operating_modes structure:", 17, record,
                 [](fields &out, const vantix_hid_feature_operating_modes &r) {
                     out.put<"report_id supported_modes acquisition_mode touch_mode pen_mode">(
                         r.report_id, r.supported_modes, r.acquisition_mode, r.touch_mode, r.pen_mode);
                 });
}

}  // namespace vantix::protocol::print

extern "C" {

void vantix_print_display_info(const vantix_hid_feature_display_info *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::display_info(record);
}

void vantix_print_capabilities(const vantix_hid_capabilities *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::capabilities(record);
}

void vantix_print_display_settings(const vantix_hid_feature_display_settings *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::display_settings(record);
}

void vantix_print_device_configure(const vantix_hid_feature_device_configure *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::device_configure(record);
}

void vantix_print_contact_count_maximum(const vantix_hid_feature_contact_count_maximum *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::contact_count_maximum(record);
}

void vantix_print_version(const vantix_hid_feature_version *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::version(record);
}

void vantix_print_coordinate_range(const vantix_hid_feature_coordinate_range *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::coordinate_range(record);
}

void vantix_print_serial_number(const vantix_hid_feature_serial_number *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::serial_number(record);
}

void vantix_print_operating_modes(const vantix_hid_feature_operating_modes *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::operating_modes(record);
}

}  // extern "C"
