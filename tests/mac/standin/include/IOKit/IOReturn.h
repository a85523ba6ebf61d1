// SPDX-License-Identifier: Apache-2.0
// Stand-in: IOKit result codes.
#pragma once

#include <stdint.h>

typedef int32_t kern_return_t;
typedef kern_return_t IOReturn;

#define kIOReturnSuccess 0
#define kIOReturnError ((IOReturn)0xe00002bc)
#define kIOReturnNoMemory ((IOReturn)0xe00002bd)
#define kIOReturnBadArgument ((IOReturn)0xe00002c2)
#define kIOReturnExclusiveAccess ((IOReturn)0xe00002c5)
#define kIOReturnNotOpen ((IOReturn)0xe00002cd)
#define kIOReturnNotPermitted ((IOReturn)0xe00002e2)
#define kIOReturnNotAttached ((IOReturn)0xe00002d9)
