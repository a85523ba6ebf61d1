// SPDX-License-Identifier: Apache-2.0
// Recorded input played into a pad's queue: at the recorded pace on a
// thread of its own, or all at once.
#pragma once

#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "padsim/recording.hpp"
#include "wire.hpp"

namespace padsim {

class playback {
public:
    using sink = std::function<void(wire::bytes)>;

    playback() = default;
    playback(const playback &) = delete;
    playback &operator=(const playback &) = delete;
    ~playback() { stop(); }

    void load(std::vector<recorded_input> reports, bool paced);
    bool armed() const;
    // Plays from the start, stopping a playing that still runs. `push` is
    // called without any lock of this object held.
    void start(sink push);
    void stop();

private:
    void play(std::stop_token stop, const sink &push) const;

    mutable std::mutex mutex_;
    std::vector<recorded_input> reports_;
    bool paced_ = false;
    std::jthread player_;
};

}  // namespace padsim
