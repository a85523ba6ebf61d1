// SPDX-License-Identifier: Apache-2.0
// Terms shared by the error-term line walks.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "graphics/bitmap.hpp"

namespace vantix::graphics {

struct line_terms {
    int64_t dx, dy, sx, sy, err;
};

inline line_terms make_line_terms(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    const int64_t dx = std::llabs(x1 - x0);
    const int64_t dy = std::llabs(y1 - y0);
    return {dx, dy, x0 < x1 ? 1 : -1, y0 < y1 ? 1 : -1, dx - dy};
}

// Length of the line from single-precision squares (kept in separate
// statements so the squares are rounded before they are added).
inline float line_length(const line_terms &t) {
    const auto fx = static_cast<float>(t.dx);
    const auto fy = static_cast<float>(t.dy);
    const float sq_x = fx * fx;
    const float sq_y = fy * fy;
    const float sum = sq_x + sq_y;
    return std::sqrt(sum);
}

// True when no pixel within `margin` of the segment's bounding box lies in
// the bitmap, so the walk can be skipped without changing the picture.
inline bool misses_bitmap(const vantix_bitmap *bmp, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                          int64_t margin) {
    if (is_empty(bmp))
        return true;
    return std::max(x0, x1) < -margin || std::min(x0, x1) >= bmp->width + margin ||
           std::max(y0, y1) < -margin || std::min(y0, y1) >= bmp->height + margin;
}

}  // namespace vantix::graphics
