// SPDX-License-Identifier: Apache-2.0
// Lines of a given width: one walk, two ways of writing what it visits.
#include <algorithm>
#include <cmath>

#include "graphics/line_plan.hpp"

namespace vantix::graphics {
namespace {

// Widths beyond this behave like it. It keeps the error terms far from the
// 64-bit range; no bitmap is wide enough for the difference to show.
constexpr float max_width = 16777216.0f;
// The solid variant keeps only pixels at least this well covered.
constexpr float solid_threshold = 0.9f;
// Beyond every reach (at most max_width times a length below 2^33).
constexpr int64_t max_error = int64_t{1} << 62;

__extension__ typedef __int128 wide;

void thick_line(vantix_bitmap *bmp, int64_t x0, int64_t y0, int64_t x1, int64_t y1, float width,
                vantix_gcolor color, bool solid) {
    if (std::isnan(width))
        return;
    width = std::min(width, max_width);
    const line_terms t = make_line_terms(x0, y0, x1, y1);
    const float ed = t.dx + t.dy == 0 ? 1.0f : line_length(t);
    const float w = (width + 1.0f) / 2.0f;
    const float reach = w * ed;
    // Perpendicular runs leave the segment's box by at most ~1.42 w pixels.
    const auto margin = static_cast<int64_t>(std::ceil(std::max(w, 0.0f) * 1.5f)) + 2;
    if (misses_bitmap(bmp, x0, y0, x1, y1, margin))
        return;

    // Coverage from the error term, clamped to 0..1 so that widths too small
    // to cover even the main pixel give alpha 0 instead of a wrapped value.
    auto coverage = [&](int64_t e) {
        const float d = std::fabs(static_cast<float>(e)) / ed;
        float excess = d - w;
        excess = excess + 1.0f;
        return excess < 0.0f ? 1.0f : std::max(1.0f - excess, 0.0f);
    };
    // A run that starts before the bitmap (as on a line from far off it)
    // moves on pass by pass writing nothing until its next pixel is on the
    // bitmap: take those passes at once, from a non-negative e so that the
    // coverage only falls on the way. False when the run ends within them.
    auto skip_to_bitmap = [&](int64_t &e, int64_t grow, int64_t &at, int64_t step, int64_t stop, bool beyond,
                              int64_t passes) {
        const wide last = wide{e} + wide{grow} * (passes - 1);
        if (last > max_error || static_cast<float>(static_cast<int64_t>(last)) >= reach ||
            (solid && coverage(static_cast<int64_t>(last)) < solid_threshold))
            return false;
        if (!beyond && (step > 0 ? stop >= at && stop < at + passes : stop <= at && stop > at - passes))
            return false;
        e = static_cast<int64_t>(last + grow);
        at += step * passes;
        return true;
    };
    auto write = [&](int64_t x, int64_t y, float c) {
        if (solid)
            plot(bmp, x, y, color);
        else
            plot(bmp, x, y, with_alpha(color, static_cast<uint32_t>(255.0f * c)));
    };
    // A run from `from` towards `stop`, in steps of `step`, its error term
    // starting at e and growing by `grow` per pass; `beyond` lets it run past
    // `stop` (the line's major axis). The run only moves away from its start:
    // once its next pixel has left the bitmap (`size` along the run,
    // `on_bitmap` across it) nothing more can be written, so it ends there.
    // A solid run retries a pixel covered too little with a larger error
    // term; once that is positive the coverage only falls, so it ends.
    auto run = [&](int64_t e, int64_t grow, int64_t from, int64_t step, int64_t stop, bool beyond,
                   bool on_bitmap, int64_t size, auto &&write_at) {
        if (!on_bitmap)
            return;
        for (int64_t at = from; static_cast<float>(e) < reach && (at != stop || beyond);) {
            const int64_t before = step > 0 ? -at - 1 : at - size;  // passes until the bitmap
            if (e >= 0 && before > 0) {
                if (!skip_to_bitmap(e, grow, at, step, stop, beyond, before))
                    return;
                continue;
            }
            const int64_t next = at + step;
            if (step > 0 ? next >= size : next < 0)
                return;
            const float c = coverage(e);
            if (!solid || c >= solid_threshold) {
                at = next;
                write_at(at, c);
            } else if (e >= 0) {
                return;
            }
            e += grow;
        }
    };

    walk(line_plan(*bmp, x0, y0, t, step_rule::blended, margin, true), [&](walk_state &s) {
        const float main = coverage(s.err - t.dx + t.dy);
        if (!solid || main >= solid_threshold)
            write(s.x, s.y, main);
        const int64_t e2 = s.err;
        const int64_t x2 = s.x;
        if (2 * e2 >= -t.dx) {
            run(e2 + t.dy, t.dx, s.y, t.sy, y1, t.dx > t.dy, s.x >= 0 && s.x < bmp->width, bmp->height,
                [&](int64_t y, float c) { write(s.x, y, c); });
            if (s.x == x1)
                return false;
            s.err -= t.dy;
            s.x += t.sx;
        }
        if (2 * e2 <= t.dy) {
            run(t.dx - e2, t.dy, x2, t.sx, x1, t.dx < t.dy, s.y >= 0 && s.y < bmp->height, bmp->width,
                [&](int64_t x, float c) { write(x, s.y, c); });
            if (s.y == y1)
                return false;
            s.err += t.dx;
            s.y += t.sy;
        }
        return true;
    });
}

}  // namespace
}  // namespace vantix::graphics

extern "C" {

void vantix_draw_thick_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1, float width,
                            vantix_gcolor color) {
    vantix::graphics::thick_line(bmp, x0, y0, x1, y1, width, color, true);
}

void vantix_draw_thick_aa_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                               float width, vantix_gcolor color) {
    vantix::graphics::thick_line(bmp, x0, y0, x1, y1, width, color, false);
}

}  // extern "C"
