// SPDX-License-Identifier: Apache-2.0
// Hooks every platform driver's source provides to the library core.
#pragma once

#include "vantix-zelnar.h"

extern "C" {

// Prepare and release process-wide platform resources; called only by
// vantix_init and vantix_destroy.
void vantix_os_init(void);
void vantix_os_destroy(void);
// Registers further drivers the platform offers (none on Linux).
void vantix_load_additional_drivers(void);
}
