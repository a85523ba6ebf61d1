// SPDX-License-Identifier: Apache-2.0
// How the pad senses pen and touch: frequency and amplitude, power state,
// general parameters, raw ASIC access, pen and touch tuning, the error
// correction table and firmware download blocks.
#include "protocol/bit_fields.hpp"
#include "protocol/region_commit.hpp"
#include "protocol/report_io.hpp"

namespace {

using vantix::protocol::bits;
using vantix::protocol::pack;
using vantix::support::report_view;

void decode_frequency(report_view r, vantix_hid_feature_frequency_amplitude &f) {
    f.report_id = r.get1(0);
    f.frequency = r.get1(1);
    f.pen_amplitude = r.get1(2);
    f.touch_amplitude = r.get1(3);
}

void encode_frequency(const vantix_hid_feature_frequency_amplitude &f, report_view r) {
    r.put1(1, f.frequency);
    r.put1(2, f.pen_amplitude);
    r.put1(3, f.touch_amplitude);
}

void decode_power(report_view r, vantix_hid_feature_power_state &p) {
    p.report_id = r.get1(0);
    vantix::support::set_enum(p.power_state, r.get1(1));
}

void encode_power(const vantix_hid_feature_power_state &p, report_view r) {
    r.put1(1, vantix::support::enum_byte(p.power_state));
}

void decode_general(report_view r, vantix_hid_feature_general_parameters &g) {
    g.report_id = r.get1(0);
    const uint8_t b1 = r.get1(1), b2 = r.get1(2);
    g.xy_output_enable = bits(b1, 0);
    g.adc_output_enable = bits(b1, 1);
    g.map_coordinates = bits(b1, 2);
    g.channel_lock_enable = bits(b1, 3);
    g.channel_lock_number = bits(b1, 4, 3);
    g.reserved = bits(b1, 7, 0);
    g.corner_lower_left = bits(b2, 0, 2);
    g.corner_upper_left = bits(b2, 2, 2);
    g.corner_lower_right = bits(b2, 4, 2);
    g.corner_upper_right = bits(b2, 6, 0);
    g.samples = r.get_u16(3);
    g.filter_frequency = r.get1(5);
}

void encode_general(const vantix_hid_feature_general_parameters &g, report_view r) {
    r.put1(1, pack({{g.xy_output_enable, 0},
                    {g.adc_output_enable, 1},
                    {g.map_coordinates, 2},
                    {g.channel_lock_enable, 3},
                    {g.channel_lock_number, 4},
                    {g.reserved, 7}}));
    r.put1(2, pack({{g.corner_lower_left, 0},
                    {g.corner_upper_left, 2},
                    {g.corner_lower_right, 4},
                    {g.corner_upper_right, 6}}));
    r.put2(3, g.samples);
    r.put1(5, g.filter_frequency);
}

void encode_asic_reset(const vantix_hid_feature_asic_reset &a, report_view r) {
    r.put1(1, pack({{a.hardware_reset, 0}, {a.reserved, 1}}));
}

void decode_register(report_view r, vantix_hid_feature_register_get &g) {
    g.report_id = r.get1(0);
    r.get_bytes(1, g.register_info, sizeof g.register_info);
}

void encode_register(const vantix_hid_feature_register_set &s, report_view r) {
    r.put1(1, s.register_id);
    r.put1(2, s.register_value);
}

void decode_pen(report_view r, vantix_hid_feature_pen_parameters &p) {
    p.report_id = r.get1(0);
    p.proximity = r.get_u16(1);
    p.auto_pen_threshold = r.get_u16(3);
    p.auto_touch_threshold = r.get_u16(5);
    p.adc_average = r.get1(7);
    p.coordinate_average = r.get1(8);
    p.offset_interval = r.get_u16(9);
    p.debounce_pre_down = r.get1(11);
    p.debounce_post_down = r.get1(12);
    p.debounce_pre_up = r.get1(13);
    p.debounce_post_up = r.get1(14);
    const uint8_t b15 = r.get1(15);
    p.error_correction_enable = bits(b15, 0);
    p.reserved_1 = bits(b15, 1, 3);
    p.offset_correction_enable = bits(b15, 4);
    p.reserved_2 = bits(b15, 5);
    p.tip_inverted = bits(b15, 6);
    p.reserved_3 = bits(b15, 7, 0);
    p.interrupt_rate = r.get_u16(16);
}

void encode_pen(const vantix_hid_feature_pen_parameters &p, report_view r) {
    r.put2(1, p.proximity);
    r.put2(3, p.auto_pen_threshold);
    r.put2(5, p.auto_touch_threshold);
    r.put1(7, p.adc_average);
    r.put1(8, p.coordinate_average);
    r.put2(9, p.offset_interval);
    r.put1(11, p.debounce_pre_down);
    r.put1(12, p.debounce_post_down);
    r.put1(13, p.debounce_pre_up);
    r.put1(14, p.debounce_post_up);
    r.put1(15, pack({{p.error_correction_enable, 0},
                     {p.reserved_1, 1},
                     {p.offset_correction_enable, 4},
                     {p.reserved_2, 5},
                     {p.tip_inverted, 6},
                     {p.reserved_3, 7}}));
    r.put2(16, p.interrupt_rate);
}

void decode_touch(report_view r, vantix_hid_feature_touch_parameters &t) {
    t.report_id = r.get1(0);
    t.adc_average = r.get1(1);
    t.coordinate_average = r.get1(2);
    t.slope_down = r.get2(3);
    t.slope_liftoff = r.get2(5);
    t.slope_minimum = r.get1(7);
    t.pressure_single = r.get_u16(8);
    t.pressure_multiple = r.get_u16(10);
    t.gain = r.get1(12);
    t.error_correction_enable = bits(r.get1(13), 0);
    t.reserved = bits(r.get1(13), 1, 0);
    t.scale_x = r.get_u16(14);
    t.offset_x = r.get2(16);
    t.scale_y = r.get_u16(18);
    t.offset_y = r.get2(20);
}

void encode_touch(const vantix_hid_feature_touch_parameters &t, report_view r) {
    r.put1(1, t.adc_average);
    r.put1(2, t.coordinate_average);
    r.put2(3, static_cast<uint16_t>(t.slope_down));
    r.put2(5, static_cast<uint16_t>(t.slope_liftoff));
    r.put1(7, t.slope_minimum);
    r.put2(8, t.pressure_single);
    r.put2(10, t.pressure_multiple);
    r.put1(12, t.gain);
    r.put1(13, pack({{t.error_correction_enable, 0}, {t.reserved, 1}}));
    r.put2(14, t.scale_x);
    r.put2(16, static_cast<uint16_t>(t.offset_x));
    r.put2(18, t.scale_y);
    r.put2(20, static_cast<uint16_t>(t.offset_y));
}

void decode_error_correction(report_view r, vantix_hid_feature_error_correction_table &e) {
    e.report_id = r.get1(0);
    r.get_bytes(1, e.data, sizeof e.data);
}

void encode_error_correction(const vantix_hid_feature_error_correction_table &e, report_view r) {
    r.put_bytes(1, e.data, sizeof e.data);
}

// Sent as given: the library neither computes nor checks the checksum.
void encode_firmware(const vantix_hid_feature_firmware_download &f, report_view r) {
    r.put4(1, f.address);
    r.put_bytes(5, f.data, sizeof f.data);
    r.put1(133, f.checksum);
}

void encode_download_status(const vantix_hid_feature_download_command_status &s, report_view r) {
    r.put2(1, s.command_status);
}

constexpr int error_correction_read_polls = 100;
constexpr int error_correction_write_polls = 2200;

}  // namespace

// The family's reads and writes; `site` is the exported caller, named in
// their log records.
namespace vantix::protocol {

vantix_hid_feature_frequency_amplitude get_frequency_amplitude(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_frequency_amplitude>(
        device, {VANTIX_FEATURE_FREQUENCYAMPLITUDE, VANTIX_FEATURE_FREQUENCYAMPLITUDE_SIZE}, decode_frequency,
        logged_read, site);
}

vantix_error_code set_frequency_amplitude(vantix_device *device,
                                          const vantix_hid_feature_frequency_amplitude &freq,
                                          call_site site) {
    return write_report(device, &freq,
                        {VANTIX_FEATURE_FREQUENCYAMPLITUDE, VANTIX_FEATURE_FREQUENCYAMPLITUDE_SIZE},
                        encode_frequency, {}, site);
}

vantix_error_code set_power_state(vantix_device *device, const vantix_hid_feature_power_state &state,
                                  call_site site) {
    return write_report(device, &state, {VANTIX_FEATURE_POWERSTATE, VANTIX_FEATURE_POWERSTATE_SIZE},
                        encode_power, {}, site);
}

vantix_hid_feature_general_parameters get_general_parameters(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_general_parameters>(
        device, {VANTIX_FEATURE_GENERALPARAMETERS, VANTIX_FEATURE_GENERALPARAMETERS_SIZE}, decode_general,
        logged_read, site);
}

vantix_error_code set_general_parameters(vantix_device *device,
                                         const vantix_hid_feature_general_parameters &params,
                                         call_site site) {
    return write_report(device, &params,
                        {VANTIX_FEATURE_GENERALPARAMETERS, VANTIX_FEATURE_GENERALPARAMETERS_SIZE},
                        encode_general, {}, site);
}

vantix_error_code set_asic_reset(vantix_device *device, const vantix_hid_feature_asic_reset &reset,
                                 call_site site) {
    return write_report(device, &reset, {VANTIX_FEATURE_ASICRESET, VANTIX_FEATURE_ASICRESET_SIZE},
                        encode_asic_reset, {}, site);
}

vantix_hid_feature_register_get get_asic_register(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_register_get>(
        device, {VANTIX_FEATURE_REGISTERGET, VANTIX_FEATURE_REGISTERGET_SIZE}, decode_register, logged_read,
        site);
}

vantix_error_code set_asic_register(vantix_device *device, const vantix_hid_feature_register_set &reg,
                                    call_site site) {
    return write_report(device, &reg, {VANTIX_FEATURE_REGISTERSET, VANTIX_FEATURE_REGISTERSET_SIZE},
                        encode_register, {}, site);
}

vantix_hid_feature_pen_parameters get_pen_parameters(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_pen_parameters>(
        device, {VANTIX_FEATURE_PENPARAMETERS, VANTIX_FEATURE_PENPARAMETERS_SIZE}, decode_pen, logged_read,
        site);
}

vantix_error_code set_pen_parameters(vantix_device *device, const vantix_hid_feature_pen_parameters &params,
                                     call_site site) {
    return write_report(device, &params, {VANTIX_FEATURE_PENPARAMETERS, VANTIX_FEATURE_PENPARAMETERS_SIZE},
                        encode_pen, {}, site);
}

vantix_hid_feature_touch_parameters get_touch_parameters(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_touch_parameters>(
        device, {VANTIX_FEATURE_TOUCHPARAMETERS, VANTIX_FEATURE_TOUCHPARAMETERS_SIZE}, decode_touch,
        logged_read, site);
}

vantix_error_code set_touch_parameters(vantix_device *device,
                                       const vantix_hid_feature_touch_parameters &params, call_site site) {
    return write_report(device, &params,
                        {VANTIX_FEATURE_TOUCHPARAMETERS, VANTIX_FEATURE_TOUCHPARAMETERS_SIZE}, encode_touch,
                        {}, site);
}

vantix_error_code set_firmware(vantix_device *device, const vantix_hid_feature_firmware_download &firmware,
                               call_site site) {
    return write_report(device, &firmware,
                        {VANTIX_FEATURE_FIRMWAREDOWNLOAD, VANTIX_FEATURE_FIRMWAREDOWNLOAD_SIZE},
                        encode_firmware, {}, site);
}

vantix_error_code set_firmware_download_status(vantix_device *device,
                                               const vantix_hid_feature_download_command_status &status,
                                               call_site site) {
    return write_report(device, &status,
                        {VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS, VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS_SIZE},
                        encode_download_status, {}, site);
}

}  // namespace vantix::protocol

extern "C" {

// The exported shims. A _ref reader copies what its by-value twin returns,
// through the exported twin so that the log shows both calls as it always has.

vantix_hid_feature_frequency_amplitude vantix_get_frequency_amplitude(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_frequency_amplitude(device, VANTIX_HERE);
}

void vantix_get_frequency_amplitude_ref(vantix_device *device,
                                        vantix_hid_feature_frequency_amplitude *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_frequency_amplitude(device);
}

vantix_error_code vantix_set_frequency_amplitude(vantix_device *device,
                                                 vantix_hid_feature_frequency_amplitude freq) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_frequency_amplitude(device, freq, VANTIX_HERE);
}

vantix_hid_feature_power_state vantix_get_power_state(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_power_state state;
    vantix::protocol::read_report(device, &state, {VANTIX_FEATURE_POWERSTATE, VANTIX_FEATURE_POWERSTATE_SIZE},
                                  decode_power, {.failure_text = vantix::protocol::get_failed}, VANTIX_HERE);
    return state;
}

vantix_error_code vantix_set_power_state(vantix_device *device, vantix_hid_feature_power_state state) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_power_state(device, state, VANTIX_HERE);
}

vantix_hid_feature_general_parameters vantix_get_general_parameters(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_general_parameters(device, VANTIX_HERE);
}

void vantix_get_general_parameters_ref(vantix_device *device, vantix_hid_feature_general_parameters *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_general_parameters(device);
}

vantix_error_code vantix_set_general_parameters(vantix_device *device,
                                                vantix_hid_feature_general_parameters params) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_general_parameters(device, params, VANTIX_HERE);
}

vantix_error_code vantix_set_asic_reset(vantix_device *device, vantix_hid_feature_asic_reset reset) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_asic_reset(device, reset, VANTIX_HERE);
}

vantix_hid_feature_register_get vantix_get_asic_register(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_asic_register(device, VANTIX_HERE);
}

void vantix_get_asic_register_ref(vantix_device *device, vantix_hid_feature_register_get *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_asic_register(device);
}

vantix_error_code vantix_set_asic_register(vantix_device *device, vantix_hid_feature_register_set reg) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_asic_register(device, reg, VANTIX_HERE);
}

vantix_hid_feature_pen_parameters vantix_get_pen_parameters(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_pen_parameters(device, VANTIX_HERE);
}

void vantix_get_pen_parameters_ref(vantix_device *device, vantix_hid_feature_pen_parameters *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_pen_parameters(device);
}

vantix_error_code vantix_set_pen_parameters(vantix_device *device, vantix_hid_feature_pen_parameters params) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_pen_parameters(device, params, VANTIX_HERE);
}

vantix_hid_feature_touch_parameters vantix_get_touch_parameters(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_touch_parameters(device, VANTIX_HERE);
}

void vantix_get_touch_parameters_ref(vantix_device *device, vantix_hid_feature_touch_parameters *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_touch_parameters(device);
}

vantix_error_code vantix_set_touch_parameters(vantix_device *device,
                                              vantix_hid_feature_touch_parameters params) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_touch_parameters(device, params, VANTIX_HERE);
}

vantix_error_code vantix_set_firmware(vantix_device *device, vantix_hid_feature_firmware_download firmware) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_firmware(device, firmware, VANTIX_HERE);
}

vantix_error_code vantix_set_firmware_download_status(vantix_device *device,
                                                      vantix_hid_feature_download_command_status status) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_firmware_download_status(device, status, VANTIX_HERE);
}

// The table is read only once the pad has finished filling its report
// buffer; a wait that times out gives the zero record without a transfer.
vantix_hid_feature_error_correction_table vantix_get_error_correction_table(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_error_correction_table table;
    vantix::protocol::read_report(device, &table,
                                  {VANTIX_FEATURE_ERRORCORRECTION, VANTIX_FEATURE_ERRORCORRECTION_SIZE},
                                  decode_error_correction,
                                  {.wait = {error_correction_read_polls, INTERLOCK_REPORTBUFFER},
                                   .failure_text = vantix::protocol::get_failed},
                                  VANTIX_HERE);
    return table;
}

void vantix_get_error_correction_table_ref(vantix_device *device,
                                           vantix_hid_feature_error_correction_table *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_error_correction_table(device);
}

vantix_error_code vantix_set_error_correction(vantix_device *device,
                                              vantix_hid_feature_error_correction_table errcor) {
    VANTIX_TRACE_CALL();
    vantix::protocol::discard_region_edits(device);  // results ignored
    vantix_set_run_mode(device, VANTIX_RUNMODE_COMMAND);
    if (!wait_for_interlock(device, error_correction_write_polls, INTERLOCK_REPORTBUFFER))
        return VANTIX_CODE_ERROR;  // the pad stays in command mode
    if (vantix::protocol::write_report(device, &errcor,
                                       {VANTIX_FEATURE_ERRORCORRECTION, VANTIX_FEATURE_ERRORCORRECTION_SIZE},
                                       encode_error_correction, {}, VANTIX_HERE) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    vantix_set_run_mode(device, VANTIX_RUNMODE_PEN);
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
