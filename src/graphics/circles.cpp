// SPDX-License-Identifier: Apache-2.0
// Circles and ellipses, outlined and filled.
#include <cmath>

#include "graphics/bitmap.hpp"

using namespace vantix::graphics;

namespace {

// Ellipse outlines wider or taller than this draw nothing: beyond it the
// error terms of the walk no longer fit in 64 bits.
constexpr int64_t max_ellipse_extent = int64_t{1} << 19;

// Exact 64 x 64 -> 128-bit unsigned products, for the filled-ellipse test
// whose squared terms exceed 64 bits for large semi-axes.
struct u128 {
    uint64_t hi, lo;
};

u128 multiply(uint64_t a, uint64_t b) {
    const uint64_t a_lo = a & 0xFFFFFFFFu, a_hi = a >> 32;
    const uint64_t b_lo = b & 0xFFFFFFFFu, b_hi = b >> 32;
    const uint64_t p0 = a_lo * b_lo, p1 = a_lo * b_hi, p2 = a_hi * b_lo, p3 = a_hi * b_hi;
    const uint64_t mid = (p0 >> 32) + (p1 & 0xFFFFFFFFu) + (p2 & 0xFFFFFFFFu);
    return {p3 + (p1 >> 32) + (p2 >> 32) + (mid >> 32), (mid << 32) | (p0 & 0xFFFFFFFFu)};
}

bool not_above(u128 x, u128 y) { return x.hi < y.hi || (x.hi == y.hi && x.lo <= y.lo); }

// True when the whole bitmap lies well inside the circle, where no pixel of
// its outline can land (the outline stays within a pixel of radius r).
bool bitmap_inside_circle(const vantix_bitmap *bmp, int64_t xm, int64_t ym, int64_t r) {
    const double far_x = static_cast<double>(std::max(std::llabs(xm), std::llabs(bmp->width - 1 - xm)));
    const double far_y = static_cast<double>(std::max(std::llabs(ym), std::llabs(bmp->height - 1 - ym)));
    return std::hypot(far_x, far_y) < static_cast<double>(r) - 3.0;
}

}  // namespace

extern "C" {

void vantix_draw_circle(vantix_bitmap *bmp, int32_t xm, int32_t ym, int32_t r_, vantix_gcolor color) {
    const int64_t r = r_;
    if (is_empty(bmp) || r < 0)
        return;
    if (int64_t{xm} + r < 0 || int64_t{xm} - r >= bmp->width || int64_t{ym} + r < 0 ||
        int64_t{ym} - r >= bmp->height || bitmap_inside_circle(bmp, xm, ym, r))
        return;
    int64_t x = -r, y = 0, err = 2 - 2 * r;
    do {
        plot(bmp, xm - x, ym + y, color);
        plot(bmp, xm - y, ym - x, color);
        plot(bmp, xm + x, ym - y, color);
        plot(bmp, xm + y, ym + x, color);
        const int64_t before = err;
        if (before <= y) {
            ++y;
            err += 2 * y + 1;
        }
        if (before > x || err > y) {
            ++x;
            err += 2 * x + 1;
        }
    } while (x < 0);
}

void vantix_draw_ellipse(vantix_bitmap *bmp, int32_t x0_, int32_t y0_, int32_t x1_, int32_t y1_,
                         vantix_gcolor color) {
    int64_t x0 = x0_, y0 = y0_, x1 = x1_, y1 = y1_;
    if (is_empty(bmp))
        return;
    const int64_t a = std::llabs(x1 - x0), b = std::llabs(y1 - y0), b1 = b & 1;
    if (a > max_ellipse_extent || b > max_ellipse_extent)
        return;
    int64_t ex = 4 * (1 - a) * b * b, ey = 4 * (b1 + 1) * a * a, err = ex + ey + b1 * a * a;
    if (x0 > x1) {
        x0 = x1;
        x1 += a;
    }
    if (y0 > y1)
        y0 = y1;
    y0 += (b + 1) / 2;
    y1 = y0 - b1;
    const int64_t step_y = 8 * a * a, step_x = 8 * b * b;
    while (x0 <= x1) {
        plot(bmp, x1, y0, color);
        plot(bmp, x0, y0, color);
        plot(bmp, x0, y1, color);
        plot(bmp, x1, y1, color);
        const int64_t e2 = 2 * err;
        if (e2 <= ey) {
            ++y0;
            --y1;
            ey += step_y;
            err += ey;
        }
        if (e2 >= ex || 2 * err > ey) {
            ++x0;
            --x1;
            ex += step_x;
            err += ex;
        }
    }
    // The tips of flat ellipses.
    while (y0 - y1 < b) {
        plot(bmp, x0 - 1, y0, color);
        plot(bmp, x1 + 1, y0, color);
        ++y0;
        plot(bmp, x0 - 1, y1, color);
        plot(bmp, x1 + 1, y1, color);
        --y1;
    }
}

// Filled shapes test only the pixels of their enclosing box that lie in the
// bitmap; each is written at most once, so skipping the rest changes nothing.
void vantix_fill_circle(vantix_bitmap *bmp, int32_t x, int32_t y, int32_t r_, vantix_gcolor color) {
    const int64_t r = r_;
    if (is_empty(bmp) || r < 0)
        return;
    const span rows = clip(y - r, y + r, bmp->height);
    const span cols = clip(x - r, x + r, bmp->width);
    for (int64_t py = rows.lo; py <= rows.hi; ++py)
        for (int64_t px = cols.lo; px <= cols.hi; ++px) {
            const int64_t dx = px - x, dy = py - y;
            if (dx * dx + dy * dy <= r * r)
                plot(bmp, px, py, color);
        }
}

void vantix_fill_ellipse(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                         vantix_gcolor color) {
    if (is_empty(bmp))
        return;
    const box c = ordered(x0, y0, x1, y1);
    const auto a = static_cast<uint64_t>(c.x1 - c.x0), b = static_cast<uint64_t>(c.y1 - c.y0);
    const span rows = clip(c.y0 - static_cast<int64_t>(b), c.y0 + static_cast<int64_t>(b), bmp->height);
    const span cols = clip(c.x0 - static_cast<int64_t>(a), c.x0 + static_cast<int64_t>(a), bmp->width);
    // b^2 dx^2 + a^2 dy^2 <= a^2 b^2, rearranged so no sum can overflow:
    // (b |dx|)^2 <= a^2 (b^2 - dy^2).
    for (int64_t py = rows.lo; py <= rows.hi; ++py) {
        const auto dy = static_cast<uint64_t>(std::llabs(py - c.y0));
        const u128 limit = multiply(a * a, b * b - dy * dy);
        for (int64_t px = cols.lo; px <= cols.hi; ++px) {
            const uint64_t scaled = b * static_cast<uint64_t>(std::llabs(px - c.x0));
            if (not_above(multiply(scaled, scaled), limit))
                plot(bmp, px, py, color);
        }
    }
}

}  // extern "C"
