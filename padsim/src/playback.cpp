// SPDX-License-Identifier: Apache-2.0
#include "playback.hpp"

#include <chrono>
#include <condition_variable>

namespace padsim {

void playback::load(std::vector<recorded_input> reports, bool paced) {
    std::lock_guard lock(mutex_);
    reports_ = std::move(reports);
    paced_ = paced;
}

bool playback::armed() const {
    std::lock_guard lock(mutex_);
    return !reports_.empty();
}

void playback::start(sink push) {
    stop();
    std::vector<recorded_input> at_once;
    {
        std::lock_guard lock(mutex_);
        if (paced_ && !reports_.empty())
            player_ = std::jthread([this, push](std::stop_token stop) { play(stop, push); });
        else if (!paced_)
            at_once = reports_;
    }
    for (recorded_input &report : at_once)
        push(std::move(report.bytes));
}

void playback::stop() {
    std::jthread ending;
    {
        std::lock_guard lock(mutex_);
        ending = std::move(player_);
    }
    // Joined outside the lock: the player reads reports_ under none, and
    // nothing changes them while it runs (load comes before any open).
    if (ending.joinable()) {
        ending.request_stop();
        ending.join();
    }
}

void playback::play(std::stop_token stop, const sink &push) const {
    const auto begin = std::chrono::steady_clock::now();
    const std::uint64_t first = reports_.front().time_us;
    std::mutex waiting;
    std::condition_variable_any wake;
    std::unique_lock lock(waiting);
    for (const recorded_input &report : reports_) {
        const auto due = begin + std::chrono::microseconds(report.time_us - first);
        wake.wait_until(lock, stop, due, [] { return false; });
        if (stop.stop_requested())
            return;
        push(report.bytes);
    }
}

}  // namespace padsim
