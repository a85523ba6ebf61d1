// SPDX-License-Identifier: Apache-2.0
// Lines with ends far off the bitmap: the walks start where a line comes
// near the bitmap and stop where it leaves, and write exactly the pixels
// the whole walk writes. Ends anywhere in the int32 range finish.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "graphics/canvas.hpp"
#include "graphics/unclipped_lines.hpp"

namespace {

using vantix::test::canvas;
namespace unclipped = vantix::test::unclipped;

constexpr vantix_gcolor ink = 0x204080FF;

struct segment {
    int32_t x0, y0, x1, y1;
};

// Each kind of line, drawn by the library and by the whole walk.
struct line_kind {
    const char *name;
    bool takes_width;
    void (*clipped)(vantix_bitmap *, const segment &, float);
    void (*whole)(vantix_bitmap *, const segment &, float);
};

const line_kind kinds[] = {
    {"line", false,
     [](vantix_bitmap *b, const segment &s, float) { vantix_draw_line(b, s.x0, s.y0, s.x1, s.y1, ink); },
     [](vantix_bitmap *b, const segment &s, float) { unclipped::line(b, s.x0, s.y0, s.x1, s.y1, ink); }},
    {"aa line", false,
     [](vantix_bitmap *b, const segment &s, float) { vantix_draw_aa_line(b, s.x0, s.y0, s.x1, s.y1, ink); },
     [](vantix_bitmap *b, const segment &s, float) { unclipped::aa_line(b, s.x0, s.y0, s.x1, s.y1, ink); }},
    {"thick line", true,
     [](vantix_bitmap *b, const segment &s, float w) {
         vantix_draw_thick_line(b, s.x0, s.y0, s.x1, s.y1, w, ink);
     },
     [](vantix_bitmap *b, const segment &s, float w) {
         unclipped::thick_line(b, s.x0, s.y0, s.x1, s.y1, w, ink, true);
     }},
    {"thick aa line", true,
     [](vantix_bitmap *b, const segment &s, float w) {
         vantix_draw_thick_aa_line(b, s.x0, s.y0, s.x1, s.y1, w, ink);
     },
     [](vantix_bitmap *b, const segment &s, float w) {
         unclipped::thick_line(b, s.x0, s.y0, s.x1, s.y1, w, ink, false);
     }},
};
const float widths[] = {1.0f, 2.5f, 6.0f, 40.0f};

std::string describe(const line_kind &kind, const segment &s, float width) {
    return std::string(kind.name) + " (" + std::to_string(s.x0) + ", " + std::to_string(s.y0) + ") - (" +
           std::to_string(s.x1) + ", " + std::to_string(s.y1) + ") width " + std::to_string(width);
}

// Draws `s` with `kind` on a 240 x 64 bitmap, the pixels of `expected`
// drawn by the whole walk (on the same or a shorter segment).
void expect_same_pixels(const line_kind &kind, const segment &s, const segment &expected, float width) {
    canvas clipped(240, 64), whole(240, 64);
    kind.clipped(&clipped.bmp, s, width);
    kind.whole(&whole.bmp, expected, width);
    EXPECT_EQ(clipped.pixels(), whole.pixels()) << describe(kind, s, width);
}

void expect_same_pixels_at_every_width(const segment &s, const segment &expected) {
    for (const line_kind &kind : kinds)
        for (float width : widths) {
            expect_same_pixels(kind, s, expected, width);
            if (!kind.takes_width)
                break;
        }
}

TEST(LineClipping, EveryOctantAndEveryWayAcrossDrawsWhatTheWholeWalkDraws) {
    std::vector<segment> lines = {
        {-5000, 32, 5000, 32},
        {5000, 10, -5000, 10},
        {120, -5000, 120, 5000},
        {7, 5000, 7, -5000},
        {-5000, -5000, 5000, 5000},
        {5000, -4900, -4900, 5000},
        {-4000, 30, 4000, 33},
        {4000, 63, -4000, 0},
        {100, -4000, 103, 4000},
        {239, 4000, 236, -4000},
        {-3000, -1000, 3000, 1000},
        {3000, -800, -2000, 900},
        {-1000, 70, 1000, 60},
        {-1000, -6, 1000, -3},
        {-45, 3, 10, 50},
        {250, 70, 245, 60},
        {0, 0, 0, 0},
        {239, 63, 239, 63},
        {-3, -3, -3, -3},
        {10, 10, 230, 50},
    };
    // Lines through random points near the bitmap, in random directions.
    std::mt19937 random(23);
    std::uniform_int_distribution<int32_t> far(-5000, 5000), near_x(-30, 270), near_y(-30, 94);
    for (int i = 0; i < 60; ++i) {
        const int32_t px = near_x(random), py = near_y(random), ax = far(random), ay = far(random);
        lines.push_back({ax, ay, 2 * px - ax, 2 * py - ay});
    }
    for (const segment &s : lines)
        expect_same_pixels_at_every_width(s, s);
}

// A segment through the bitmap's centre with direction (p, q), scaled by a
// power of two: the walk of the long one, where it crosses the bitmap,
// steps and shades exactly as the walk of the short one (its error terms
// and lengths scale by the same power of two, in integers and in floats).
// Whole-number lengths keep the anti-aliased line's integer length exact.
TEST(LineClipping, EndsNearTheInt32LimitsDrawWhatAShortWholeWalkDraws) {
    constexpr int32_t far_scale = 1 << 27, near_scale = 1 << 9, cx = 120, cy = 32;
    const struct {
        int32_t p, q;
    } directions[] = {{3, 4}, {4, -3}, {-12, 5}, {-5, -12}, {1, 0}, {0, -1}, {12, 5}, {-4, 3}};
    for (const auto &d : directions) {
        const segment huge{cx - far_scale * d.p, cy - far_scale * d.q, cx + far_scale * d.p,
                           cy + far_scale * d.q};
        const segment small{cx - near_scale * d.p, cy - near_scale * d.q, cx + near_scale * d.p,
                            cy + near_scale * d.q};
        expect_same_pixels_at_every_width(huge, small);
    }
}

TEST(LineClipping, EndsAtTheInt32LimitsFinish) {
    const segment lines[] = {
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
        {INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX},
        {INT32_MIN, 0, INT32_MAX, 63},
        {INT32_MIN, 30, INT32_MAX, 31},
        {0, INT32_MIN, 239, INT32_MAX},
        {INT32_MAX, INT32_MAX, INT32_MIN, 20},
        {INT32_MIN, 32, INT32_MAX, 32},
        {100, INT32_MAX, 100, INT32_MIN},
    };
    for (const segment &s : lines)
        for (const line_kind &kind : kinds) {
            canvas c(240, 64);
            kind.clipped(&c.bmp, s, 1000.0f);
            kind.clipped(&c.bmp, s, 3.0f);
        }
    // The diagonal through the origin: exactly the pixels (i, i).
    canvas diagonal(240, 64);
    vantix_draw_line(&diagonal.bmp, INT32_MIN + 1, INT32_MIN + 1, INT32_MAX, INT32_MAX, ink);
    std::set<canvas::point> expected;
    for (int i = 0; i < 64; ++i)
        expected.insert({i, i});
    EXPECT_EQ(diagonal.inked(), expected);
}

}  // namespace
