// SPDX-License-Identifier: Apache-2.0
// Printers of the acquisition and tuning records, raw ASIC access and
// firmware download blocks.
#include "protocol/printers/record_print.hpp"

namespace vantix::protocol::print {

// The header names the printer rather than the record, as it always has.
void frequency_amplitude(const vantix_hid_feature_frequency_amplitude *record) {
    print_record("vantix_print_frequency_amplitude structure:", 18, record,
                 [](fields &out, const vantix_hid_feature_frequency_amplitude &r) {
                     out.put<"report_id frequency pen_amplitude touch_amplitude">(
                         r.report_id, r.frequency, r.pen_amplitude, r.touch_amplitude);
                 });
}

void power_state(const vantix_hid_feature_power_state *record) {
    print_record("vantix_hid_feature_power_state structure:", 18, record,
                 [](fields &out, const vantix_hid_feature_power_state &r) {
                     out.put<"report_id power_state">(r.report_id, r.power_state);
                 });
}

// "filter_fequency" is the label that readers of this output already match.
void general_parameters(const vantix_hid_feature_general_parameters *record) {
    print_record("vantix_hid_feature_general_parameters structure:", 20, record,
                 [](fields &out, const vantix_hid_feature_general_parameters &r) {
                     out.put<"report_id xy_output_enable adc_output_enable map_coordinates">(
                         r.report_id, r.xy_output_enable, r.adc_output_enable, r.map_coordinates);
                     out.put<"channel_lock_enable channel_lock_number reserved">(
                         r.channel_lock_enable, r.channel_lock_number, r.reserved);
                     out.put<"corner_lower_left corner_upper_left corner_lower_right corner_upper_right">(
                         r.corner_lower_left, r.corner_upper_left, r.corner_lower_right,
                         r.corner_upper_right);
                     out.put<"samples filter_fequency">(r.samples, r.filter_frequency);
                 });
}

void asic_register(const vantix_hid_feature_register_get *record) {
    print_record("vantix_hid_feature_register_get structure:", 14, record,
                 [](fields &out, const vantix_hid_feature_register_get &r) {
                     out.put<"report_id register_info">(r.report_id, all(r.register_info));
                 });
}

void pen_parameters(const vantix_hid_feature_pen_parameters *record) {
    print_record("vantix_hid_feature_pen_parameters structure:", 24, record,
                 [](fields &out, const vantix_hid_feature_pen_parameters &r) {
                     out.put<"report_id proximity auto_pen_threshold auto_touch_threshold">(
                         r.report_id, r.proximity, r.auto_pen_threshold, r.auto_touch_threshold);
                     out.put<"adc_average coordinate_average offset_interval">(
                         r.adc_average, r.coordinate_average, r.offset_interval);
                     out.put<"debounce_pre_down debounce_post_down debounce_pre_up debounce_post_up">(
                         r.debounce_pre_down, r.debounce_post_down, r.debounce_pre_up, r.debounce_post_up);
                     out.put<"error_correction_enable reserved_1 offset_correction_enable reserved_2">(
                         r.error_correction_enable, r.reserved_1, r.offset_correction_enable, r.reserved_2);
                     out.put<"tip_inverted reserved_3 interrupt_rate">(r.tip_inverted, r.reserved_3,
                                                                       r.interrupt_rate);
                 });
}

void touch_parameters(const vantix_hid_feature_touch_parameters *record) {
    print_record("vantix_hid_feature_touch_parameters structure:", 24, record,
                 [](fields &out, const vantix_hid_feature_touch_parameters &r) {
                     out.put<"report_id adc_average coordinate_average slope_down slope_liftoff">(
                         r.report_id, r.adc_average, r.coordinate_average, r.slope_down, r.slope_liftoff);
                     out.put<"slope_minimum pressure_single pressure_multiple gain">(
                         r.slope_minimum, r.pressure_single, r.pressure_multiple, r.gain);
                     out.put<"error_correction_enable reserved scale_x offset_x scale_y offset_y">(
                         r.error_correction_enable, r.reserved, r.scale_x, r.offset_x, r.scale_y, r.offset_y);
                 });
}

// The published layout puts the dump's heading one column left of the label
// above it.
void error_correction_table(const vantix_hid_feature_error_correction_table *record) {
    print_record("vantix_hid_feature_error_correction_table structure:", 10, record,
                 [](fields &out, const vantix_hid_feature_error_correction_table &r) {
                     out.put<"report_id">(r.report_id);
                     out.width(9);
                     out.put<"data">(all(r.data));
                 });
}

void asic_reset(const vantix_hid_feature_asic_reset *record) {
    print_record("vantix_hid_feature_asic_reset structure:", 14, record,
                 [](fields &out, const vantix_hid_feature_asic_reset &r) {
                     out.put<"report_id hardware_reset reserved">(r.report_id, r.hardware_reset, r.reserved);
                 });
}

void register_set(const vantix_hid_feature_register_set *record) {
    print_record("vantix_hid_feature_register_set structure:", 14, record,
                 [](fields &out, const vantix_hid_feature_register_set &r) {
                     out.put<"report_id register_id register_value">(r.report_id, r.register_id,
                                                                     r.register_value);
                 });
}

void firmware_download(const vantix_hid_feature_firmware_download *record) {
    print_record("vantix_hid_feature_firmware_download structure:", 9, record,
                 [](fields &out, const vantix_hid_feature_firmware_download &r) {
                     out.put<"report_id address data checksum">(r.report_id, r.address, all(r.data),
                                                                r.checksum);
                 });
}

void download_command_status(const vantix_hid_feature_download_command_status *record) {
    print_record("vantix_hid_feature_download_command_status structure:", 14, record,
                 [](fields &out, const vantix_hid_feature_download_command_status &r) {
                     out.put<"report_id command_status">(r.report_id, r.command_status);
                 });
}

}  // namespace vantix::protocol::print

extern "C" {

void vantix_print_frequency_amplitude(const vantix_hid_feature_frequency_amplitude *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::frequency_amplitude(record);
}

void vantix_print_power_state(const vantix_hid_feature_power_state *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::power_state(record);
}

void vantix_print_general_parameters(const vantix_hid_feature_general_parameters *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::general_parameters(record);
}

void vantix_print_asic_register(const vantix_hid_feature_register_get *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::asic_register(record);
}

void vantix_print_pen_parameters(const vantix_hid_feature_pen_parameters *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::pen_parameters(record);
}

void vantix_print_touch_parameters(const vantix_hid_feature_touch_parameters *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::touch_parameters(record);
}

void vantix_print_error_correction_table(const vantix_hid_feature_error_correction_table *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::error_correction_table(record);
}

void vantix_print_asic_reset(const vantix_hid_feature_asic_reset *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::asic_reset(record);
}

void vantix_print_register_set(const vantix_hid_feature_register_set *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::register_set(record);
}

void vantix_print_firmware_download(const vantix_hid_feature_firmware_download *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::firmware_download(record);
}

void vantix_print_download_command_status(const vantix_hid_feature_download_command_status *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::download_command_status(record);
}

}  // extern "C"
