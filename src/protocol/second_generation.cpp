// SPDX-License-Identifier: Apache-2.0
// Second-generation commands multiplexed through report 230 (tuning,
// product ID, hardware configuration, hardware GUID), the simulated pen
// sample of the engineering test report, and display pixel read-back.
// Unlike the other families these log their own failed transfers.
#include <algorithm>
#include <array>
#include <cstring>

#include "protocol/bit_fields.hpp"
#include "protocol/report_io.hpp"

namespace {

using vantix::support::report_view;
using vantix::support::set_enum;

constexpr size_t command_size = VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS_SIZE;
using command_report = std::array<unsigned char, command_size>;

command_report command(std::initializer_list<unsigned char> bytes) {
    command_report report{};
    report[0] = VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS;
    std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
    return report;
}

constexpr std::initializer_list<unsigned char> tune = {'T', 'T', '+'}, abort_tune = {'T', 'T', '-'},
                                               tuning_status = {'T', 'T', '5'};
constexpr unsigned char hardware_command = 0xCD, guid_read = 'u';
constexpr size_t guid_at = 4;

constexpr vantix::protocol::transfer_rules logged_set{.failure_text = vantix::protocol::set_failed};
constexpr vantix::protocol::transfer_rules logged_get{.failure_text = vantix::protocol::get_failed};

// Whole reports as built here, byte 0 included.
template <size_t N>
void copy_out(const std::array<unsigned char, N> &report, report_view r) {
    r.put_bytes(0, report.data(), N);
}
template <size_t N>
void copy_in(report_view r, std::array<unsigned char, N> &report) {
    r.get_bytes(0, report.data(), N);
}

template <size_t N>
bool send(vantix_device *device, const std::array<unsigned char, N> &report,
          vantix::protocol::call_site site) {
    return vantix::protocol::write_report(device, &report, {report[0], N}, copy_out<N>, logged_set, site) ==
           VANTIX_CODE_SUCCESS;
}

enum class asked { not_sent, not_answered, answered };

// Sends a command that answers and reads the answer into `answer`, logging
// a failed transfer.
asked ask(vantix_device *device, command_report question, command_report &answer,
          vantix::protocol::call_site site) {
    if (!send(device, question, site))
        return asked::not_sent;
    if (vantix::protocol::read_report(device, &answer,
                                      {VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS, command_size},
                                      copy_in<command_size>, logged_get, site))
        return asked::answered;
    return asked::not_answered;
}

vantix_error_code send_command(vantix_device *device, command_report report,
                               vantix::protocol::call_site site) {
    return send(device, report, site) ? VANTIX_CODE_SUCCESS : VANTIX_CODE_ERROR;
}

void decode_pixels(report_view r, vantix_hid_feature_pixel_values &p) {
    p.report_id = r.get1(0);
    p.start_x = r.get_u16(1);
    p.start_y = r.get_u16(3);
    // The report holds 256 pixels; a pad claiming more is clipped to them.
    p.number_of_pixels = std::min<uint16_t>(r.get_u16(5), VANTIX_PIXEL_VALUES_COUNT);
    for (size_t i = 0; i < VANTIX_PIXEL_VALUES_COUNT; ++i) {
        vantix_pixel_color &c = p.color_data[i];
        c.composit = 0;
        if (i < p.number_of_pixels) {
            c.argb.a = r.get1(7 + 4 * i);
            c.argb.r = r.get1(8 + 4 * i);
            c.argb.g = r.get1(9 + 4 * i);
            c.argb.b = r.get1(10 + 4 * i);
        }
    }
}

}  // namespace

extern "C" {

vantix_error_code vantix_genII_tune(vantix_device *dev) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    trace.without_leave_record();
    return send_command(dev, command(tune), VANTIX_HERE);
}

vantix_error_code vantix_genII_abort_tune(vantix_device *dev) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    trace.without_leave_record();
    return send_command(dev, command(abort_tune), VANTIX_HERE);
}

vantix_hid_feature_tuning_status vantix_genII_get_tuning_status(vantix_device *dev) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    vantix_hid_feature_tuning_status status{};
    command_report answer{};
    const asked outcome = ask(dev, command(tuning_status), answer, VANTIX_HERE);
    if (outcome == asked::not_sent)
        trace.without_leave_record();
    if (outcome != asked::answered)
        return status;
    status.report_id = answer[0];
    status.command_id = answer[1];
    status.tuning_mode = vantix::protocol::bits(answer[2], 0);
    status.tuning_aborted = answer[2] & 0x02;  // kept in place
    set_enum(status.tuning_state, static_cast<uint8_t>(answer[2] >> 2));
    status.gain_setting = answer[3];
    return status;
}

vantix_error_code vantix_genII_set_device_pid(vantix_device *dev, uint16_t pid) {
    VANTIX_TRACE_CALL();
    VANTIX_LOG_WARNING("Attempting to set PID: %u", static_cast<unsigned int>(pid));
    command_report report = command({hardware_command});
    report[5] = static_cast<unsigned char>(pid & 0xFF);
    report[6] = static_cast<unsigned char>(pid >> 8);
    return send_command(dev, report, VANTIX_HERE);
}

int vantix_genII_query_hardware_configuration(vantix_device *dev) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    command_report answer{};
    if (ask(dev, command({hardware_command}), answer, VANTIX_HERE) != asked::answered) {
        trace.without_leave_record();
        return -1;
    }
    return answer[2];
}

vantix_hid_feature_guid vantix_genII_get_hardware_GUID(vantix_device *dev) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    vantix_hid_feature_guid guid{};
    command_report answer{};
    const asked outcome = ask(dev, command({guid_read}), answer, VANTIX_HERE);
    if (outcome == asked::not_sent)
        trace.without_leave_record();
    if (outcome != asked::answered)
        return guid;
    guid.report_id = answer[0];
    std::memcpy(guid.guid, answer.data() + guid_at, sizeof guid.guid);
    return guid;
}

vantix_error_code vantix_genII_set_hardware_GUID(vantix_device *dev, vantix_hid_feature_guid guid) {
    VANTIX_TRACE_CALL();
    command_report report = command({guid_read, 'I', 'D'});
    std::memcpy(report.data() + guid_at, guid.guid, sizeof guid.guid);
    return send_command(dev, report, VANTIX_HERE);
}

vantix_error_code vantix_simulate_pen_input(vantix_device *dev, vantix_pen_coordinate *coords) {
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    trace.without_leave_record();
    if (!vantix::protocol::have_record(coords, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    std::array<unsigned char, VANTIX_FEATURE_ENGINEERING_TEST_SIZE> report{};
    const report_view r(report.data(), report.size());
    r.put1(0, VANTIX_FEATURE_ENGINEERING_TEST);
    r.put1(1, 0x64);  // a simulated sample
    r.put1(2, coords->coordinate_type);
    r.put1(6, coords->pen_down ? 0x11 : 0x10);
    r.put2(7, coords->x);
    r.put2(9, coords->y);
    return send(dev, report, VANTIX_HERE) ? VANTIX_CODE_SUCCESS : VANTIX_CODE_ERROR;
}

vantix_error_code vantix_get_pixels(vantix_device *device, vantix_hid_feature_pixel_values *pixel_values) {
    VANTIX_TRACE_CALL();
    if (!vantix::protocol::have_record(pixel_values, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    // The pad takes the low byte of each coordinate.
    const std::array<unsigned char, VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION_SIZE> location = {
        VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION, static_cast<unsigned char>(pixel_values->start_x & 0xFF), 0,
        static_cast<unsigned char>(pixel_values->start_y & 0xFF), 0};
    // Both halves of the read log a failure as a failed get.
    if (vantix::protocol::write_report(device, &location, {location[0], location.size()},
                                       copy_out<location.size()>, logged_get,
                                       VANTIX_HERE) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    // Read aside: a failed read leaves the caller's record as it was.
    vantix_hid_feature_pixel_values read;
    if (!vantix::protocol::read_report(device, &read, {VANTIX_FEATURE_PIXELS, VANTIX_FEATURE_PIXELS_SIZE},
                                       decode_pixels, logged_get, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    *pixel_values = read;
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
