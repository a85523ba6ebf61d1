// SPDX-License-Identifier: Apache-2.0
// The process-wide hotplug callback list is written by the application and
// read by the driver's hotplug thread, which runs from vantix_init on. This
// lock keeps the two apart; the list pointer accessors stay as they are for
// drivers that bring their own.
#pragma once

#include <mutex>
#include <vector>

#include "vantix-zelnar.h"

namespace vantix {

std::mutex &hotplug_callbacks_lock();

// The registered callbacks, copied under the lock so that they can be called
// without it: a callback may register, unregister or stop the library.
std::vector<vantix_hotplug_callback> hotplug_callbacks_snapshot();

// Creates the list, if there is none, when a driver starts its hotplug
// thread.
void ensure_hotplug_callbacks();

// Frees the list when a driver's hotplug thread has ended (joined, or let
// go: a detached thread still running a callback works from its snapshot).
void release_hotplug_callbacks();

}  // namespace vantix
