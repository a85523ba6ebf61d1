// SPDX-License-Identifier: Apache-2.0
// Process-wide hooks each platform's sources define; the top layer calls
// them when the library starts and stops.
#pragma once

namespace vantix::platform {

// Prepare and release process-wide platform resources; called only by
// vantix_init and vantix_destroy.
void os_init();
void os_destroy();
// Registers further drivers the platform offers (none on Linux or macOS).
void load_additional_drivers();

}  // namespace vantix::platform
