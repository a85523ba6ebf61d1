// SPDX-License-Identifier: Apache-2.0
// The line walks as they were before clipping: every step from end to end.
// The clipped walks must write exactly what these write.
#pragma once

#include <algorithm>
#include <cmath>

#include "graphics/line_walk.hpp"

namespace vantix::test::unclipped {

using namespace vantix::graphics;

inline void line(vantix_bitmap *bmp, int32_t x0_, int32_t y0_, int32_t x1, int32_t y1, vantix_gcolor color) {
    int64_t x0 = x0_, y0 = y0_;
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

inline void aa_line(vantix_bitmap *bmp, int32_t x0_, int32_t y0_, int32_t x1, int32_t y1,
                    vantix_gcolor color) {
    int64_t x0 = x0_, y0 = y0_;
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

inline void thick_line(vantix_bitmap *bmp, int64_t x0, int64_t y0, int64_t x1, int64_t y1, float width,
                       vantix_gcolor color, bool solid) {
    if (std::isnan(width))
        return;
    width = std::min(width, 16777216.0f);
    line_terms t = make_line_terms(x0, y0, x1, y1);
    const float ed = t.dx + t.dy == 0 ? 1.0f : line_length(t);
    const float w = (width + 1.0f) / 2.0f;
    const float reach = w * ed;

    // Coverage from the error term, clamped to 0..1 so that widths too small
    // to cover even the main pixel give alpha 0 instead of a wrapped value.
    auto coverage = [&](int64_t e) {
        const float d = std::fabs(static_cast<float>(e)) / ed;
        float excess = d - w;
        excess = excess + 1.0f;
        return excess < 0.0f ? 1.0f : std::max(1.0f - excess, 0.0f);
    };
    auto write = [&](int64_t x, int64_t y, float c) {
        if (solid)
            plot(bmp, x, y, color);
        else
            plot(bmp, x, y, with_alpha(color, static_cast<uint32_t>(255.0f * c)));
    };
    // A perpendicular run from `from` towards `stop`, in steps of `step`, its
    // error term starting at e and growing by `grow` per pass; `beyond`
    // lets it run past `stop` (the line's major axis). The run only moves
    // away from its start: once its next pixel has left the bitmap
    // (`size` along the run, `on_bitmap` across it) nothing more can be
    // written, so it ends there.
    auto run = [&](int64_t e, int64_t grow, int64_t from, int64_t step, int64_t stop, bool beyond,
                   bool on_bitmap, int64_t size, auto &&write_at) {
        for (int64_t at = from; static_cast<float>(e) < reach && (at != stop || beyond); e += grow) {
            const int64_t next = at + step;
            if (!on_bitmap || (step > 0 ? next >= size : next < 0))
                return;
            const float c = coverage(e);
            if (solid && c < 0.9f)
                continue;
            at = next;
            write_at(at, c);
        }
    };

    for (;;) {
        const float main = coverage(t.err - t.dx + t.dy);
        if (!solid || main >= 0.9f)
            write(x0, y0, main);
        const int64_t e2 = t.err;
        const int64_t x2 = x0;
        if (2 * e2 >= -t.dx) {
            run(e2 + t.dy, t.dx, y0, t.sy, y1, t.dx > t.dy, x0 >= 0 && x0 < bmp->width, bmp->height,
                [&](int64_t y, float c) { write(x0, y, c); });
            if (x0 == x1)
                return;
            t.err -= t.dy;
            x0 += t.sx;
        }
        if (2 * e2 <= t.dy) {
            run(t.dx - e2, t.dy, x2, t.sx, x1, t.dx < t.dy, y0 >= 0 && y0 < bmp->height, bmp->width,
                [&](int64_t x, float c) { write(x, y0, c); });
            if (y0 == y1)
                return;
            t.err += t.dx;
            y0 += t.sy;
        }
    }
}

}  // namespace vantix::test::unclipped
