// SPDX-License-Identifier: Apache-2.0
// Waking a pad's reader when the pad closes. A driver whose reads can be
// ended at once registers a waker for its table; closing a pad that a read
// thread reads then wakes that thread through it instead of waiting out the
// driver's read period.
#pragma once

#include "vantix-zelnar.h"

namespace vantix {

// Ends a wait for input on `device` at once, and every later one until the
// pad is opened again.
using reader_waker = void (*)(vantix_device *device);

// Registers `wake` for the pads of `driver`, replacing an earlier one.
// Drivers register from a static initialiser, so their pads can be woken
// whether or not their table was ever started. Returns true.
bool set_reader_waker(const vantix_device_driver *driver, reader_waker wake);

// Wakes `device`'s reader through its driver's waker; nothing for a pad of a
// driver without one, whose reads end after their own period.
void wake_reader(vantix_device *device);

}  // namespace vantix
