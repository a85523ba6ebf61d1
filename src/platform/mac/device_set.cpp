// SPDX-License-Identifier: Apache-2.0
// One HID manager's view of the attached HID devices.
#include "platform/mac/device_set.hpp"

#include <cerrno>
#include <cstring>

#include "core/failure.hpp"

namespace vantix::mac {

std::optional<device_set> device_set::take(const char *function, const char *file, int line) {
    cf_ref<IOHIDManagerRef> manager(IOHIDManagerCreate(kCFAllocatorDefault, kIOHIDOptionsTypeNone));
    if (!manager) {
        const int error = errno;
        report_failure(function, file, line, "Problem initializing hid manager (%i): %s\n", error,
                       std::strerror(error));
        return std::nullopt;
    }
    // Every HID device: the driver filters them itself.
    IOHIDManagerSetDeviceMatching(manager.get(), nullptr);
    IOHIDManagerScheduleWithRunLoop(manager.get(), CFRunLoopGetCurrent(), kCFRunLoopDefaultMode);
    device_set taken(std::move(manager));
    taken.set_ = cf_ref<CFSetRef>(IOHIDManagerCopyDevices(taken.manager_.get()));
    if (!taken.set_)
        return taken;  // no HID device at all
    const CFIndex count = CFSetGetCount(taken.set_.get());
    if (count <= 0)
        return taken;
    std::vector<const void *> values(static_cast<size_t>(count));
    CFSetGetValues(taken.set_.get(), values.data());
    for (const void *value : values)
        taken.devices_.push_back(static_cast<IOHIDDeviceRef>(const_cast<void *>(value)));
    return taken;
}

device_set::~device_set() {
    set_.reset();
    // A device opened meanwhile stays open; it holds its own reference.
    if (manager_)
        IOHIDManagerClose(manager_.get(), kIOHIDOptionsTypeNone);
}

}  // namespace vantix::mac
