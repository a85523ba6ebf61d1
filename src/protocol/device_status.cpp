// SPDX-License-Identifier: Apache-2.0
// The device status report, its printer, clearing the pad's error state and
// the firmware interlock wait built on the status. They live with report I/O,
// which waits on the interlock, so that core never reaches up into protocol.

#include <cstdio>
#include <cstring>

#include "core/failure.hpp"
#include "core/legacy.hpp"
#include "core/pause.hpp"
#include "protocol/bit_fields.hpp"
#include "protocol/report_io.hpp"

namespace {

using vantix::support::report_view;

constexpr uint8_t status_id = VANTIX_FEATURE_DEVICE_STATUS;
constexpr size_t status_size = VANTIX_FEATURE_DEVICE_STATUS_SIZE;

void decode_status(report_view r, vantix_hid_feature_device_status &s) {
    s.report_id = status_id;  // the record names its own report, whatever byte 0 says
    s.is_initializing = vantix::protocol::bits(r.get1(1), 0);
    s.is_idle = vantix::protocol::bits(r.get1(1), 4);
    s.calibration_required = vantix::protocol::bits(r.get1(2), 0);
    s.is_calibrating = vantix::protocol::bits(r.get1(2), 1);
    const uint8_t locks = r.get1(3);
    s.all_output_commands_locked = vantix::protocol::bits(locks, 0);
    s.operating_mode_commands_locked = vantix::protocol::bits(locks, 1);
    s.region_commands_locked = vantix::protocol::bits(locks, 2);
    s.screen_commands_locked = vantix::protocol::bits(locks, 3);
    s.display_commands_locked = vantix::protocol::bits(locks, 4);
    s.calibration_commands_locked = vantix::protocol::bits(locks, 5);
    s.reserved1 = r.get1(4);
    s.reserved2 = r.get_u16(5);
    s.last_error = r.get_u16(7);
    r.get_bytes(9, s.error_info, sizeof s.error_info);
}

unsigned int lock_mask(const vantix_hid_feature_device_status &s) {
    return s.all_output_commands_locked * 1u + s.operating_mode_commands_locked * 2u +
           s.region_commands_locked * 4u + s.screen_commands_locked * 8u + s.display_commands_locked * 16u +
           s.calibration_commands_locked * 32u;
}

}  // namespace

extern "C" {

void vantix_get_device_status_ref(vantix_device *device, vantix_hid_feature_device_status *status) {
    VANTIX_TRACE_CALL();
    // A failed read leaves the record zero, quietly: report_id 0 is the
    // signal (the interlock wait polls through here).
    vantix::protocol::read_report(device, status, {status_id, status_size}, decode_status, {}, VANTIX_HERE);
}

vantix_hid_feature_device_status vantix_get_device_status(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_device_status status{};
    vantix_get_device_status_ref(device, &status);
    return status;
}

void vantix_print_device_status(vantix_hid_feature_device_status *status) {
    VANTIX_TRACE_CALL();
    std::printf("vantix_hid_feature_device_status:\n");
    if (!status) {
        std::printf("  NULL\n");
        return;
    }
    std::printf("               report_id = %hhu\n", status->report_id);
    std::printf("         is_initializing = %d\n", status->is_initializing);
    std::printf("                 is_idle = %d\n", status->is_idle);
    std::printf("    calibration_required = %d\n", status->calibration_required);
    std::printf("          is_calibrating = %d\n", status->is_calibrating);
    std::printf("               reserved1 = 0x%02x\n", status->reserved1);
    std::printf("               reserved2 = 0x%02x\n", status->reserved2);
    std::printf("               errorInfo = \"%.64s\"\n", status->error_info);
}

vantix_error_code vantix_clear_last_error(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::write_byte_report(device, {status_id, status_size}, 0, {}, VANTIX_HERE);
}

int wait_for_interlock(vantix_device *device, int sleep, int lockFlags) {
    if (vantix::legacy_firmware.load(std::memory_order_relaxed))
        return 1;
    // The exit record is written on the polling paths only.
    vantix::debug::call_trace trace(__func__, __FILE__, __LINE__, false);
    unsigned int observed = 0;
    for (int remaining = sleep; remaining > 0; --remaining) {
        vantix_hid_feature_device_status status{};
        vantix_get_device_status_ref(device, &status);
        observed = lock_mask(status);
        if ((observed & static_cast<unsigned int>(lockFlags)) == 0) {
            VANTIX_LOG_INFO(
                "Firmware interlock successfully waited for, sleep: %u, requested interlock: %u, returned "
                "status: "
                "%u, took: %u",
                sleep, lockFlags, observed, sleep - remaining);
            return 1;
        }
        vantix::pause_ms(1);
    }
    VANTIX_FAIL(
        "Problem waiting for firmware interlock: device didn't respond in time, sleep: %u, requested "
        "interlock: %u, "
        "Returned status: %u",
        sleep, lockFlags, observed);
    return 0;
}

}  // extern "C"
