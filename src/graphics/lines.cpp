// SPDX-License-Identifier: Apache-2.0
// Solid and anti-aliased lines, one pixel wide.
#include "graphics/line_walk.hpp"

using namespace vantix::graphics;

extern "C" {

void vantix_draw_line(vantix_bitmap *bmp, int32_t x0_, int32_t y0_, int32_t x1, int32_t y1,
                      vantix_gcolor color) {
    int64_t x0 = x0_, y0 = y0_;
    if (misses_bitmap(bmp, x0, y0, x1, y1, 0))
        return;
    line_terms t = make_line_terms(x0, y0, x1, y1);
    for (;;) {
        plot(bmp, x0, y0, color);
        if (x0 == x1 && y0 == y1)
            return;
        const int64_t e2 = 2 * t.err;
        if (e2 >= -t.dy) {
            t.err -= t.dy;
            x0 += t.sx;
        }
        if (e2 <= t.dx) {
            t.err += t.dx;
            y0 += t.sy;
        }
    }
}

void vantix_draw_aa_line(vantix_bitmap *bmp, int32_t x0_, int32_t y0_, int32_t x1, int32_t y1,
                         vantix_gcolor color) {
    int64_t x0 = x0_, y0 = y0_;
    if (misses_bitmap(bmp, x0, y0, x1, y1, 1))
        return;
    line_terms t = make_line_terms(x0, y0, x1, y1);
    const int64_t ed = t.dx + t.dy == 0 ? 1 : static_cast<int64_t>(line_length(t));
    // Coverage of a pixel at error distance v, as alpha.
    auto shade = [&](int64_t v) { return with_alpha(color, static_cast<uint32_t>(255 - v * 255 / ed)); };
    for (;;) {
        plot(bmp, x0, y0, shade(std::llabs(t.err - t.dx + t.dy)));
        const int64_t e2 = t.err;
        const int64_t x2 = x0;
        if (2 * e2 >= -t.dx) {
            if (x0 == x1)
                return;
            if (e2 + t.dy < ed)
                plot(bmp, x0, y0 + t.sy, shade(e2 + t.dy));
            t.err -= t.dy;
            x0 += t.sx;
        }
        if (2 * e2 <= t.dy) {
            if (y0 == y1)
                return;
            if (t.dx - e2 < ed)
                plot(bmp, x2 + t.sx, y0, shade(t.dx - e2));
            t.err += t.dx;
            y0 += t.sy;
        }
    }
}

}  // extern "C"
