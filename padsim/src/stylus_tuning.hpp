// SPDX-License-Identifier: Apache-2.0
// Stylus tuning of second-generation pad firmware: the pad measures its
// gain while the user puts the stylus down and lifts it at two locations.
#pragma once

#include <cstdint>

#include "padsim/settings.hpp"

namespace padsim {

class stylus_tuning {
public:
    explicit stylus_tuning(std::uint8_t gain) : gain_(gain) {}

    // Starts (or restarts) at the first step; the gain reads 0 until found.
    void start();
    // Stops a running tuning where it stands.
    void abort();
    // A pen sample: putting the stylus down or lifting it, as the step
    // waits for, moves to the next step; after the last the gain is found.
    void pen(bool down);

    tuning_progress progress() const;
    // The status byte: bit 0 running, bit 1 aborted, the step from bit 2.
    std::uint8_t status() const;

private:
    static constexpr std::uint8_t steps = 4;
    bool running_ = false, aborted_ = false;
    std::uint8_t step_ = 0;
    // What a tuning finds; the virtual sensor always measures the same.
    const std::uint8_t gain_;
};

}  // namespace padsim
