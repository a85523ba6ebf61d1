// SPDX-License-Identifier: Apache-2.0
// Process-wide hooks of the Linux platform.
#include "debug/log.hpp"
#include "platform/platform_hooks.hpp"

namespace vantix::platform {

void os_init() {
    // Logged under the name it has always had in the log.
    ::vantix::debug::call_trace trace("vantix_os_init", __FILE__, __LINE__);
}

// Linux has no further drivers of its own; applications add theirs.
void load_additional_drivers() {}

void os_destroy() {}

}  // namespace vantix::platform
