// SPDX-License-Identifier: Apache-2.0
// What a pad is and how it is set up: capabilities, display information,
// version, serial number, coordinate range, configuration and modes, and the
// small mode commands.
#include <cstring>

#include "build_config.hpp"
#include "core/failure.hpp"
#include "protocol/region_commit.hpp"
#include "protocol/report_io.hpp"

namespace {

using vantix::support::enum_byte;
using vantix::support::report_view;
using vantix::support::set_enum;

void decode_capabilities(report_view r, vantix_hid_capabilities &c) {
    c.report_id = r.get1(0);
    c.supported_reports = r.get_u16(1);
    c.coordinate_modes = r.get1(3);
    c.reserved1 = r.get1(4);
    set_enum(c.display_id, r.get1(5));
    c.brightness_levels = r.get1(6);
    c.contrast_levels = r.get1(7);
    c.color_depth = r.get1(8);
    c.display_width = r.get_u16(9);
    c.display_height = r.get_u16(11);
    c.digitizer_width = r.get_u16(13);
    c.digitizer_height = r.get_u16(15);
    c.coordinate_xmin = r.get_u16(17);
    c.coordinate_xmax = r.get_u16(19);
    c.coordinate_ymin = r.get_u16(21);
    c.coordinate_ymax = r.get_u16(23);
    c.calibration_xmin = r.get_u16(25);
    c.calibration_xmax = r.get_u16(27);
    c.calibration_ymin = r.get_u16(29);
    c.calibration_ymax = r.get_u16(31);
    c.reserved_4 = r.get_u32(33);
    c.reserved_5 = r.get_u32(37);
    set_enum(c.mag_reader_id, r.get1(41));
    c.reserved_6 = r.get1(42);
    c.reserved_7 = r.get_u16(43);
    c.supports_screens_resources = r.get1(45);
    c.reserved_9 = r.get1(46);
    c.reserved_10 = static_cast<uint32_t>(static_cast<int32_t>(r.get2(47)));  // sign-extended on purpose
    c.reserved_11 = r.get_u32(49);
    c.reserved_12 = r.get_u32(53);
    c.reserved_13 = r.get_u32(57);
    c.reserved_14 = r.get_u32(61);
}

void decode_display_info(report_view r, vantix_hid_feature_display_info &d) {
    d.report_id = r.get1(0);
    d.width = r.get_u16(1);
    d.height = r.get_u16(3);
    d.color_depth = r.get1(5);
    d.text_width = r.get1(6);
    d.text_height = r.get1(7);
    d.region_count = r.get1(8);
    d.max_caption_length = r.get1(9);
}

void decode_version(report_view r, vantix_hid_feature_version &v) {
    v.report_id = r.get1(0);
    r.get_bytes(1, v.kernel_version, sizeof v.kernel_version);
    r.get_bytes(4, v.firmware_version, sizeof v.firmware_version);
    v.asic_signature = r.get_u16(7);
}

constexpr size_t serial_capacity = sizeof(vantix_hid_feature_serial_number{}.serial_number);

void decode_serial_number(report_view r, vantix_hid_feature_serial_number &s) {
    s.report_id = r.get1(0);
    r.get_bytes(1, s.serial_number, serial_capacity);
    s.serial_number[serial_capacity - 1] = 0;  // always terminated
    for (uint8_t &byte : s.serial_number)
        if (byte == 0xFF)  // erased storage
            byte = 0;
}

void decode_coordinate_range(report_view r, vantix_hid_feature_coordinate_range &c) {
    c.report_id = r.get1(0);
    c.x_min = r.get_u16(1);
    c.x_max = r.get_u16(3);
    c.y_min = r.get_u16(5);
    c.y_max = r.get_u16(7);
}

void decode_device_configure(report_view r, vantix_hid_feature_device_configure &c) {
    c.report_id = r.get1(0);
    c.device_mode = r.get1(1);
    c.device_id = r.get1(2);
}

void encode_device_configure(const vantix_hid_feature_device_configure &c, report_view r) {
    r.put1(1, c.device_mode);
    r.put1(2, c.device_id);
}

void decode_contact_count(report_view r, vantix_hid_feature_contact_count_maximum &c) {
    c.report_id = r.get1(0);
    c.contact_count_max = r.get1(1);
}

// The wire has no reserved byte: byte 2 is the acquisition mode.
void decode_operating_modes(report_view r, vantix_hid_feature_operating_modes &m) {
    m.report_id = r.get1(0);
    m.supported_modes = r.get1(1);
    m.acquisition_mode = r.get1(2);
    m.touch_mode = r.get1(3);
    m.pen_mode = r.get1(4);
}

void decode_display_settings(report_view r, vantix_hid_feature_display_settings &d) {
    d.report_id = r.get1(0);
    d.brightness = r.get1(1);
    d.contrast = r.get1(2);
    d.red = r.get1(3);
    d.green = r.get1(4);
    d.blue = r.get1(5);
    d.set_command = r.get1(6);
}

void encode_display_settings(const vantix_hid_feature_display_settings &d, report_view r) {
    r.put1(1, d.brightness);
    r.put1(2, d.contrast);
    r.put1(3, d.red);
    r.put1(4, d.green);
    r.put1(5, d.blue);
    r.put1(6, d.set_command);
}

// A new serial number: the text, at most 31 bytes, and the write key.
struct serial_write {
    const unsigned char *text;
    size_t length;
};

void encode_serial_number(const serial_write &s, report_view r) {
    r.put_bytes(1, s.text, s.length);
    r.put1(33, static_cast<uint8_t>(VANTIX_SERIAL_WRITE_KEY_TEXT[0]));
    r.put1(34, static_cast<uint8_t>(VANTIX_SERIAL_WRITE_KEY_TEXT[1]));
}

constexpr int run_mode_polls = 500;
constexpr int serial_region_polls = 100;

}  // namespace

// The family's reads and writes; `site` is the exported caller, named in
// their log records.
namespace vantix::protocol {

vantix_hid_capabilities get_capabilities(vantix_device *device, call_site site) {
    return read_value<vantix_hid_capabilities>(
        device, {VANTIX_FEATURE_CAPABILITIES, VANTIX_FEATURE_CAPABILITIES_SIZE}, decode_capabilities,
        logged_read, site);
}

vantix_hid_feature_display_info get_display_info(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_display_info>(
        device, {VANTIX_FEATURE_DISPLAYINFO, VANTIX_FEATURE_DISPLAYINFO_SIZE}, decode_display_info,
        logged_read, site);
}

vantix_hid_feature_version get_version(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_version>(
        device, {VANTIX_FEATURE_VERSIONINFO, VANTIX_FEATURE_VERSIONINFO_SIZE}, decode_version, logged_read,
        site);
}

vantix_hid_feature_serial_number get_serial_number(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_serial_number>(
        device, {VANTIX_FEATURE_SERIALNUMBER, VANTIX_FEATURE_SERIALNUMBER_SIZE}, decode_serial_number,
        logged_read, site);
}

vantix_hid_feature_coordinate_range get_coordinate_range(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_coordinate_range>(
        device, {VANTIX_FEATURE_COORDINATERANGE, VANTIX_FEATURE_COORDINATERANGE_SIZE},
        decode_coordinate_range, logged_read, site);
}

vantix_hid_feature_device_configure get_device_configure(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_device_configure>(
        device, {VANTIX_FEATURE_DEVICECONFIGURE, VANTIX_FEATURE_DEVICECONFIGURE_SIZE},
        decode_device_configure, logged_read, site);
}

vantix_hid_feature_contact_count_maximum get_contact_count_maximum(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_contact_count_maximum>(
        device, {VANTIX_FEATURE_CONTACTCOUNTMAXIMUM, VANTIX_FEATURE_CONTACTCOUNTMAXIMUM_SIZE},
        decode_contact_count, logged_read, site);
}

vantix_hid_feature_operating_modes get_operating_modes(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_operating_modes>(
        device, {VANTIX_FEATURE_OPERATINGMODE, VANTIX_FEATURE_OPERATINGMODE_SIZE}, decode_operating_modes,
        logged_read, site);
}

vantix_hid_feature_display_settings get_display_settings(vantix_device *device, call_site site) {
    return read_value<vantix_hid_feature_display_settings>(
        device, {VANTIX_FEATURE_DISPLAYSETTINGS, VANTIX_FEATURE_DISPLAYSETTINGS_SIZE},
        decode_display_settings, logged_read, site);
}

vantix_error_code set_device_configure(vantix_device *device,
                                       const vantix_hid_feature_device_configure &configure, call_site site) {
    return write_report(device, &configure,
                        {VANTIX_FEATURE_DEVICECONFIGURE, VANTIX_FEATURE_DEVICECONFIGURE_SIZE},
                        encode_device_configure, {}, site);
}

vantix_error_code set_display_settings(vantix_device *device,
                                       const vantix_hid_feature_display_settings &settings, call_site site) {
    return write_report(device, &settings,
                        {VANTIX_FEATURE_DISPLAYSETTINGS, VANTIX_FEATURE_DISPLAYSETTINGS_SIZE},
                        encode_display_settings, {}, site);
}

}  // namespace vantix::protocol

extern "C" {

// The exported shims. A _ref reader copies what its by-value twin returns,
// through the exported twin so that the log shows both calls as it always has.

vantix_hid_capabilities vantix_get_capabilities(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_capabilities(device, VANTIX_HERE);
}

void vantix_get_capabilities_ref(vantix_device *device, vantix_hid_capabilities *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_capabilities(device);
}

vantix_hid_feature_display_info vantix_get_display_info(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_display_info(device, VANTIX_HERE);
}

void vantix_get_display_info_ref(vantix_device *device, vantix_hid_feature_display_info *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_display_info(device);
}

vantix_hid_feature_version vantix_get_version(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_version(device, VANTIX_HERE);
}

void vantix_get_version_ref(vantix_device *device, vantix_hid_feature_version *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_version(device);
}

vantix_hid_feature_serial_number vantix_get_serial_number(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_serial_number(device, VANTIX_HERE);
}

void vantix_get_serial_number_ref(vantix_device *device, vantix_hid_feature_serial_number *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_serial_number(device);
}

vantix_hid_feature_coordinate_range vantix_get_coordinate_range(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_coordinate_range(device, VANTIX_HERE);
}

void vantix_get_coordinate_range_ref(vantix_device *device, vantix_hid_feature_coordinate_range *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_coordinate_range(device);
}

vantix_hid_feature_device_configure vantix_get_device_configure(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_device_configure(device, VANTIX_HERE);
}

void vantix_get_device_configure_ref(vantix_device *device, vantix_hid_feature_device_configure *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_device_configure(device);
}

vantix_hid_feature_contact_count_maximum vantix_get_contact_count_maximum(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_contact_count_maximum(device, VANTIX_HERE);
}

void vantix_get_contact_count_maximum_ref(vantix_device *device,
                                          vantix_hid_feature_contact_count_maximum *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_contact_count_maximum(device);
}

vantix_hid_feature_operating_modes vantix_get_operating_modes(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_operating_modes(device, VANTIX_HERE);
}

void vantix_get_operating_modes_ref(vantix_device *device, vantix_hid_feature_operating_modes *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_operating_modes(device);
}

vantix_hid_feature_display_settings vantix_get_display_settings(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::get_display_settings(device, VANTIX_HERE);
}

void vantix_get_display_settings_ref(vantix_device *device, vantix_hid_feature_display_settings *record) {
    VANTIX_TRACE_CALL();
    if (record)
        *record = vantix_get_display_settings(device);
}

vantix_error_code vantix_set_device_configure(vantix_device *device,
                                              vantix_hid_feature_device_configure configure) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_device_configure(device, configure, VANTIX_HERE);
}

vantix_error_code vantix_set_display_settings(vantix_device *device,
                                              vantix_hid_feature_display_settings settings) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::set_display_settings(device, settings, VANTIX_HERE);
}

vantix_error_code vantix_set_startup_mode(vantix_device *device, vantix_device_acquisition_mode mode) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::write_byte_report(
        device, {VANTIX_FEATURE_SAVECONFIGURATION, VANTIX_FEATURE_SAVECONFIGURATION_SIZE}, enum_byte(mode),
        {}, VANTIX_HERE);
}

vantix_error_code vantix_set_run_mode(vantix_device *device, vantix_device_run_mode run_mode) {
    VANTIX_TRACE_CALL();
    if (!wait_for_interlock(device, run_mode_polls, INTERLOCK_REPORTBUFFER))
        return VANTIX_CODE_ERROR;
    const vantix_error_code sent = vantix::protocol::write_byte_report(
        device, {VANTIX_FEATURE_RUNMODE, VANTIX_FEATURE_RUNMODE_SIZE}, enum_byte(run_mode), {}, VANTIX_HERE);
    if (!wait_for_interlock(device, run_mode_polls, INTERLOCK_REPORTBUFFER))
        return VANTIX_CODE_ERROR;
    return sent;
}

vantix_error_code vantix_set_serial_number(vantix_device *device, const unsigned char *serial_number,
                                           unsigned int len) {
    VANTIX_TRACE_CALL();
    const serial_write serial{serial_number,
                              serial_number ? (len < serial_capacity - 1 ? len : serial_capacity - 1) : 0};

    if (!wait_for_interlock(device, serial_region_polls, INTERLOCK_REGION))
        return VANTIX_CODE_ERROR;
    if (!vantix::protocol::discard_region_edits(device))
        return VANTIX_CODE_ERROR;

    vantix_device_run_mode restore = VANTIX_RUNMODE_PEN;
    vantix_hid_feature_device_status status{};
    vantix_get_device_status_ref(device, &status);
    if (status.report_id != 0)
        restore = status.is_idle ? VANTIX_RUNMODE_COMMAND : VANTIX_RUNMODE_PEN;

    if (vantix_set_run_mode(device, VANTIX_RUNMODE_COMMAND) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    const vantix_error_code sent = vantix::protocol::write_report(
        device, &serial, {VANTIX_FEATURE_SERIALNUMBER, VANTIX_FEATURE_SERIALNUMBER_SIZE},
        encode_serial_number, {}, VANTIX_HERE);
    vantix_set_run_mode(device, restore);  // always attempted once in command mode
    return sent;
}

}  // extern "C"
