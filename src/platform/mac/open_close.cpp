// SPDX-License-Identifier: Apache-2.0
// Opening a listed pad through IOKit, learning its report IDs, and closing
// it again.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/device_flags.hpp"
#include "core/failure.hpp"
#include "debug/log.hpp"
#include "platform/hid/report_map.hpp"
#include "platform/mac/device_set.hpp"
#include "platform/mac/pad_state.hpp"

namespace vantix::mac {
namespace {

// The longest descriptor a HID device can have; a longer property is cut.
constexpr size_t max_descriptor_size = 4096;

vantix_error_code fill_hid_report_map(vantix_device *device, IOHIDDeviceRef hid) {
    const auto descriptor = byte_property(hid, kIOHIDReportDescriptorKey, max_descriptor_size);
    if (!descriptor) {
        const int error = errno;
        VANTIX_FAIL("Problem getting hid descriptor (errno: %u): %s\n", static_cast<unsigned>(error),
                    std::strerror(error));
        return VANTIX_CODE_ERROR;
    }
    parse_hid_descriptor(descriptor->data(), static_cast<unsigned int>(descriptor->size()),
                         device->parameters.hid_report_map);
    return VANTIX_CODE_SUCCESS;
}

cf_ref<CFStringRef> private_mode(IOHIDDeviceRef hid) {
    char name[64];
    std::snprintf(name, sizeof name, "vantix-zelnar.pad.%p", static_cast<void *>(hid));
    return cf_ref<CFStringRef>(CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingASCII));
}

vantix_error_code adopt_opened(vantix_device *device, IOHIDDeviceRef hid) {
    auto pad = std::make_shared<pad_state>(device, cf_ref<IOHIDDeviceRef>::retain(hid), private_mode(hid));
    if (fill_hid_report_map(device, hid) != VANTIX_CODE_SUCCESS) {
        // Without a descriptor nothing tells which IDs the pad takes; let
        // the pad refuse what it does not know.
        std::memset(device->parameters.hid_report_map, 1, vantix::platform::report_map_size);
    }
    device->parameters.interrupted = 0;
    device->parameters.readUntilDoneThread = pthread_t{};
    IOHIDDeviceRegisterInputReportCallback(hid, pad->input_buffer, input_buffer_size, on_input, pad.get());
    IOHIDDeviceRegisterRemovalCallback(hid, on_removal, pad.get());
    adopt_pad(device, std::move(pad));
    return VANTIX_CODE_SUCCESS;
}

}  // namespace

vantix_error_code open_device(vantix_device *device) {
    VANTIX_TRACE_CALL();
    // A record whose HID device is open already keeps it: a second IOKit
    // open would leave one that no close ends. Its reads wait again, should
    // a close that is still on its way have woken them.
    if (std::shared_ptr<pad_state> kept = device ? pad_of(device) : nullptr) {
        std::lock_guard lock(kept->lock);
        kept->woken = false;
        return VANTIX_CODE_SUCCESS;
    }
    const char *path = device && device->path ? device->path : "";
    std::optional<device_set> present = device_set::take(__func__, __FILE__, __LINE__);
    if (!present)
        return VANTIX_CODE_ERROR;
    for (IOHIDDeviceRef hid : present->devices()) {
        if (!device || device_path(hid) != path)
            continue;
        const IOReturn result = IOHIDDeviceOpen(hid, kIOHIDOptionsTypeNone);
        if (result != kIOReturnSuccess) {
            VANTIX_LOG_WARNING("Problem opening device: %i", result);
            VANTIX_FAIL("Problem opening device (permissions issue?): %i\n", result);
            return VANTIX_CODE_ERROR;
        }
        return adopt_opened(device, hid);
    }
    VANTIX_LOG_WARNING("Unable to find device with path: %s", path);
    VANTIX_FAIL("Unable to find device with path: %s\n", path);
    return VANTIX_CODE_ERROR;
}

vantix_error_code close_device(vantix_device *device) {
    VANTIX_TRACE_CALL();
    // Opened again (from another thread) before this close came through:
    // that open kept the HID device, so it stays.
    if (device && is_open(device))
        return VANTIX_CODE_SUCCESS;
    std::shared_ptr<pad_state> pad = take_pad(device);
    if (!pad)
        return VANTIX_CODE_SUCCESS;
    IOHIDDeviceRef hid = pad->hid.get();
    wake(*pad);  // a read waiting on another thread returns at once
    {
        std::lock_guard lock(pad->lock);
        // No callback may reach the pad's state once it is closed; a read in
        // progress keeps the state itself alive until it returns.
        IOHIDDeviceRegisterInputReportCallback(hid, pad->input_buffer, input_buffer_size, nullptr, nullptr);
        IOHIDDeviceRegisterRemovalCallback(hid, nullptr, nullptr);
        if (pad->scheduled_on)
            IOHIDDeviceUnscheduleFromRunLoop(hid, pad->scheduled_on.get(), pad->mode.get());
        pad->scheduled_on.reset();
        pad->queue.clear();
    }
    // A vanished device cannot be closed; its reference is still released.
    if (!pad->unplugged.load())
        IOHIDDeviceClose(hid, kIOHIDOptionsTypeNone);
    return VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::mac
