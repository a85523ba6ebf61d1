// SPDX-License-Identifier: Apache-2.0
// Printers of the output, peripheral and calibration configuration.
#include "protocol/printers/record_print.hpp"

namespace {

constexpr const char *output_modes[] = {"REAL_TIME", "TRANSMIT_ON_CONFIRM", "TRANSMIT_ON_HOST_COMMAND"};
constexpr const char *compressions[] = {"VANTIX_OUTPUT_UNCOMPRESSED_LORES", "VANTIX_OUTPUT_COMPRESSED_LORES",
                                        "VANTIX_OUTPUT_UNCOMPRESSED_HIRES", "VANTIX_OUTPUT_COMPRESSED_HIRES"};

int has(vantix_mag_card_output output, unsigned int bit) {
    return (vantix::support::enum_byte(output) & bit) != 0;
}

}  // namespace

namespace vantix::protocol::print {

// The published layout narrows the column for the last three lines.
void output_configuration(const vantix_hid_feature_output_parameters *record) {
    print_record("vantix_hid_feature_output_parameters:", 24, record,
                 [](fields &out, const vantix_hid_feature_output_parameters &r) {
                     out.put<"report_id output_report real_time compression">(
                         r.report_id, hex_word{r.output_report}, name_of(whole(r.output_mode), output_modes),
                         name_of(whole(r.compression), compressions));
                     out.width(23);
                     out.put<"packets_per_second save_as_default load_factory_settings">(
                         r.packets_per_second, r.save_as_default, r.load_factory_settings);
                 });
}

void peripheral_configuration(const vantix_hid_feature_peripheral_configuration *record) {
    print_record(
        "vantix_hid_feature_peripheral_configuration:", 24, record,
        [](fields &out, const vantix_hid_feature_peripheral_configuration &r) {
            out.put<"report_id oem_output keyboard_output keyboard_preamble">(
                r.report_id, has(r.mag_card_output, VANTIX_MAG_CARD_OEM_FORMAT),
                has(r.mag_card_output, VANTIX_MAG_CARD_KEYBOARD),
                has(r.mag_card_output, VANTIX_MAG_CARD_KEYBOARD_PREAMBLE));
            out.put<"reserved1 reserved2 reserved3 reserved4 reserved5 reserved6 reserved7">(
                r.reserved1, r.reserved2, r.reserved3, r.reserved4, r.reserved5, r.reserved6, r.reserved7);
            out.put<"reserved8 reserved9 reserved10 reserved11 reserved12 reserved13 reserved14">(
                r.reserved8, r.reserved9, r.reserved10, r.reserved11, r.reserved12, r.reserved13,
                r.reserved14);
            out.put<"save_as_default load_factory_settings">(r.save_as_default, r.load_factory_settings);
        });
}

void calibration_data(const vantix_hid_feature_calibration_data *record) {
    print_record(
        "vantix_hid_feature_calibration_data:", 24, record,
        [](fields &out, const vantix_hid_feature_calibration_data &r) {
            out.put<"report_id CalibrationType isCalibrated RotationScale">(
                r.report_id, r.calibration_type, r.is_calibrated, r.rotation_scale);
            out.put<"LocalMultiplierScale HostMultiplierScale RotationSINScaled RotationCOSScaled">(
                r.local_multiplier_scale, r.host_multiplier_scale, r.rotation_sin_scaled,
                r.rotation_cos_scaled);
            out.put<"LocalWidthCalibrated LocalHeightCalibrated">(r.local_width_calibrated,
                                                                  r.local_height_calibrated);
            out.put<"LocalXMultiplierScaled LocalXOffset LocalYMultiplierScaled LocalYOffset">(
                r.local_x_multiplier_scaled, r.local_x_offset, r.local_y_multiplier_scaled, r.local_y_offset);
            out.put<"HostXMultiplierScaled HostXOffset HostYMultiplierScaled HostYOffset">(
                r.host_x_multiplier_scaled, r.host_x_offset, r.host_y_multiplier_scaled, r.host_y_offset);
        });
}

void calibrate_state(const vantix_hid_feature_calibrate *record) {
    print_record("vantix_hid_feature_calibrate structure:", 24, record,
                 [](fields &out, const vantix_hid_feature_calibrate &r) {
                     out.put<"report_id calibration_mode point">(r.report_id, r.calibration_mode, r.point);
                 });
}

}  // namespace vantix::protocol::print

extern "C" {

void vantix_print_output_configuration(const vantix_hid_feature_output_parameters *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::output_configuration(record);
}

void vantix_print_peripheral_configuration(const vantix_hid_feature_peripheral_configuration *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::peripheral_configuration(record);
}

void vantix_print_calibration_data(const vantix_hid_feature_calibration_data *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::calibration_data(record);
}

void vantix_print_calibrate_state(const vantix_hid_feature_calibrate *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::calibrate_state(record);
}

}  // extern "C"
