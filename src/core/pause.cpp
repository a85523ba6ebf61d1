// SPDX-License-Identifier: Apache-2.0
// Polling pauses: real sleeps unless a test replaced them.
#include "core/pause.hpp"

#include <unistd.h>

#include <atomic>

namespace vantix {
namespace {

std::atomic<pause_function> replacement{nullptr};

}  // namespace

void pause_ms(unsigned int milliseconds) {
    if (pause_function pause = replacement.load(std::memory_order_acquire))
        pause(milliseconds);
    else
        usleep(milliseconds * 1000);
}

void set_pause_function(pause_function pause) { replacement.store(pause, std::memory_order_release); }

}  // namespace vantix
