// SPDX-License-Identifier: Apache-2.0
// Invariants of the generated font tables: code point sets, glyph sizes and
// the agreement between the row-order and column-order copies of the
// built-in font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "vantix-zelnar.h"

extern "C" {
extern const vantix_font_char vantix_default_data[];
extern const int32_t vantix_default_lookup[];
}

namespace {

// The code points of the built-in font, ascending (0 is the replacement glyph).
std::vector<int32_t> builtin_code_points(bool with_replacement, bool with_nbsp) {
    static const int32_t ranges[][2] = {{0x20, 0x7E},     {0xA0, 0x17F},    {0x192, 0x192},
                                        {0x400, 0x49B},   {0x1E00, 0x1E2B}, {0x1EC8, 0x1EC9},
                                        {0x20A7, 0x20A7}, {0x20AC, 0x20AC}, {0x2190, 0x2193}};
    std::vector<int32_t> points;
    if (with_replacement)
        points.push_back(0);
    for (const auto &range : ranges)
        for (int32_t cp = range[0]; cp <= range[1]; ++cp)
            if (with_nbsp || cp != 0xA0)
                points.push_back(cp);
    return points;
}

bool bit(const unsigned char *raster, unsigned n) { return (raster[n / 8] >> (7 - n % 8)) & 1; }

std::vector<int32_t> lookup_of(const vantix_enhanced_font &font) {
    return {font.indexes, font.indexes + font.glyphCount};
}

const vantix_font_char &glyph_of(const vantix_enhanced_font &font, int32_t cp) {
    for (int32_t i = 0; i < font.glyphCount; ++i)
        if (font.indexes[i] == cp)
            return font.glyphs[i];
    ADD_FAILURE() << "no glyph for U+" << std::hex << cp;
    return font.glyphs[0];
}

// Bits past width * height in the last used byte, and bytes past rasterLen, are zero.
bool padding_clear(const unsigned char *raster, size_t size, unsigned used_bits) {
    for (size_t n = used_bits; n < size * 8; ++n)
        if (bit(raster, static_cast<unsigned>(n)))
            return false;
    return true;
}

TEST(DefaultFont, CoversExactlyTheBuiltinCodePoints) {
    EXPECT_EQ(vantix_default.bitDepth, 1);
    ASSERT_EQ(vantix_default.glyphCount, 529);
    EXPECT_EQ(vantix_default.indexes, vantix_default_lookup);
    EXPECT_EQ(vantix_default.glyphs, vantix_default_data);
    EXPECT_EQ(lookup_of(vantix_default), builtin_code_points(true, true));
}

TEST(DefaultFont, GlyphSizesStayWithinLimits) {
    for (int32_t i = 0; i < vantix_default.glyphCount; ++i) {
        const vantix_font_char &g = vantix_default.glyphs[i];
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << vantix_default.indexes[i]);
        EXPECT_GE(g.width, 1);
        EXPECT_LE(g.width, 9);
        EXPECT_GE(g.height, 1);
        EXPECT_LE(g.height, 10);
        EXPECT_LE(g.decent, 3);
        EXPECT_LE(g.decent, g.height);
        EXPECT_EQ(g.rasterLen, (g.width * g.height + 7u) / 8);
        EXPECT_LE(g.rasterLen, 9u);
        EXPECT_TRUE(padding_clear(g.raster, sizeof g.raster, g.width * g.height));
        const bool spacing_mark = vantix_default.indexes[i] == 0xA8 || vantix_default.indexes[i] == 0xB8;
        EXPECT_EQ(g.combine, spacing_mark ? 1 : 0);
    }
}

TEST(DefaultFont, CapitalAAndSmallGHaveTheirReferenceShapes) {
    const vantix_font_char &a = glyph_of(vantix_default, 'A');
    EXPECT_EQ(a.width, 4);
    EXPECT_EQ(a.height, 5);
    EXPECT_EQ(a.decent, 0);
    const char *rows[] = {".##.", "#..#", "####", "#..#", "#..#"};
    for (unsigned y = 0; y < 5; ++y)
        for (unsigned x = 0; x < 4; ++x)
            EXPECT_EQ(bit(a.raster, y * 4 + x), rows[y][x] == '#') << x << "," << y;
    const vantix_font_char &g = glyph_of(vantix_default, 'g');
    EXPECT_EQ(g.width, 4);
    EXPECT_EQ(g.height, 5);
    EXPECT_EQ(g.decent, 1);
}

TEST(BlockFont, IsTheDefaultFontInColumnOrder) {
    const unsigned char a_bytes[] = {0x7D, 0x28, 0xF0};
    for (int32_t i = 0; i < VANTIX_BLOCK_FONT_GLYPH_COUNT; ++i) {
        const vantix_block_font_char &b = vantix_block_font[i];
        const vantix_font_char &r = vantix_default.glyphs[i];
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << b.charPoint);
        ASSERT_EQ(static_cast<int32_t>(b.charPoint), vantix_default.indexes[i]);
        ASSERT_EQ(b.width, r.width);
        ASSERT_EQ(b.height, r.height);
        EXPECT_EQ(b.decent, r.decent);
        EXPECT_EQ(b.combine, r.combine);
        EXPECT_EQ(b.rasterLen, r.rasterLen);
        EXPECT_TRUE(padding_clear(b.raster, sizeof b.raster, b.width * b.height));
        for (unsigned x = 0; x < b.width; ++x)
            for (unsigned y = 0; y < b.height; ++y)
                ASSERT_EQ(bit(b.raster, b.height * x + y), bit(r.raster, r.width * y + x)) << x << "," << y;
        if (b.charPoint == 'A') {
            EXPECT_EQ(std::vector<unsigned char>(b.raster, b.raster + 3),
                      std::vector<unsigned char>(a_bytes, a_bytes + 3));
        }
    }
}

TEST(UbuntuMonoEnhanced, EveryGlyphFillsItsCellExactly) {
    struct Case {
        const vantix_enhanced_font *font;
        uint8_t width, height, descent;
        uint32_t bytes;
    } const cases[] = {{&ubuntu_mono_e_12pt, 6, 12, 2, 9},
                       {&ubuntu_mono_e_16pt, 8, 17, 3, 17},
                       {&ubuntu_mono_e_24pt, 12, 25, 5, 38},
                       {&ubuntu_mono_e_30pt, 15, 31, 6, 59}};
    const std::vector<int32_t> expected = builtin_code_points(false, false);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.height) << "-row font");
        EXPECT_EQ(c.font->bitDepth, 1);
        ASSERT_EQ(c.font->glyphCount, 527);
        EXPECT_EQ(lookup_of(*c.font), expected);
        for (int32_t i = 0; i < c.font->glyphCount; ++i) {
            const vantix_font_char &g = c.font->glyphs[i];
            ASSERT_EQ(g.width, c.width);
            ASSERT_EQ(g.height, c.height);
            ASSERT_EQ(g.decent, c.descent);
            ASSERT_EQ(g.combine, 0);
            ASSERT_EQ(g.rasterLen, c.bytes);
            ASSERT_TRUE(padding_clear(g.raster, sizeof g.raster, c.width * c.height));
        }
        // Rendered, not blank: the capital A has ink.
        const vantix_font_char &a = glyph_of(*c.font, 'A');
        EXPECT_NE(std::count(a.raster, a.raster + a.rasterLen, 0), static_cast<long>(a.rasterLen));
    }
}

TEST(UbuntuMonoFixed, CoverTheEightBitRangesInCodeOrder) {
    std::vector<unsigned char> expected;
    for (int code = 0x20; code <= 0xFF; ++code)
        if (code <= 0x7E || code >= 0xA0)
            expected.push_back(static_cast<unsigned char>(code));
    struct Case {
        const vantix_font *font;
        const vantix_enhanced_font *same_images;
        int32_t width, height, depth, bytes;
    } const cases[] = {{&ubuntu_mono_12pt, &ubuntu_mono_e_12pt, 6, 12, 1, 9},
                       {&ubuntu_mono_16pt, &ubuntu_mono_e_16pt, 8, 17, 1, 17},
                       {&ubuntu_mono_24pt, &ubuntu_mono_e_24pt, 12, 25, 1, 38},
                       {&ubuntu_mono_30pt, &ubuntu_mono_e_30pt, 15, 31, 1, 59},
                       {&ubuntu_mono_30pt_aa, nullptr, 15, 31, 8, 15 * 31}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << "-row font, depth " << c.depth);
        EXPECT_EQ(c.font->charWidth, c.width);
        EXPECT_EQ(c.font->charHeight, c.height);
        EXPECT_EQ(c.font->bitDepth, c.depth);
        EXPECT_EQ(c.font->charByteLen, c.bytes);
        ASSERT_EQ(c.font->glyphCount, static_cast<int32_t>(expected.size()));
        EXPECT_EQ(std::vector<unsigned char>(c.font->indexes, c.font->indexes + c.font->glyphCount),
                  expected);
        if (!c.same_images)
            continue;
        // The 1-bit fixed fonts carry the enhanced fonts' images.
        for (int32_t i = 0; i < c.font->glyphCount; ++i) {
            if (expected[i] == 0xA0)
                continue;
            const vantix_font_char &g = glyph_of(*c.same_images, expected[i]);
            ASSERT_TRUE(std::equal(g.raster, g.raster + c.bytes, c.font->glyphs + i * c.bytes)) << i;
        }
    }
}

TEST(UbuntuMonoFixed, AntialiasedFontStoresPaperIntensity) {
    const vantix_font &f = ubuntu_mono_30pt_aa;
    const unsigned char *space = f.glyphs + 0 * f.charByteLen;  // glyph 0 is the space
    EXPECT_TRUE(std::all_of(space, space + f.charByteLen, [](unsigned char v) { return v == 255; }));
    const unsigned char *a = f.glyphs + ('A' - 0x20) * f.charByteLen;
    EXPECT_TRUE(std::any_of(a, a + f.charByteLen, [](unsigned char v) { return v == 0; }));
    EXPECT_TRUE(std::any_of(a, a + f.charByteLen, [](unsigned char v) { return v > 0 && v < 255; }));
}

}  // namespace
