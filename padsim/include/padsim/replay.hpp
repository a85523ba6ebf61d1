// SPDX-License-Identifier: Apache-2.0
// A recorded pad as a virtual pad: the model takes the recording's
// identity, display and digitizer, every feature report answers as
// recorded (the latest answer for its ID) until the host sets it, and the
// recorded input plays each time the pad is opened.
#pragma once

#include <cstddef>
#include <memory>

#include "padsim/pad.hpp"
#include "padsim/recording.hpp"

namespace padsim {

enum class pacing { recorded, fast };

// The model of the recorded pad: what the listing said, the recorded
// descriptor, and the display and digitizer geometry of its answers where
// they are within what a model can be (else the defaults stay).
model replay_model(const recording &r);

std::shared_ptr<pad> make_replay_pad(const recording &r, pacing p);

// Adds the recorded pad to the "SIM" driver's pads; listed as "sim:<index>".
std::size_t add_replay(const recording &r, pacing p);

}  // namespace padsim
