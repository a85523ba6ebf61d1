// SPDX-License-Identifier: Apache-2.0
// Waiting for a pad while the user may press Ctrl-C. SIGINT and SIGTERM are
// blocked in every thread (main blocks them before the library starts its
// threads), so a read in progress is never interrupted; the waiting thread
// takes them with sigtimedwait instead.
#pragma once

#include <cstddef>
#include <functional>

namespace CLI {
class App;
}

namespace tool {

void block_stop_signals();

enum class watch_end { done, interrupted, timed_out };

// Calls `tick` about ten times a second until `done` says so, a stop signal
// arrives, or `limit_seconds` have passed (zero: no limit).
watch_end watch(const std::function<bool()> &done, double limit_seconds,
                const std::function<void()> &tick = {});

// --timeout and --count of the commands that watch a stream of events.
struct watch_limits {
    double timeout = 0;
    std::size_t count = 0;
};
void add_limit_options(CLI::App &command, watch_limits &limits, const char *events);

}  // namespace tool
