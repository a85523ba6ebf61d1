// SPDX-License-Identifier: Apache-2.0
// What the pad sends and how it maps its sensor: output and peripheral
// configuration, stored calibration data, and the calibrate command.
#include <cstddef>
#include <iterator>

#include "protocol/bit_fields.hpp"
#include "protocol/region_commit.hpp"
#include "protocol/report_io.hpp"

namespace {

using vantix::protocol::bits;
using vantix::support::enum_byte;
using vantix::support::report_view;
using vantix::support::set_enum;

constexpr vantix::protocol::interlock_wait no_wait{};
constexpr int calibrate_polls = 100;
constexpr int calibrate_state_polls_before = 2103;
constexpr int calibrate_state_polls_after = 2104;
constexpr uint8_t calibrate_start = 0x00, calibrate_cancel = 0xFD;

// The flag byte closing both configurations.
uint8_t flag_byte(uint8_t save_as_default, uint8_t load_factory_settings) {
    return static_cast<uint8_t>((save_as_default ? 0x01 : 0) | (load_factory_settings ? 0x80 : 0));
}

template <typename Record>
void decode_flags(uint8_t byte, Record &r) {
    r.save_as_default = bits(byte, 0);
    r.load_factory_settings = bits(byte, 7);
}

void decode_output(report_view r, vantix_hid_feature_output_parameters &o) {
    o.report_id = r.get1(0);
    o.output_report = r.get_u32(1);
    set_enum(o.output_mode, r.get1(5));
    set_enum(o.compression, bits(r.get1(6), 0, 2));
    o.packets_per_second = r.get_u16(7);
    decode_flags(r.get1(9), o);
}

void encode_output(const vantix_hid_feature_output_parameters &o, report_view r) {
    r.put4(1, o.output_report);
    r.put1(5, enum_byte(o.output_mode));
    r.put1(6, enum_byte(o.compression));
    r.put2(7, o.packets_per_second);
    r.put1(9, flag_byte(o.save_as_default, o.load_factory_settings));
}

constexpr size_t peripheral_reserved = 14;

// The reserved bytes are fourteen consecutive fields of the record.
uint8_t *reserved_of(vantix_hid_feature_peripheral_configuration &p) { return &p.reserved1; }
const uint8_t *reserved_of(const vantix_hid_feature_peripheral_configuration &p) { return &p.reserved1; }
static_assert(offsetof(vantix_hid_feature_peripheral_configuration, reserved14) -
                  offsetof(vantix_hid_feature_peripheral_configuration, reserved1) ==
              peripheral_reserved - 1);

void decode_peripheral(report_view r, vantix_hid_feature_peripheral_configuration &p) {
    p.report_id = r.get1(0);
    set_enum(p.mag_card_output, r.get1(1));
    r.get_bytes(2, reserved_of(p), peripheral_reserved);
    decode_flags(r.get1(16), p);
}

void encode_peripheral(const vantix_hid_feature_peripheral_configuration &p, report_view r) {
    r.put1(1, enum_byte(p.mag_card_output));
    r.put_bytes(2, reserved_of(p), peripheral_reserved);
    r.put1(16, flag_byte(p.save_as_default, p.load_factory_settings));
}

void decode_calibration(report_view r, vantix_hid_feature_calibration_data &c) {
    c.report_id = VANTIX_FEATURE_CALIBRATION_DATA;
    c.calibration_type = r.get1(1);
    c.is_calibrated = bits(r.get1(2), 0);
    c.rotation_scale = r.get_u16(3);
    c.local_multiplier_scale = r.get_u16(5);
    c.host_multiplier_scale = r.get_u16(7);
    c.rotation_sin_scaled = r.get2(9);
    c.rotation_cos_scaled = r.get2(11);
    c.local_width_calibrated = r.get_u16(13);
    c.local_height_calibrated = r.get_u16(15);
    int32_t *const wide[] = {
        &c.local_x_multiplier_scaled, &c.local_x_offset, &c.local_y_multiplier_scaled, &c.local_y_offset,
        &c.host_x_multiplier_scaled,  &c.host_x_offset,  &c.host_y_multiplier_scaled,  &c.host_y_offset};
    for (size_t i = 0; i < std::size(wide); ++i)
        *wide[i] = r.get4(17 + 4 * i);
}

void encode_calibration(const vantix_hid_feature_calibration_data &c, report_view r) {
    r.put1(1, c.calibration_type);
    r.put1(2, c.is_calibrated ? 1 : 0);
    r.put2(3, c.rotation_scale);
    r.put2(5, c.local_multiplier_scale);
    r.put2(7, c.host_multiplier_scale);
    r.put2(9, static_cast<uint16_t>(c.rotation_sin_scaled));
    r.put2(11, static_cast<uint16_t>(c.rotation_cos_scaled));
    r.put2(13, c.local_width_calibrated);
    r.put2(15, c.local_height_calibrated);
    const int32_t wide[] = {
        c.local_x_multiplier_scaled, c.local_x_offset, c.local_y_multiplier_scaled, c.local_y_offset,
        c.host_x_multiplier_scaled,  c.host_x_offset,  c.host_y_multiplier_scaled,  c.host_y_offset};
    for (size_t i = 0; i < std::size(wide); ++i)
        r.put4(17 + 4 * i, static_cast<uint32_t>(wide[i]));
}

void decode_calibrate(report_view r, vantix_hid_feature_calibrate &c) {
    c.report_id = r.get1(0);
    c.calibration_mode = bits(r.get1(1), 0);
    set_enum(c.point, bits(r.get1(1), 3, 0));
}

// Start or cancel: wait for the calibrate lock, send, and on a failed send
// give the pad one more wait before reporting it.
vantix_error_code send_calibrate(vantix_device *device, uint8_t command) {
    if (!wait_for_interlock(device, calibrate_polls, INTERLOCK_CALIBRATE))
        return VANTIX_CODE_ERROR;
    if (vantix::protocol::write_byte_report(device, {VANTIX_FEATURE_CALIBRATE, VANTIX_FEATURE_CALIBRATE_SIZE},
                                            command, {}, VANTIX_HERE) == VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_SUCCESS;
    wait_for_interlock(device, calibrate_polls, INTERLOCK_CALIBRATE);
    return VANTIX_CODE_ERROR;
}

// These three writes log their leaving record before the transfer and
// return the transport's result unchanged.
template <typename Record, typename Encode>
vantix_error_code write_configuration(vantix_device *device, const Record &record, uint8_t id, size_t length,
                                      Encode encode, vantix::debug::call_trace &trace,
                                      vantix::protocol::call_site site) {
    return vantix::protocol::write_report(device, &record, {id, length}, encode,
                                          {.leave_before_transfer = &trace, .transport_code = true}, site);
}

}  // namespace

// The family's reads and writes; `site` is the exported caller, named in
// their log records.
namespace vantix::protocol {

void get_output_configuration(vantix_device *device, vantix_hid_feature_output_parameters *record,
                              call_site site) {
    read_report(device, record, {VANTIX_FEATURE_OUTPUTCONFIGURATION, VANTIX_FEATURE_OUTPUTCONFIGURATION_SIZE},
                decode_output, {.wait = no_wait, .refuse_null = true}, site);
}

void get_peripheral_configuration(vantix_device *device, vantix_hid_feature_peripheral_configuration *record,
                                  call_site site) {
    read_report(device, record,
                {VANTIX_FEATURE_PERIPHERAL_CONFIGURATION, VANTIX_FEATURE_PERIPHERAL_CONFIGURATION_SIZE},
                decode_peripheral, {.wait = no_wait, .refuse_null = true}, site);
}

void get_calibration_data(vantix_device *device, vantix_hid_feature_calibration_data *record,
                          call_site site) {
    read_report(device, record, {VANTIX_FEATURE_CALIBRATION_DATA, VANTIX_FEATURE_CALIBRATION_DATA_SIZE},
                decode_calibration, {.wait = no_wait, .refuse_null = true}, site);
}

}  // namespace vantix::protocol

extern "C" {

// The exported shims. The _ref readers do the transfer; a by-value reader
// reads into a local record through its exported _ref twin, whose log
// records come with it as they always have.

void vantix_get_output_configuration_ref(vantix_device *device,
                                         vantix_hid_feature_output_parameters *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::get_output_configuration(device, record, VANTIX_HERE);
}

vantix_hid_feature_output_parameters vantix_get_output_configuration(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_output_parameters record;
    vantix_get_output_configuration_ref(device, &record);
    return record;
}

void vantix_get_peripheral_configuration_ref(vantix_device *device,
                                             vantix_hid_feature_peripheral_configuration *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::get_peripheral_configuration(device, record, VANTIX_HERE);
}

vantix_hid_feature_peripheral_configuration vantix_get_peripheral_configuration(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_peripheral_configuration record;
    vantix_get_peripheral_configuration_ref(device, &record);
    return record;
}

void vantix_get_calibration_data_ref(vantix_device *device, vantix_hid_feature_calibration_data *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::get_calibration_data(device, record, VANTIX_HERE);
}

vantix_hid_feature_calibration_data vantix_get_calibration_data(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_calibration_data record;
    vantix_get_calibration_data_ref(device, &record);
    return record;
}

vantix_error_code vantix_set_output_configuration(vantix_device *device,
                                                  vantix_hid_feature_output_parameters settings) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    return write_configuration(device, settings, VANTIX_FEATURE_OUTPUTCONFIGURATION,
                               VANTIX_FEATURE_OUTPUTCONFIGURATION_SIZE, encode_output, trace, VANTIX_HERE);
}

vantix_error_code vantix_set_peripheral_configuration(vantix_device *device,
                                                      vantix_hid_feature_peripheral_configuration settings) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    return write_configuration(device, settings, VANTIX_FEATURE_PERIPHERAL_CONFIGURATION,
                               VANTIX_FEATURE_PERIPHERAL_CONFIGURATION_SIZE, encode_peripheral, trace,
                               VANTIX_HERE);
}

vantix_error_code vantix_set_calibration_data(vantix_device *device,
                                              vantix_hid_feature_calibration_data calibration_data) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    return write_configuration(device, calibration_data, VANTIX_FEATURE_CALIBRATION_DATA,
                               VANTIX_FEATURE_CALIBRATION_DATA_SIZE, encode_calibration, trace, VANTIX_HERE);
}

vantix_hid_feature_calibrate vantix_get_calibrate_state(vantix_device *device) {
    VANTIX_TRACE_CALL();
    // A pad that never frees the lock is neither read nor waited for again.
    if (!wait_for_interlock(device, calibrate_state_polls_before, INTERLOCK_CALIBRATE))
        return {};
    vantix_hid_feature_calibrate state;
    vantix::protocol::read_report(device, &state, {VANTIX_FEATURE_CALIBRATE, VANTIX_FEATURE_CALIBRATE_SIZE},
                                  decode_calibrate, {.failure_text = vantix::protocol::get_failed},
                                  VANTIX_HERE);
    // The pad holds the lock while it takes the command in; its outcome
    // does not change what was read.
    wait_for_interlock(device, calibrate_state_polls_after, INTERLOCK_CALIBRATE);
    return state;
}

void vantix_get_calibrate_state_ref(vantix_device *device, vantix_hid_feature_calibrate *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_calibrate_state(device);
}

vantix_error_code vantix_device_calibrate(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix::protocol::discard_region_edits(device);  // results ignored
    return send_calibrate(device, calibrate_start);
}

vantix_error_code vantix_device_cancel_calibrate(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return send_calibrate(device, calibrate_cancel);
}

}  // extern "C"
