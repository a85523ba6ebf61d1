// SPDX-License-Identifier: Apache-2.0
// Owning handles for libudev objects.
#pragma once

#include <libudev.h>

#include <memory>

namespace vantix::linux_udev {

template <auto Unref>
struct unref_with {
    template <typename T>
    void operator()(T *object) const {
        Unref(object);
    }
};

using context = std::unique_ptr<udev, unref_with<udev_unref>>;
using enumerate = std::unique_ptr<udev_enumerate, unref_with<udev_enumerate_unref>>;
using device = std::unique_ptr<udev_device, unref_with<udev_device_unref>>;
using monitor = std::unique_ptr<udev_monitor, unref_with<udev_monitor_unref>>;

}  // namespace vantix::linux_udev
