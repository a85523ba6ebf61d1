// SPDX-License-Identifier: Apache-2.0
// Fixed and enhanced fonts on small hand-made fonts: lookup, measuring,
// drawing, alignment and the bounds of glyph data.
#include <gtest/gtest.h>

#include <cstdint>
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

points shifted(const points &p, int dx, int dy) {
    points out;
    for (auto [x, y] : p)
        out.insert({x + dx, y + dy});
    return out;
}

// Fixed font, 3 x 2 cells, one bit per pixel, stored in exactly-sized heap
// blocks so that a read past the data trips the address sanitizer.
struct fixed_font {
    std::vector<unsigned char> indexes{'A', 0xE9};
    std::vector<unsigned char> glyphs{0xA8, 0xFC};  // "#.#/.#." and a full cell
    vantix_font font{3, 2, 1, 2, 1, indexes.data(), glyphs.data()};
};
const points fixed_a{{0, 0}, {2, 0}, {1, 1}};

TEST(FixedFont, LookupMatchesBytesAsUnsignedCodes) {
    fixed_font f;
    EXPECT_EQ(vantix_font_char_lookup(&f.font, 'A'), f.glyphs.data());
    EXPECT_EQ(vantix_font_char_lookup(&f.font, static_cast<char>(0xE9)), f.glyphs.data() + 1);
    EXPECT_EQ(vantix_font_char_lookup(&f.font, 'B'), nullptr);
    EXPECT_EQ(vantix_font_char_lookup(nullptr, 'A'), nullptr);
    vantix_font broken = f.font;
    broken.glyphCount = -1;
    EXPECT_EQ(vantix_font_char_lookup(&broken, 'A'), nullptr);
}

TEST(FixedFont, StringsAdvanceByTheCellEvenOverMissingGlyphs) {
    fixed_font f;
    canvas c(16, 4);
    vantix_draw_string(&c.bmp, &f.font, "A?A", 1, 1, black);
    points expected = shifted(fixed_a, 1, 1);
    for (point p : shifted(fixed_a, 7, 1))
        expected.insert(p);
    EXPECT_EQ(c.inked(), expected);
}

TEST(FixedFont, IntensityBytesBecomeAlpha) {
    std::vector<unsigned char> indexes{'x'};
    std::vector<unsigned char> glyphs{0, 127, 255};
    const vantix_font grey{3, 1, 8, 1, 3, indexes.data(), glyphs.data()};
    canvas c(3, 1);
    vantix_draw_char(&c.bmp, &grey, 'x', 0, 0, 0x204060FF);
    EXPECT_EQ(vantix_get_pixel(&c.bmp, 0, 0), 0x204060FFu);
    EXPECT_EQ(vantix_get_pixel(&c.bmp, 1, 0), vantix_color_blend(0x20406080, white));
    EXPECT_EQ(vantix_get_pixel(&c.bmp, 2, 0), white);
}

TEST(FixedFont, GlyphsNeverReadPastTheirBytes) {
    // A 4 x 4 cell with only one byte of image: the second half stays blank.
    std::vector<unsigned char> indexes{'#'};
    std::vector<unsigned char> glyphs{0xFF};
    const vantix_font short_data{4, 4, 1, 1, 1, indexes.data(), glyphs.data()};
    canvas c(4, 4);
    vantix_draw_char(&c.bmp, &short_data, '#', 0, 0, black);
    EXPECT_EQ(c.inked().size(), 8u);
    const vantix_font short_bytes{4, 4, 8, 1, 1, indexes.data(), glyphs.data()};
    vantix_draw_char(&c.bmp, &short_bytes, '#', 0, 0, black);  // 0xFF is paper
    EXPECT_EQ(c.inked().size(), 8u);
}

TEST(FixedFont, AlignmentPlacesTheCellsInTheBox) {
    fixed_font f;
    auto drawn = [&](vantix_string_alignment h, vantix_string_alignment v) {
        canvas c(24, 12);
        vantix_draw_string_aligned(&c.bmp, &f.font, "AA", 20, 10, 2, 1, h, v, black);
        return c.inked();
    };
    auto two_at = [](int x, int y) {
        points p = shifted(fixed_a, x, y);
        for (point q : shifted(fixed_a, x + 3, y))
            p.insert(q);
        return p;
    };
    EXPECT_EQ(drawn(VANTIX_ALIGN_BEGIN, VANTIX_ALIGN_BEGIN), two_at(2, 1));
    EXPECT_EQ(drawn(VANTIX_ALIGN_END, VANTIX_ALIGN_END), two_at(20 - 6, 10 - 2));
    EXPECT_EQ(drawn(VANTIX_ALIGN_MIDDLE, VANTIX_ALIGN_MIDDLE), two_at(2 + 9 - 3, 1 + 4 - 1));
    EXPECT_EQ(drawn(static_cast<vantix_string_alignment>(3), VANTIX_ALIGN_BEGIN), two_at(2, 1));
}

// Enhanced font: a 2 x 2 replacement glyph, A (3 x 4, on the baseline) and
// g (2 x 3, one row below the baseline).
vantix_font_char glyph(uint8_t w, uint8_t h, uint8_t decent, std::vector<unsigned char> bits) {
    vantix_font_char g{w, h, decent, 0, static_cast<uint32_t>(bits.size()), {}};
    for (size_t i = 0; i < bits.size(); ++i)
        g.raster[i] = bits[i];
    return g;
}
const std::vector<int32_t> small_indexes{0, 'A', 'g'};
const std::vector<vantix_font_char> small_glyphs{
    glyph(2, 2, 0, {0xF0}),        // ####
    glyph(3, 4, 0, {0x5E, 0xD0}),  // .#. ### #.# #.#
    glyph(2, 3, 1, {0xDC}),        // ## .# ##
};
const vantix_enhanced_font small{1, 3, small_indexes.data(), small_glyphs.data()};
const std::vector<int32_t> Ag{'A', 'g', 0};

TEST(EnhancedFont, MissingCodePointsFallBackToTheReplacementGlyph) {
    EXPECT_EQ(enhanced_get_font_character(&small, 'A'), &small_glyphs[1]);
    EXPECT_EQ(enhanced_get_font_character(&small, 0x4E00), &small_glyphs[0]);
    EXPECT_EQ(enhanced_get_font_character(&small, -5), &small_glyphs[0]);
    const vantix_enhanced_font no_replacement{1, 2, small_indexes.data() + 1, small_glyphs.data() + 1};
    EXPECT_EQ(enhanced_get_font_character(&no_replacement, 'g'), &small_glyphs[2]);
    EXPECT_EQ(enhanced_get_font_character(&no_replacement, 'B'), nullptr);
    EXPECT_EQ(enhanced_get_font_character(nullptr, 'A'), nullptr);
}

TEST(EnhancedFont, MeasuresIncludeTheTrailingGapAndTheDeepestDescent) {
    EXPECT_EQ(u_strlen32(Ag.data()), 2u);
    EXPECT_EQ(u_strlen32(nullptr), 0u);
    EXPECT_EQ(enhanced_get_string_width(&small, Ag.data()), 3u + 1 + 2 + 1);
    EXPECT_EQ(enhanced_get_string_height(&small, Ag.data()), 4u + 1);
    const int32_t empty[] = {0};
    EXPECT_EQ(enhanced_get_string_width(&small, empty), 0u);
    EXPECT_EQ(enhanced_get_string_height(&small, empty), 0u);
    const vantix_enhanced_font no_replacement{1, 2, small_indexes.data() + 1, small_glyphs.data() + 1};
    const int32_t unknown[] = {'?', 'A', 0};
    EXPECT_EQ(enhanced_get_string_width(&no_replacement, unknown), 4u);
}

const points small_a{{1, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {2, 2}, {0, 3}, {2, 3}};
const points small_g{{0, 0}, {1, 0}, {1, 1}, {0, 2}, {1, 2}};

TEST(EnhancedFont, GlyphsShareTheBaseline) {
    canvas c(12, 8);
    enhanced_draw_string(&c.bmp, &small, Ag.data(), 1, 1, black);
    points expected = shifted(small_a, 1, 1);
    for (point p : shifted(small_g, 5, 3))  // after A's 3 columns and the gap; rows 3 to 5
        expected.insert(p);
    EXPECT_EQ(c.inked(), expected);

    canvas single(4, 4);
    enhanced_draw_char(&single.bmp, &small, 'g', 0, 0, black);
    EXPECT_EQ(single.inked(), small_g);
}

TEST(EnhancedFont, EndAlignmentPutsTheTextAgainstTheBottomRightCorner) {
    canvas c(30, 20);
    enhanced_draw_string_aligned(&c.bmp, &small, Ag.data(), 20, 10, 0, 0, VANTIX_ALIGN_END, VANTIX_ALIGN_END,
                                 black);
    points expected = shifted(small_a, 20 - 7, 10 - 5);
    for (point p : shifted(small_g, 20 - 7 + 4, 10 - 5 + 2))
        expected.insert(p);
    EXPECT_EQ(c.inked(), expected);

    canvas middle(30, 20);
    enhanced_draw_string_aligned(&middle.bmp, &small, Ag.data(), 0, 0, 20, 10, VANTIX_ALIGN_MIDDLE,
                                 VANTIX_ALIGN_MIDDLE, black);
    EXPECT_EQ(middle.inked(), shifted(expected, 10 - 3 - 13, 5 - 2 - 5));
}

TEST(EnhancedFont, GlyphReadsStopAtRasterLen) {
    // Ink in every raster byte, but only the first counts.
    vantix_font_char g = glyph(4, 4, 0, {0xFF});
    for (auto &b : g.raster)
        b = 0xFF;
    const int32_t index = 'x';
    const vantix_enhanced_font font{1, 1, &index, &g};
    canvas c(4, 4);
    enhanced_draw_char(&c.bmp, &font, 'x', 0, 0, black);
    EXPECT_EQ(c.inked().size(), 8u);
    g.rasterLen = 100000;  // beyond the record: capped at its 200 bytes
    enhanced_draw_char(&c.bmp, &font, 'x', 0, 0, black);
    EXPECT_EQ(c.inked().size(), 16u);
}

TEST(EnhancedFont, TextFarOutsideTheBitmapIsClipped) {
    canvas c(8, 8);
    const std::vector<int32_t> long_text(100000, 'A');
    std::vector<int32_t> text = long_text;
    text.push_back(0);
    enhanced_draw_string(&c.bmp, &small, text.data(), INT32_MAX - 2, INT32_MAX - 1, black);
    enhanced_draw_string(&c.bmp, &small, text.data(), INT32_MIN, 0, black);
    enhanced_draw_string_aligned(&c.bmp, &small, text.data(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX,
                                 VANTIX_ALIGN_END, VANTIX_ALIGN_MIDDLE, black);
    EXPECT_TRUE(c.inked().empty());
    enhanced_draw_string(&c.bmp, &small, text.data(), -2, -1, black);  // partly inside
    EXPECT_FALSE(c.inked().empty());
}

}  // namespace
