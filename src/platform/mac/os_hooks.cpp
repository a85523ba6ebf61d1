// SPDX-License-Identifier: Apache-2.0
// Process-wide hooks of the macOS platform; built only for macOS, where
// this driver is the library's only one.
#include "debug/log.hpp"
#include "platform/platform_hooks.hpp"

namespace vantix::platform {

void os_init() {}

void load_additional_drivers() {}

void os_destroy() {}

}  // namespace vantix::platform

extern "C" {

// Removal is handled by the driver's own callback; nothing more to do here.
void vantix_device_notify_close(vantix_device *) {
    ::vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    trace.without_leave_record();
}

}  // extern "C"
