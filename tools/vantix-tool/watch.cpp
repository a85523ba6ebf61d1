// SPDX-License-Identifier: Apache-2.0
#include "watch.hpp"

#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <ctime>
#include <string>

namespace tool {
namespace {

sigset_t stop_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

void block_stop_signals() {
    const sigset_t set = stop_signals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

watch_end watch(const std::function<bool()> &done, double limit_seconds, const std::function<void()> &tick) {
    using clock = std::chrono::steady_clock;
    const sigset_t set = stop_signals();
    const auto start = clock::now();
    const auto limit = std::chrono::duration<double>(limit_seconds);
    const timespec pause{0, 100'000'000};
    for (;;) {
        if (tick)
            tick();
        if (done())
            return watch_end::done;
        if (limit_seconds > 0 && clock::now() - start >= limit)
            return watch_end::timed_out;
        if (sigtimedwait(&set, nullptr, &pause) > 0)
            return watch_end::interrupted;
    }
}

void add_limit_options(CLI::App &command, watch_limits &limits, const char *events) {
    command.add_option("--timeout", limits.timeout, "Stop after this many seconds")
        ->check(CLI::NonNegativeNumber);
    command.add_option("--count", limits.count, std::string("Stop after this many ") + events);
}

}  // namespace tool
