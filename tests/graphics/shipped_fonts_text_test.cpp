// SPDX-License-Identifier: Apache-2.0
// Text in the shipped fonts: the built-in font's measures, baseline and
// fallback; the Ubuntu Mono cells, code points outside their set and the
// fixed-font variants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "graphics/canvas.hpp"
#include "vantix-zelnar.h"

namespace {

constexpr vantix_gcolor white = 0xFFFFFFFF, black = 0x000000FF;
using point = std::pair<int, int>;

using vantix::test::canvas;

std::pair<int, int> row_range(const std::set<point> &p) {
    int lo = INT32_MAX, hi = INT32_MIN;
    for (auto [x, y] : p)
        lo = std::min(lo, y), hi = std::max(hi, y);
    return {lo, hi};
}

const int32_t Ag[] = {'A', 'g', 0};

TEST(DefaultFontText, AgIsTenBySixWithTheGBelowTheBaseline) {
    EXPECT_EQ(enhanced_get_string_width(&vantix_default, Ag), 10u);
    EXPECT_EQ(enhanced_get_string_height(&vantix_default, Ag), 6u);
    canvas c(20, 12);
    enhanced_draw_string(&c.bmp, &vantix_default, Ag, 3, 2, black);
    EXPECT_EQ(row_range(c.inked(3, 7)), (std::pair<int, int>{2, 6}));   // A: rows y to y + 4
    EXPECT_EQ(row_range(c.inked(8, 12)), (std::pair<int, int>{3, 7}));  // g: rows y + 1 to y + 5
    EXPECT_TRUE(c.inked(12).empty());
}

TEST(DefaultFontText, UnknownCodePointsUseTheReplacementGlyph) {
    const vantix_font_char *replacement = enhanced_get_font_character(&vantix_default, 0);
    ASSERT_NE(replacement, nullptr);
    EXPECT_EQ(enhanced_get_font_character(&vantix_default, 0x4E00), replacement);
    const int32_t han[] = {0x4E00, 0};
    EXPECT_EQ(enhanced_get_string_width(&vantix_default, han), replacement->width + 1u);
    canvas a(12, 12), b(12, 12);
    enhanced_draw_string(&a.bmp, &vantix_default, han, 1, 1, black);
    enhanced_draw_char(&b.bmp, &vantix_default, 0, 1, 1, black);
    EXPECT_FALSE(a.inked().empty());
    EXPECT_EQ(a.inked(), b.inked());
}

TEST(DefaultFontText, EndAlignmentTouchesTheBoxCorner) {
    canvas aligned(101, 51), placed(101, 51);
    enhanced_draw_string_aligned(&aligned.bmp, &vantix_default, Ag, 0, 0, 100, 50, VANTIX_ALIGN_END,
                                 VANTIX_ALIGN_END, black);
    enhanced_draw_string(&placed.bmp, &vantix_default, Ag, 100 - 10, 50 - 6, black);
    EXPECT_FALSE(aligned.inked().empty());
    EXPECT_EQ(aligned.inked(), placed.inked());
    EXPECT_EQ(row_range(aligned.inked()).second, 49);  // the g's last row ends just above y = 50
}

// The binary search must find exactly what a scan from the first entry finds.
TEST(ShippedFontText, LookupAgreesWithALinearScan) {
    auto scan = [](const vantix_enhanced_font &font, int32_t cp) -> const vantix_font_char * {
        for (int pass = 0; pass < 2; ++pass, cp = 0)
            for (int32_t i = 0; i < font.glyphCount; ++i)
                if (font.indexes[i] == cp)
                    return &font.glyphs[i];
        return nullptr;
    };
    for (const vantix_enhanced_font *font : {&vantix_default, &ubuntu_mono_e_12pt, &ubuntu_mono_e_16pt,
                                             &ubuntu_mono_e_24pt, &ubuntu_mono_e_30pt})
        for (int32_t cp = -3; cp < 0x2200; ++cp)
            ASSERT_EQ(enhanced_get_font_character(font, cp), scan(*font, cp)) << cp;
}

const std::vector<int32_t> mixed{'H', 'e', 'l', 'l', 'o', ',', ' ', 0xE9, 0x416, 0x1E0C, 0x20AC, 0x2192, 0};

TEST(UbuntuMonoText, EveryCoveredCodePointTakesOneCell) {
    struct cell {
        const vantix_enhanced_font *font;
        unsigned advance, height;
    };
    for (const cell &c : {cell{&ubuntu_mono_e_12pt, 7, 12}, cell{&ubuntu_mono_e_16pt, 9, 17},
                          cell{&ubuntu_mono_e_24pt, 13, 25}, cell{&ubuntu_mono_e_30pt, 16, 31}}) {
        EXPECT_EQ(enhanced_get_string_width(c.font, mixed.data()), c.advance * 12) << c.height;
        EXPECT_EQ(enhanced_get_string_height(c.font, mixed.data()), c.height);
    }
    for (int32_t cp = 0x20; cp <= 0x7E; ++cp) {
        const int32_t one[] = {cp, 0};
        EXPECT_EQ(enhanced_get_string_width(&ubuntu_mono_e_12pt, one), 7u) << cp;
        EXPECT_EQ(enhanced_get_string_height(&ubuntu_mono_e_12pt, one), 12u) << cp;
    }
}

TEST(UbuntuMonoText, CodePointsOutsideTheSetAreSkipped) {
    EXPECT_EQ(enhanced_get_font_character(&ubuntu_mono_e_12pt, 0xA0), nullptr);
    EXPECT_EQ(enhanced_get_font_character(&ubuntu_mono_e_12pt, 0x4E00), nullptr);  // no replacement glyph
    const int32_t with_gaps[] = {'A', 0xA0, 0x4E00, 'B', 0};
    const int32_t plain[] = {'A', 'B', 0};
    EXPECT_EQ(enhanced_get_string_width(&ubuntu_mono_e_12pt, with_gaps), 14u);
    canvas a(20, 14), b(20, 14);
    enhanced_draw_string(&a.bmp, &ubuntu_mono_e_12pt, with_gaps, 1, 1, black);
    enhanced_draw_string(&b.bmp, &ubuntu_mono_e_12pt, plain, 1, 1, black);
    EXPECT_EQ(a.pixels(), b.pixels());
    const int32_t nothing[] = {0xA0, 0};
    EXPECT_EQ(enhanced_get_string_height(&ubuntu_mono_e_12pt, nothing), 0u);
}

TEST(UbuntuMonoText, FixedFontsDrawLatin1Cells) {
    EXPECT_NE(vantix_font_char_lookup(&ubuntu_mono_12pt, static_cast<char>(0xE9)), nullptr);
    EXPECT_EQ(vantix_font_char_lookup(&ubuntu_mono_12pt, static_cast<char>(0x80)), nullptr);
    // END/END puts the two cells against the corner of the box.
    canvas aligned(40, 30), placed(40, 30);
    vantix_draw_string_aligned(&aligned.bmp, &ubuntu_mono_12pt, "Hi", 0, 0, 30, 20, VANTIX_ALIGN_END,
                               VANTIX_ALIGN_END, black);
    vantix_draw_string(&placed.bmp, &ubuntu_mono_12pt, "Hi", 30 - 12, 20 - 12, black);
    EXPECT_EQ(aligned.pixels(), placed.pixels());
    EXPECT_NE(aligned.pixels(), canvas(40, 30).pixels());

    // The anti-aliased variant has intensity bytes: edges come out grey.
    canvas grey(20, 40);
    vantix_draw_char(&grey.bmp, &ubuntu_mono_30pt_aa, 'O', 2, 2, black);
    bool partial = false;
    for (vantix_gcolor p : grey.pixels())
        partial = partial || (p != white && p != black);
    EXPECT_TRUE(partial);
}

}  // namespace
