// SPDX-License-Identifier: Apache-2.0
// Stylus tuning of second-generation pad firmware.
#include "stylus_tuning.hpp"

namespace padsim {

void stylus_tuning::start() {
    running_ = true;
    aborted_ = false;
    step_ = 0;
}

void stylus_tuning::abort() {
    if (!running_)
        return;
    running_ = false;
    aborted_ = true;
}

void stylus_tuning::pen(bool down) {
    // Even steps wait for the stylus to touch, odd ones for it to lift.
    if (!running_ || down != (step_ % 2 == 0))
        return;
    if (step_ + 1 < steps)
        ++step_;
    else
        running_ = false;
}

tuning_progress stylus_tuning::progress() const {
    return {running_, aborted_, step_, running_ ? std::uint8_t{0} : gain_};
}

std::uint8_t stylus_tuning::status() const {
    return static_cast<std::uint8_t>((running_ ? 0x01 : 0) | (aborted_ ? 0x02 : 0) | step_ << 2);
}

}  // namespace padsim
