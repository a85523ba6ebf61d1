// SPDX-License-Identifier: Apache-2.0
// Feature report transfers shared by every report family.
#include "protocol/report_io.hpp"

#include <algorithm>

namespace vantix::protocol {

bool fetch_report(vantix_device *device, uint8_t id, std::span<unsigned char> buffer, interlock_wait wait,
                  bool quiet, call_site site) {
    std::fill(buffer.begin(), buffer.end(), 0);
    if (buffer.empty())
        return false;
    buffer[0] = id;
    if (wait.polls != 0 || wait.flags != 0)
        if (!wait_for_interlock(device, wait.polls, wait.flags))
            return false;
    if (vantix_hid_get_feature_report(device, buffer.data(), static_cast<unsigned int>(buffer.size())) ==
        VANTIX_CODE_SUCCESS)
        return true;
    if (!quiet && debug::wanted(VANTIX_DEBUG_LEVEL_WARNING))
        vantix_debug_report_message(site.function, site.file, site.line, VANTIX_DEBUG_LEVEL_WARNING,
                                    "Unable to get report: %s", vantix_get_last_error_internal());
    return false;
}

vantix_error_code send_report(vantix_device *device, std::span<unsigned char> buffer) {
    return vantix_hid_set_feature_report(device, buffer.data(), static_cast<unsigned int>(buffer.size())) ==
                   VANTIX_CODE_SUCCESS
               ? VANTIX_CODE_SUCCESS
               : VANTIX_CODE_ERROR;
}

vantix_error_code write_byte_report(vantix_device *device, uint8_t id, size_t length, uint8_t value) {
    report_buffer buffer(length);
    const std::span<unsigned char> bytes = buffer.bytes();
    if (length > 0)
        bytes[0] = id;
    if (length > 1)
        bytes[1] = value;
    return send_report(device, bytes);
}

// Checked here rather than left to the transfer, so that a missing device
// is not first polled for its interlock a hundred times.
bool have_device(vantix_device *device, call_site site) {
    if (!device)
        report_failure(site.function, site.file, site.line, "No device given.");
    return device != nullptr;
}

bool have_record(const void *record, call_site site) {
    if (!record)
        report_failure(site.function, site.file, site.line, "No record given.");
    return record != nullptr;
}

vantix_error_code send_when_clear(vantix_device *device, std::span<unsigned char> buffer,
                                  interlock_wait wait) {
    if (wait.polls != 0 && !wait_for_interlock(device, wait.polls, wait.flags))
        return VANTIX_CODE_ERROR;
    return send_report(device, buffer);
}

}  // namespace vantix::protocol
