// SPDX-License-Identifier: Apache-2.0
// Process-wide hooks of the Linux platform.
#include "core/platform_hooks.hpp"
#include "debug/log.hpp"

extern "C" {

void vantix_os_init(void) { VANTIX_TRACE_CALL(); }

// Linux has no further drivers of its own; applications add theirs.
void vantix_load_additional_drivers(void) {}

void vantix_os_destroy(void) {}

}  // extern "C"
