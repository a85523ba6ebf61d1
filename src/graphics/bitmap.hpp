// SPDX-License-Identifier: Apache-2.0
// Pixel access shared by every drawing operation of the graphics module.
// Coordinates are 64-bit here so that shape walks and text layout can run
// past the 32-bit range without wrapping back into the picture.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "vantix-zelnar.h"

namespace vantix::graphics {

inline constexpr int32_t header_size = 54;
inline constexpr vantix_gcolor white = 0xFFFFFFFFu;

inline bool is_empty(const vantix_bitmap *bmp) {
    return !bmp || !bmp->raster || bmp->width <= 0 || bmp->height <= 0;
}

// Byte offset of pixel (x, y) in the raster, or -1 when the pixel lies
// outside the picture or its three bytes would lie outside the raster (the
// descriptor's fields are public, so they are not trusted to agree).
inline int64_t pixel_offset(const vantix_bitmap *bmp, int64_t x, int64_t y) {
    if (is_empty(bmp) || x < 0 || y < 0 || x >= bmp->width || y >= bmp->height)
        return -1;
    const int64_t offset = (int64_t{bmp->height} - 1 - y) * bmp->rowSize + 3 * x;
    return offset >= 0 && offset + 3 <= bmp->arraySize ? offset : -1;
}

// The pixel write every operation goes through: clipped, blended below
// alpha 255.
void plot(vantix_bitmap *bmp, int64_t x, int64_t y, vantix_gcolor color);

inline vantix_gcolor with_alpha(vantix_gcolor color, uint32_t alpha) {
    return (color & 0xFFFFFF00u) | (alpha & 0xFFu);
}

// The inclusive range [lo, hi] cut down to the indices 0 .. size - 1; the
// result is empty (lo > hi) when nothing of it lies inside.
struct span {
    int64_t lo;
    int64_t hi;
};
inline span clip(int64_t lo, int64_t hi, int64_t size) {
    return {std::max<int64_t>(lo, 0), std::min(hi, size - 1)};
}

// A rectangle given by two opposite corners, ordered so that x0 <= x1 and
// y0 <= y1.
struct box {
    int64_t x0, y0, x1, y1;
};
inline box ordered(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    return {x0, y0, x1, y1};
}

}  // namespace vantix::graphics
