// SPDX-License-Identifier: Apache-2.0
// Rectangle outlines, bordered rectangles and filled rectangles.
#include "graphics/bitmap.hpp"

using namespace vantix::graphics;

namespace {

// The ordered corners and the columns and rows of the box inside the bitmap.
struct clipped_box {
    box b;
    span cols, rows;
};

clipped_box clip_box(const vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const box b = ordered(x0, y0, x1, y1);
    return {b, clip(b.x0, b.x1, bmp->width), clip(b.y0, b.y1, bmp->height)};
}

}  // namespace

extern "C" {

// Loops run over the clipped ranges only; pixels outside would be dropped
// anyway, and every pixel inside receives the same writes as in a full walk.
void vantix_draw_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                           vantix_gcolor color) {
    if (is_empty(bmp))
        return;
    const auto [b, cols, rows] = clip_box(bmp, x0, y0, x1, y1);
    for (int64_t x = cols.lo; x <= cols.hi; ++x) {
        plot(bmp, x, b.y0, color);
        plot(bmp, x, b.y1, color);
    }
    for (int64_t y = rows.lo; y <= rows.hi; ++y) {
        plot(bmp, b.x0, y, color);
        plot(bmp, b.x1, y, color);
    }
}

void vantix_draw_thick_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                 int32_t width, vantix_gcolor color) {
    if (is_empty(bmp) || width <= 0)
        return;
    const auto [b, cols, rows] = clip_box(bmp, x0, y0, x1, y1);
    // Band i of the top edge is row y0 + i, of the bottom edge row y1 - i (and
    // likewise for the sides). Each band is walked over the i that land inside
    // the bitmap; a pixel covered by several bands still gets one write per band.
    auto bands = [&](int64_t lo_edge, int64_t hi_edge, int64_t size, auto &&write) {
        const span from_lo = clip(-lo_edge, size - 1 - lo_edge, width);
        for (int64_t i = from_lo.lo; i <= from_lo.hi; ++i)
            write(lo_edge + i);
        const span from_hi = clip(hi_edge - size + 1, hi_edge, width);
        for (int64_t i = from_hi.lo; i <= from_hi.hi; ++i)
            write(hi_edge - i);
    };
    for (int64_t x = cols.lo; x <= cols.hi; ++x)
        bands(b.y0, b.y1, bmp->height, [&](int64_t y) { plot(bmp, x, y, color); });
    for (int64_t y = rows.lo; y <= rows.hi; ++y)
        bands(b.x0, b.x1, bmp->width, [&](int64_t x) { plot(bmp, x, y, color); });
}

void vantix_fill_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                           vantix_gcolor color) {
    if (is_empty(bmp))
        return;
    const auto [b, cols, rows] = clip_box(bmp, x0, y0, x1, y1);
    for (int64_t x = cols.lo; x <= cols.hi; ++x)
        for (int64_t y = rows.lo; y <= rows.hi; ++y)
            plot(bmp, x, y, color);
}

}  // extern "C"
