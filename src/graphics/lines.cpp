// SPDX-License-Identifier: Apache-2.0
// Solid and anti-aliased lines, one pixel wide.
#include "graphics/line_plan.hpp"

using namespace vantix::graphics;

extern "C" {

void vantix_draw_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                      vantix_gcolor color) {
    if (misses_bitmap(bmp, x0, y0, x1, y1, 0))
        return;
    const line_terms t = make_line_terms(x0, y0, x1, y1);
    walk(line_plan(*bmp, x0, y0, t, step_rule::plain, 0, false), [&](walk_state &s) {
        plot(bmp, s.x, s.y, color);
        if (s.x == x1 && s.y == y1)
            return false;
        const int64_t e2 = 2 * s.err;
        if (e2 >= -t.dy) {
            s.err -= t.dy;
            s.x += t.sx;
        }
        if (e2 <= t.dx) {
            s.err += t.dx;
            s.y += t.sy;
        }
        return true;
    });
}

void vantix_draw_aa_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                         vantix_gcolor color) {
    if (misses_bitmap(bmp, x0, y0, x1, y1, 1))
        return;
    const line_terms t = make_line_terms(x0, y0, x1, y1);
    const int64_t ed = t.dx + t.dy == 0 ? 1 : static_cast<int64_t>(line_length(t));
    // Coverage of a pixel at error distance v, as alpha.
    auto shade = [&](int64_t v) { return with_alpha(color, static_cast<uint32_t>(255 - v * 255 / ed)); };
    // Besides its main pixel a step writes one neighbour across the line.
    walk(line_plan(*bmp, x0, y0, t, step_rule::blended, 1, false), [&](walk_state &s) {
        plot(bmp, s.x, s.y, shade(std::llabs(s.err - t.dx + t.dy)));
        const int64_t e2 = s.err;
        const int64_t x2 = s.x;
        if (2 * e2 >= -t.dx) {
            if (s.x == x1)
                return false;
            if (e2 + t.dy < ed)
                plot(bmp, s.x, s.y + t.sy, shade(e2 + t.dy));
            s.err -= t.dy;
            s.x += t.sx;
        }
        if (2 * e2 <= t.dy) {
            if (s.y == y1)
                return false;
            if (t.dx - e2 < ed)
                plot(bmp, x2 + t.sx, s.y, shade(t.dx - e2));
            s.err += t.dx;
            s.y += t.sy;
        }
        return true;
    });
}

}  // extern "C"
