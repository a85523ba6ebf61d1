// SPDX-License-Identifier: Apache-2.0
// An unplug notice from the application: the platform hears of every open
// record of that path.
#include <cstring>

#include "debug/log.hpp"
#include "support/list_range.hpp"

extern "C" {

void vantix_handle_device_unplug(const char *path) {
    VANTIX_TRACE_CALL();
    if (!path)
        return;
    // Usually called from a hotplug callback, while application threads may
    // be opening or closing pads.
    vantix_lock_open_devices();
    for (vantix_device *device : vantix::list_range<vantix_device>(vantix_get_open_devices()))
        if (device && device->path && std::strcmp(device->path, path) == 0)
            vantix_device_notify_close(device);
    vantix_unlock_open_devices();
}

}  // extern "C"
