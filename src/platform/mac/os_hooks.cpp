// SPDX-License-Identifier: Apache-2.0
// Process-wide hooks of the macOS platform; built only for macOS, where
// this driver is the library's only one.
#include "core/platform_hooks.hpp"
#include "debug/log.hpp"

extern "C" {

void vantix_os_init(void) {}

void vantix_load_additional_drivers(void) {}

void vantix_os_destroy(void) {}

// Removal is handled by the driver's own callback; nothing more to do here.
void vantix_device_notify_close(vantix_device *) {
    ::vantix::debug::call_trace trace(__func__, __FILE__, __LINE__);
    trace.without_leave_record();
}

}  // extern "C"
