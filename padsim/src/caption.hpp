// SPDX-License-Identifier: Apache-2.0
// Text in the pad's own font: the library's block font (one-bit glyphs, a
// capital five pixels high), enlarged by whole pixels as pad firmware does,
// never smoothed.
#pragma once

#include <string>

#include "padsim/screen.hpp"

namespace padsim::caption {

// Draws `text` (bytes as code points U+0000 to U+00FF; a missing glyph shows
// as the font's box) centred in `box`, at the largest whole enlargement up
// to three that leaves a pixel free on each side, and never less than one.
// What does not fit is cut at the box.
void draw_centred(screen &display, const std::string &text, pixel_box box, rgb colour);

}  // namespace padsim::caption
