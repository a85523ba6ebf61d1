// SPDX-License-Identifier: Apache-2.0
// Lines, circles, ellipses and rectangles: the pixels each walk sets.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "graphics/canvas.hpp"
#include "vantix-zelnar.h"

namespace {

constexpr vantix_gcolor white = 0xFFFFFFFF, black = 0x000000FF;
using point = std::pair<int, int>;
using points = std::set<point>;

using vantix::test::canvas;

// The pixel a black write at `alpha` leaves on white.
vantix_gcolor black_at(uint32_t alpha) { return vantix_color_blend(alpha, white); }

TEST(Lines, SolidLineSetsBothEndPointsAndTheBresenhamSteps) {
    canvas c(8, 4);
    vantix_draw_line(&c.bmp, 0, 0, 3, 1, black);
    EXPECT_EQ(c.inked(), (points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));

    canvas reverse(8, 4);
    vantix_draw_line(&reverse.bmp, 3, 1, 0, 0, black);
    EXPECT_EQ(reverse.inked().size(), 4u);

    canvas dot(3, 3);
    vantix_draw_line(&dot.bmp, 1, 1, 1, 1, black);
    EXPECT_EQ(dot.inked(), (points{{1, 1}}));
}

TEST(Lines, AntiAliasedLineShadesItsNeighboursByCoverage) {
    canvas dot(3, 3);
    vantix_draw_aa_line(&dot.bmp, 1, 1, 1, 1, 0x11223344);  // caller's alpha is replaced
    EXPECT_EQ(dot.marked(), (std::map<point, vantix_gcolor>{{{1, 1}, 0x112233FF}}));

    canvas flat(8, 3);
    vantix_draw_aa_line(&flat.bmp, 1, 1, 6, 1, black);
    EXPECT_EQ(flat.inked(), (points{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}}));
    for (const auto &[p, colour] : flat.marked())
        EXPECT_EQ(colour, black);

    // (0,0)-(4,2): ed = 4; main pixels opaque where the error is 0, the
    // neighbours at half coverage.
    canvas slope(6, 4);
    vantix_draw_aa_line(&slope.bmp, 0, 0, 4, 2, black);
    const auto m = slope.marked();
    EXPECT_EQ(m.at({0, 0}), black);
    EXPECT_EQ(m.at({4, 2}), black);
    EXPECT_EQ(m.at({2, 1}), black);
    EXPECT_EQ(m.at({1, 0}), black_at(128));
    EXPECT_EQ(m.at({1, 1}), black_at(128));
    EXPECT_EQ(m.count({0, 1}), 0u);
}

TEST(Lines, ThickSolidLineKeepsOnlyWellCoveredPixels) {
    canvas thin(12, 6);
    vantix_draw_thick_line(&thin.bmp, 0, 0, 10, 3, 1.0f, black);
    EXPECT_EQ(thin.inked(), (points{{0, 0}, {3, 1}, {7, 2}, {10, 3}}));

    canvas band(12, 6);
    vantix_draw_thick_line(&band.bmp, 0, 0, 10, 3, 3.0f, black);
    const points p = band.inked();
    EXPECT_EQ(p.size(), 25u);
    for (point corner : {point{0, 0}, point{0, 1}, point{1, 0}, point{1, 1}})
        EXPECT_TRUE(p.count(corner)) << corner.first << "," << corner.second;
    // The band is closed: every column holds a run without gaps.
    for (int x = 0; x <= 10; ++x) {
        int first = -1, last = -1, count = 0;
        for (int y = 0; y < 6; ++y)
            if (p.count({x, y})) {
                first = first < 0 ? y : first;
                last = y;
                ++count;
            }
        EXPECT_EQ(count, last - first + 1) << x;
    }
}

TEST(Lines, ThickAntiAliasedLineWritesCoverageAlphas) {
    canvas c(12, 6);
    vantix_draw_thick_aa_line(&c.bmp, 0, 0, 10, 3, 1.0f, black);
    const auto m = c.marked();
    EXPECT_EQ(m.at({0, 0}), black);
    EXPECT_EQ(m.at({0, 1}), black_at(10));
    EXPECT_EQ(m.at({1, 0}), black_at(181));
    EXPECT_EQ(m.at({10, 2}), black_at(10));
    EXPECT_EQ(m.at({10, 3}), black);
    EXPECT_EQ(m.at({10, 4}), black_at(10));
}

TEST(Lines, DegenerateWidthsStayWithinTheColourRange) {
    // Below ~0.41 the main pixel's coverage would drop under zero; it is
    // written with alpha 0 instead of a wrapped alpha.
    canvas c(12, 6);
    vantix_draw_thick_aa_line(&c.bmp, 0, 0, 10, 3, 0.1f, black);
    for (const auto &[p, colour] : c.marked())
        EXPECT_GE(colour & 0xFF00u, 0x4000u) << p.first << "," << p.second;  // light, never near-black
    canvas none(12, 6);
    vantix_draw_thick_aa_line(&none.bmp, 0, 0, 10, 3, -50.0f, black);
    vantix_draw_thick_line(&none.bmp, 0, 0, 10, 3, -50.0f, black);
    vantix_draw_thick_line(&none.bmp, 0, 0, 10, 3, 0.0f / 0.0f, black);
    EXPECT_TRUE(none.marked().empty());

    // A huge width ends, covering everything on the side the perpendicular
    // runs take (upwards for a horizontal line).
    canvas full(5, 4);
    vantix_draw_thick_line(&full.bmp, -1000, 2, 1000, 2, 1e30f, black);
    EXPECT_EQ(full.inked().size(), 15u);
    EXPECT_EQ(vantix_get_pixel(&full.bmp, 0, 3), white);
}

TEST(Lines, LinesFarOutsideOrAcrossTheBitmapAreClipped) {
    canvas c(10, 10);
    vantix_draw_line(&c.bmp, -5, 5, 14, 5, black);
    EXPECT_EQ(c.inked().size(), 10u);
    canvas far(10, 10);
    vantix_draw_line(&far.bmp, INT32_MIN, INT32_MIN, INT32_MIN + 3, INT32_MAX, black);
    vantix_draw_aa_line(&far.bmp, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, black);
    vantix_draw_thick_aa_line(&far.bmp, INT32_MIN, -20, INT32_MIN, 20, 3.0f, black);
    vantix_draw_thick_aa_line(&far.bmp, -30, 5, 40, 5, 3.0f, black);
    EXPECT_EQ(far.inked().size(), 20u);  // only the last one: rows 5 and 4
}

TEST(Circles, RadiusZeroWritesTheCentreFourTimesAndRadiusOneItsNeighbours) {
    canvas dot(3, 3);
    vantix_draw_circle(&dot.bmp, 1, 1, 0, 0x00000080);
    vantix_gcolor expected = white;
    for (int i = 0; i < 4; ++i)
        expected = vantix_color_blend(0x00000080, expected);
    EXPECT_EQ(dot.marked(), (std::map<point, vantix_gcolor>{{{1, 1}, expected}}));

    canvas ring(3, 3);
    vantix_draw_circle(&ring.bmp, 1, 1, 1, black);
    EXPECT_EQ(ring.inked(), (points{{0, 1}, {1, 0}, {1, 2}, {2, 1}}));

    canvas larger(11, 11);
    vantix_draw_circle(&larger.bmp, 5, 5, 4, black);
    const points p = larger.inked();
    EXPECT_TRUE(p.count({9, 5}) && p.count({1, 5}) && p.count({5, 1}) && p.count({5, 9}));
    EXPECT_FALSE(p.count({5, 5}));
    for (auto [x, y] : p)  // symmetric under both mirrors
        EXPECT_TRUE(p.count({10 - x, y}) && p.count({x, 10 - y}));
}

TEST(Circles, NegativeAndHugeRadiiAreSafe) {
    canvas c(10, 10);
    vantix_draw_circle(&c.bmp, 5, 5, -3, black);
    vantix_fill_circle(&c.bmp, 5, 5, -3, black);
    EXPECT_TRUE(c.marked().empty());
    vantix_draw_circle(&c.bmp, 0, 0, INT32_MAX, black);  // outline far outside
    EXPECT_TRUE(c.marked().empty());
    vantix_fill_circle(&c.bmp, INT32_MIN, INT32_MIN, INT32_MAX, black);  // reaches no pixel
    EXPECT_TRUE(c.marked().empty());
    vantix_fill_circle(&c.bmp, 5, 5, INT32_MAX, black);
    EXPECT_EQ(c.inked().size(), 100u);
}

TEST(Circles, FilledCircleHoldsThePixelsWithinTheRadius) {
    canvas c(7, 7);
    vantix_fill_circle(&c.bmp, 3, 3, 2, black);
    points expected;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            if ((x - 3) * (x - 3) + (y - 3) * (y - 3) <= 4)
                expected.insert({x, y});
    EXPECT_EQ(c.inked(), expected);
    EXPECT_EQ(expected.size(), 13u);
}

TEST(Ellipses, OutlineFitsItsBoundingRectangleInEitherCornerOrder) {
    canvas a(12, 10), b(12, 10);
    vantix_draw_ellipse(&a.bmp, 1, 2, 9, 7, black);
    vantix_draw_ellipse(&b.bmp, 9, 7, 1, 2, black);
    EXPECT_EQ(a.inked(), b.inked());
    int min_x = 99, max_x = -1, min_y = 99, max_y = -1;
    for (auto [x, y] : a.inked()) {
        min_x = std::min(min_x, x), max_x = std::max(max_x, x);
        min_y = std::min(min_y, y), max_y = std::max(max_y, y);
    }
    EXPECT_EQ(min_x, 1);
    EXPECT_EQ(max_x, 9);
    EXPECT_EQ(min_y, 2);
    EXPECT_EQ(max_y, 7);

    canvas flat(12, 4);  // one row high: the tips complete the line
    vantix_draw_ellipse(&flat.bmp, 2, 1, 8, 1, black);
    points row;
    for (int x = 2; x <= 8; ++x)
        row.insert({x, 1});
    EXPECT_EQ(flat.inked(), row);
}

TEST(Ellipses, FilledEllipseIsCentredOnTheFirstCorner) {
    canvas c(20, 20);
    vantix_fill_ellipse(&c.bmp, 10, 10, 13, 12, black);
    points expected;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            if (4 * dx * dx + 9 * dy * dy <= 36)
                expected.insert({10 + dx, 10 + dy});
    EXPECT_EQ(c.inked(), expected);
    int min_x = 99, max_x = -1;
    for (auto [x, y] : expected)
        min_x = std::min(min_x, x), max_x = std::max(max_x, x);
    EXPECT_EQ(min_x, 7);
    EXPECT_EQ(max_x, 13);
}

TEST(Ellipses, ProductsBeyondThirtyTwoBitsAreExact) {
    // Semi-axes of 100000 x 100000: a^2 b^2 = 10^20 needs more than 64 bits.
    canvas c(4, 4);
    vantix_fill_ellipse(&c.bmp, 0, 0, 100000, 100000, black);
    EXPECT_EQ(c.inked().size(), 16u);
    canvas edge(4, 4);  // centre far left: only x = 0 lies within a of it
    vantix_fill_ellipse(&edge.bmp, -100000, 1, 0, 2, black);
    EXPECT_EQ(edge.inked(), (points{{0, 1}}));
    canvas none(4, 4);
    vantix_fill_ellipse(&none.bmp, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, black);
    vantix_draw_ellipse(&none.bmp, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, black);  // too large: nothing
    EXPECT_EQ(none.inked().size(), 16u);  // the filled one covers everything
    canvas big(4, 4);
    vantix_draw_ellipse(&big.bmp, -(1 << 18), -(1 << 18), 1 << 18, 1 << 18, black);  // largest walked
    EXPECT_TRUE(big.marked().empty());
}

TEST(Rectangles, OutlineBorderAndFillInEitherCornerOrder) {
    canvas a(8, 8), b(8, 8);
    vantix_draw_rectangle(&a.bmp, 2, 2, 5, 5, black);
    vantix_draw_rectangle(&b.bmp, 5, 5, 2, 2, black);
    EXPECT_EQ(a.inked(), b.inked());
    EXPECT_EQ(a.inked().size(), 12u);
    EXPECT_FALSE(a.inked().count({3, 3}));

    // Corners are written twice: a translucent colour blends twice there.
    canvas t(4, 4);
    vantix_draw_rectangle(&t.bmp, 0, 0, 3, 3, 0x00000080);
    EXPECT_EQ(vantix_get_pixel(&t.bmp, 0, 0), vantix_color_blend(0x00000080, black_at(128)));
    EXPECT_EQ(vantix_get_pixel(&t.bmp, 1, 0), black_at(128));

    canvas thick(8, 8);
    vantix_draw_thick_rectangle(&thick.bmp, 7, 7, 0, 0, 2, black);
    EXPECT_EQ(thick.inked().size(), 64u - 16u);
    vantix_draw_thick_rectangle(&thick.bmp, 0, 0, 7, 7, 0, 0xFF0000FF);
    EXPECT_EQ(vantix_get_pixel(&thick.bmp, 0, 0), black);

    canvas fill(8, 8);
    vantix_fill_rectangle(&fill.bmp, 6, 1, 1, 3, black);
    EXPECT_EQ(fill.inked().size(), 18u);
}

TEST(Rectangles, ShapesReachingPastTheBitmapDrawTheirInsidePart) {
    canvas c(6, 6);
    vantix_draw_rectangle(&c.bmp, -2, -2, 3, 3, black);
    EXPECT_EQ(c.inked(), (points{{3, 0}, {3, 1}, {3, 2}, {3, 3}, {0, 3}, {1, 3}, {2, 3}}));
    canvas huge(6, 6);
    vantix_fill_rectangle(&huge.bmp, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, black);
    EXPECT_EQ(huge.inked().size(), 36u);
    canvas border(6, 6);
    vantix_draw_thick_rectangle(&border.bmp, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, black);
    // The bands reach 2^31 - 1 pixels inwards: the top and left edges lie
    // 2^31 away from row and column 0, the bottom and right ones reach 1.
    EXPECT_EQ(border.inked().size(), 35u);
    EXPECT_EQ(vantix_get_pixel(&border.bmp, 0, 0), white);
    canvas ring(6, 6);
    vantix_draw_thick_rectangle(&ring.bmp, -1, -1, 6, 6, 2, black);
    EXPECT_EQ(ring.inked().size(), 20u);
}

// Clipping must only drop pixels: a shape drawn into a small bitmap equals
// the same window of the shape drawn, shifted, into a bitmap that holds it
// whole. A translucent colour also makes the number of writes visible.
TEST(Clipping, ShapesCutByTheEdgeMatchTheWindowOfTheWholeShape) {
    constexpr int small = 16, shift = 48, big = 128;
    constexpr vantix_gcolor ink = 0x20406090;
    using shape = void (*)(vantix_bitmap *, int, int, int, int, int);
    const shape shapes[] = {
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int) {
            vantix_draw_line(b, x0, y0, x1, y1, ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int) {
            vantix_draw_aa_line(b, x0, y0, x1, y1, ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int w) {
            vantix_draw_thick_line(b, x0, y0, x1, y1, static_cast<float>(w), ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int w) {
            vantix_draw_thick_aa_line(b, x0, y0, x1, y1, static_cast<float>(w) / 2, ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int, int, int r) { vantix_draw_circle(b, x0, y0, r * 2, ink); },
        [](vantix_bitmap *b, int x0, int y0, int, int, int r) { vantix_fill_circle(b, x0, y0, r * 2, ink); },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int) {
            vantix_draw_ellipse(b, x0, y0, x1, y1, ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int) {
            vantix_fill_ellipse(b, x0, y0, x1, y1, ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int) {
            vantix_draw_rectangle(b, x0, y0, x1, y1, ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int w) {
            vantix_draw_thick_rectangle(b, x0, y0, x1, y1, w, ink);
        },
        [](vantix_bitmap *b, int x0, int y0, int x1, int y1, int) {
            vantix_fill_rectangle(b, x0, y0, x1, y1, ink);
        },
    };
    uint32_t seed = 12345;
    auto next = [&](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + static_cast<int>((seed >> 8) % static_cast<uint32_t>(hi - lo + 1));
    };
    for (size_t s = 0; s < std::size(shapes); ++s)
        for (int round = 0; round < 150; ++round) {
            const int x0 = next(-12, 28), y0 = next(-12, 28), x1 = next(-12, 28), y1 = next(-12, 28);
            const int w = next(0, 9);
            canvas cut(small, small), whole(big, big);
            shapes[s](&cut.bmp, x0, y0, x1, y1, w);
            shapes[s](&whole.bmp, x0 + shift, y0 + shift, x1 + shift, y1 + shift, w);
            for (int y = 0; y < small; ++y)
                for (int x = 0; x < small; ++x)
                    ASSERT_EQ(vantix_get_pixel(&cut.bmp, x, y),
                              vantix_get_pixel(&whole.bmp, x + shift, y + shift))
                        << "shape " << s << " (" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") w " << w
                        << " at " << x << "," << y;
        }
}

}  // namespace
