// SPDX-License-Identifier: Apache-2.0
// The IOKit HID manager: a view of every attached HID device.
#include <cerrno>

#include "cf_types.hpp"
#include "hid_device.hpp"
#include "standin.hpp"

namespace standin {
namespace {

struct hid_manager : object {
    hid_manager() : object(kind::hid_manager) {}
    std::atomic<bool> matching{false};
    std::atomic<bool> scheduled{false};
};

std::atomic<bool> manager_fails{false};

hid_manager *manager_of(const void *ref) {
    object *o = find(ref);
    return o && o->type == kind::hid_manager ? static_cast<hid_manager *>(o) : nullptr;
}

}  // namespace

void fail_manager_create(bool fail) { manager_fails = fail; }

}  // namespace standin

extern "C" {

IOHIDManagerRef IOHIDManagerCreate(CFAllocatorRef, IOOptionBits) {
    if (standin::manager_fails.load()) {
        errno = ENOMEM;
        return nullptr;
    }
    return reinterpret_cast<IOHIDManagerRef>(standin::track(new standin::hid_manager));
}

void IOHIDManagerSetDeviceMatching(IOHIDManagerRef ref, CFDictionaryRef) {
    if (auto *m = standin::manager_of(ref))
        m->matching = true;
}

void IOHIDManagerScheduleWithRunLoop(IOHIDManagerRef ref, CFRunLoopRef, CFStringRef) {
    if (auto *m = standin::manager_of(ref))
        m->scheduled = true;
}

// Null without matching and scheduling, or without any device.
CFSetRef IOHIDManagerCopyDevices(IOHIDManagerRef ref) {
    auto *m = standin::manager_of(ref);
    if (!m || !m->matching || !m->scheduled)
        return nullptr;
    std::vector<CFTypeRef> values;
    const std::vector<standin::hid_device *> present = standin::attached_devices();
    for (standin::hid_device *d : present)
        values.push_back(d);
    CFSetRef set =
        values.empty() ? nullptr : reinterpret_cast<CFSetRef>(standin::track(new standin::cf_set(values)));
    for (standin::hid_device *d : present)
        standin::unhold(d);
    return set;
}

IOReturn IOHIDManagerClose(IOHIDManagerRef ref, IOOptionBits) {
    return standin::manager_of(ref) ? kIOReturnSuccess : kIOReturnBadArgument;
}

}  // extern "C"
