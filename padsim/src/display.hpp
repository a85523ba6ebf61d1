// SPDX-License-Identifier: Apache-2.0
// Display reports of the pad firmware: display chunks (103) written into the
// display memory exactly as packed, the display content byte (101), and
// what region and store writes show.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "padsim/region.hpp"
#include "padsim/screen.hpp"
#include "refusal.hpp"
#include "wire.hpp"

namespace padsim::display {

// Report 103: a rectangle at x, y (big-endian, like every field of this
// report) of width x height pixels at 1, 4, 8 or 24 bits, packed column by
// column. Pixels off the display are dropped; other depths, and rectangles
// whose pixels do not fit the payload, are refused.
outcome draw_chunk(screen &display, const wire::bytes &report);

// Report 101: content 0 blanks the display; other values leave it as it is.
void set_content(screen &display, std::uint8_t content);

// What the pad shows at power-on and after a factory restore of its store:
// a blank display with every in-use, visible button of `regions` that has a
// caption (not resources) painted as firmware paints it: a one-pixel frame
// on the button's border when it has one, and the caption centred inside,
// both in the button's foreground colour (black when that is transparent).
void show_buttons(screen &display, const std::vector<region> &regions);

// A region colour (red, green, blue, alpha as on the wire) as the display
// shows it, or `when_transparent` when its alpha is 0.
rgb colour_of(const std::array<std::uint8_t, 4> &rgba, rgb when_transparent);

// What an accepted store or region write changes on the display. Beyond the
// factory restore (show_buttons), the pad draws no region contents of its
// own: switching the active screen blanks the display, and a container
// written visible is painted with its background colour (white when that is
// transparent).
void show_store_change(screen &display, const std::vector<region> &regions, const wire::bytes &report);

}  // namespace padsim::display
