// SPDX-License-Identifier: Apache-2.0
// Scripted pen input for the virtual pad, so --sim runs finish unattended.
#pragma once

#include <utility>
#include <vector>

#include "vantix-zelnar.h"

namespace tool {

using pen_point = std::pair<int, int>;  // digitizer units

// The virtual pad's index from its path ("sim:<index>").
int sim_index(const vantix_device &device);

// A handwritten "J. Doe" with an underline, as the pen samples it: one
// vector of points per stroke, in the virtual pad's digitizer units,
// between the prompt and the signature line.
std::vector<std::vector<pen_point>> scripted_signature();

// The signature's first stroke (pen down, moves, pen up).
void play_stroke(int index);
// Every stroke of the signature, the pen lifted between them.
void play_signature(int index);

}  // namespace tool
