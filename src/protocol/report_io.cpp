// SPDX-License-Identifier: Apache-2.0
// Feature report transfers shared by every report family.
#include "protocol/report_io.hpp"

#include <algorithm>

namespace vantix::protocol {
namespace {

bool wait_named(vantix_device *device, interlock_wait wait) {
    return (wait.polls == 0 && wait.flags == 0) || wait_for_interlock(device, wait.polls, wait.flags);
}

void log_failure(const transfer_rules &rules, call_site site) {
    if (rules.failure_text && debug::wanted(VANTIX_DEBUG_LEVEL_WARNING))
        vantix_debug_report_message(site.function, site.file, site.line, VANTIX_DEBUG_LEVEL_WARNING,
                                    rules.failure_text, vantix_get_last_error_internal());
}

}  // namespace

bool fetch_report(vantix_device *device, uint8_t id, std::span<unsigned char> buffer,
                  const transfer_rules &rules, call_site site) {
    std::fill(buffer.begin(), buffer.end(), 0);
    if (buffer.empty())
        return false;
    buffer[0] = id;
    if (!wait_named(device, rules.wait))
        return false;
    if (vantix_hid_get_feature_report(device, buffer.data(), static_cast<unsigned int>(buffer.size())) ==
        VANTIX_CODE_SUCCESS)
        return true;
    log_failure(rules, site);
    return false;
}

vantix_error_code send_report(vantix_device *device, std::span<unsigned char> buffer,
                              const transfer_rules &rules, call_site site) {
    if (!wait_named(device, rules.wait))
        return VANTIX_CODE_ERROR;
    if (rules.leave_before_transfer)
        rules.leave_before_transfer->leave_now();
    const vantix_error_code sent =
        vantix_hid_set_feature_report(device, buffer.data(), static_cast<unsigned int>(buffer.size()));
    if (sent != VANTIX_CODE_SUCCESS)
        log_failure(rules, site);
    if (rules.transport_code)
        return sent;
    return sent == VANTIX_CODE_SUCCESS ? VANTIX_CODE_SUCCESS : VANTIX_CODE_ERROR;
}

// Checked here rather than left to the transfer, so that a missing device
// is not first polled for its interlock a hundred times.
bool may_transfer(vantix_device *device, const void *record, const transfer_rules &rules, call_site site) {
    if (!rules.refuse_null)
        return record != nullptr;
    return have_record(record, site) && have_device(device, site);
}

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

vantix_error_code write_byte_report(vantix_device *device, report_shape shape, uint8_t value,
                                    const transfer_rules &rules, call_site site) {
    return write_report(
        device, &value, shape, [](uint8_t byte, report_view r) { r.put1(1, byte); }, rules, site);
}

int read_byte_report(vantix_device *device, report_shape shape, const transfer_rules &rules, call_site site) {
    uint8_t value = 0;
    if (!read_report(
            device, &value, shape, [](report_view r, uint8_t &byte) { byte = r.get1(1); }, rules, site))
        return -1;
    return value;
}

}  // namespace vantix::protocol
