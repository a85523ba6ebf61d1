// SPDX-License-Identifier: Apache-2.0
// Pixel read-back of the pad firmware: report 104 places the read position,
// report 105 answers the display pixels from there.
#pragma once

#include "padsim/pad.hpp"
#include "padsim/screen.hpp"
#include "refusal.hpp"
#include "wire.hpp"

namespace padsim {

class pixel_reader {
public:
    // x in bytes 1-2 and y in bytes 3-4, little-endian (a host sending
    // only the low bytes reaches the first 256 rows and columns). A position
    // off the display is refused and the old one kept.
    outcome locate(const screen &display, const wire::bytes &report);
    // The position, the pixel count and a, r, g, b (a = 255) per pixel from
    // byte 7: the pixels in row order from the position on, through the
    // following rows, as many as the report holds (256) or the display has
    // left. Reading does not move the position.
    wire::bytes read(const screen &display) const;

private:
    point at_;
};

}  // namespace padsim
