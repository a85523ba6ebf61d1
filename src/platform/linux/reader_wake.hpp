// SPDX-License-Identifier: Apache-2.0
// One eventfd per open pad, polled together with the pad's hidraw node: a
// close signals it so that a read waiting for input returns at once.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::linux_driver {

// Gives an opened pad its wake-up descriptor; false (with errno) when none
// could be made.
bool create_reader_wake(const vantix_device *device);
// Closes the pad's wake-up descriptor, if it has one.
void release_reader_wake(const vantix_device *device);
// The descriptor a read polls beside the node, or -1 when the pad has none.
int reader_wake_fd(const vantix_device *device);
// Signals the pad's descriptor: its read thread's wait ends at once, and
// every later one until the pad is opened again (the driver's reader waker).
void wake_reader(vantix_device *device);

}  // namespace vantix::linux_driver
