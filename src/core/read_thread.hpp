// SPDX-License-Identifier: Apache-2.0
// The per-pad read thread, shared by every driver.
#pragma once

#include "vantix-zelnar.h"

namespace vantix {

// Stops the pad's read thread before its pad is released. From another
// thread it waits for the thread to end (at most one read period); from the
// read thread itself (a callback closing its own pad) it only lets the thread
// end after the current read, so nothing waits for itself.
void stop_read_thread(vantix_device *device);

// The pad's newest read thread, if it has one not yet ended (or joined).
bool newest_read_thread(vantix_device *device, pthread_t *thread);

// Waits until no read thread of `device` runs any more, so its record can be
// freed; the calling thread, when it is one of them, is not waited for.
void wait_read_thread_gone(vantix_device *device);

}  // namespace vantix
