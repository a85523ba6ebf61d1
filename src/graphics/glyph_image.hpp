// SPDX-License-Identifier: Apache-2.0
// Glyph images in row order, shared by the fixed and the enhanced fonts, and
// the placement of a line of text in a box.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/bitmap.hpp"

namespace vantix::graphics {

// Draws a width x height glyph image at (x, y). Bit depth 1: one continuous
// bit stream, most significant bit first, a set bit is ink in `color`. Other
// depths: one paper-intensity byte per pixel, v < 255 drawn with alpha
// 255 - v. Pixels whose data would lie at or past `image_len` bytes are
// blank, so a glyph never reads beyond its image.
void draw_glyph_image(vantix_bitmap *bmp, const unsigned char *image, size_t image_len, int64_t width,
                      int64_t height, int32_t bit_depth, int64_t x, int64_t y, vantix_gcolor color);

// Start of a run of `extent` pixels placed in [lo, hi] (lo <= hi) by
// alignment; values other than MIDDLE and END act as BEGIN.
int64_t align_start(int64_t lo, int64_t hi, int64_t extent, int alignment);

}  // namespace vantix::graphics
