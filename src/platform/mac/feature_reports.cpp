// SPDX-License-Identifier: Apache-2.0
// Feature reports through IOKit, refused without a transfer when the pad
// does not declare the report ID.
#include <cerrno>
#include <cstring>

#include "core/failure.hpp"
#include "debug/log.hpp"
#include "platform/hid/report_map.hpp"
#include "platform/mac/pad_state.hpp"

namespace vantix::mac {
namespace {

// A control transfer carries at most this many bytes.
constexpr unsigned int max_feature_length = 0xFFFF;
// IOKit codes keep the error itself in their low bits.
constexpr IOReturn code_bits = 0x1FFF;

enum class direction { set, get };

IOReturn transfer(IOHIDDeviceRef hid, direction dir, unsigned char *buffer, unsigned int length) {
    if (!hid)
        return kIOReturnNotOpen;
    if (dir == direction::set)
        return IOHIDDeviceSetReport(hid, kIOHIDReportTypeFeature, buffer[0], buffer, length);
    CFIndex returned = length;  // what came back is not used: callers zero their buffers
    return IOHIDDeviceGetReport(hid, kIOHIDReportTypeFeature, buffer[0], buffer, &returned);
}

vantix_error_code feature_transfer(vantix_device *device, unsigned char *buffer, unsigned int length,
                                   direction dir, const char *function) {
    if (!vantix::platform::feature_request_allowed(device, buffer, length, max_feature_length, function,
                                                   __FILE__, __LINE__))
        return VANTIX_CODE_ERROR;
    const unsigned char id = buffer[0];
    const std::shared_ptr<pad_state> pad = pad_of(device);
    const IOReturn result = transfer(pad ? pad->hid.get() : nullptr, dir, buffer, length);
    if (result == kIOReturnSuccess)
        return VANTIX_CODE_SUCCESS;
    const int error = errno;
    if (dir == direction::set)
        report_failure(function, __FILE__, __LINE__,
                       "Problem setting hid report %hhu (IOReturn: %i, errno: %u): %s\n", id,
                       result & code_bits, static_cast<unsigned>(error), std::strerror(error));
    else
        report_failure(function, __FILE__, __LINE__,
                       "Problem getting hid report %hhu (IOReturn: %u, errno: %u): %s\n", id,
                       static_cast<unsigned>(result & code_bits), static_cast<unsigned>(error),
                       std::strerror(error));
    return VANTIX_CODE_ERROR;
}

}  // namespace

vantix_error_code set_feature_report(vantix_device *device, unsigned char *buffer, unsigned int length) {
    VANTIX_TRACE_CALL();
    return feature_transfer(device, buffer, length, direction::set, __func__);
}

vantix_error_code get_feature_report(vantix_device *device, unsigned char *buffer, unsigned int length) {
    VANTIX_TRACE_CALL();
    return feature_transfer(device, buffer, length, direction::get, __func__);
}

// Pads take no output reports; the entry exists for drivers that do.
vantix_error_code set_output_report(vantix_device *, unsigned char *, unsigned int) {
    VANTIX_TRACE_CALL();
    return VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::mac
