// SPDX-License-Identifier: Apache-2.0
// Scripted pen input for the virtual pad, so --sim runs finish unattended.
#pragma once

#include "vantix-zelnar.h"

namespace tool {

// The virtual pad's index from its path ("sim:<index>").
int sim_index(const vantix_device &device);

// One stroke across the signing area (pen down, moves, pen up).
void play_stroke(int index);
// A short signature of three strokes, then a tap at display pixel (x, y).
void play_signature(int index, unsigned tap_x, unsigned tap_y);

}  // namespace tool
