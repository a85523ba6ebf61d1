// SPDX-License-Identifier: Apache-2.0
// The HID devices present now, as one HID manager sees them. Listing and
// open each take one and end the manager with it.
#pragma once

#include <optional>
#include <vector>

#include "platform/mac/cf_ref.hpp"
#include "platform/mac/mac_driver.hpp"

namespace vantix::mac {

class device_set {
public:
    // Creates a manager matching every HID device and copies its devices;
    // nothing (the failure reported for `function`) without a manager.
    static std::optional<device_set> take(const char *function, const char *file, int line);
    ~device_set();
    device_set(device_set &&) = default;
    device_set &operator=(device_set &&) = delete;
    device_set(const device_set &) = delete;
    device_set &operator=(const device_set &) = delete;

    // Valid while the set lives.
    const std::vector<IOHIDDeviceRef> &devices() const { return devices_; }

private:
    explicit device_set(cf_ref<IOHIDManagerRef> manager) : manager_(std::move(manager)) {}

    cf_ref<IOHIDManagerRef> manager_;
    cf_ref<CFSetRef> set_;
    std::vector<IOHIDDeviceRef> devices_;
};

}  // namespace vantix::mac
