// SPDX-License-Identifier: Apache-2.0
// The block font and one-bit column-order rasters.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace {

using glyph_list = std::vector<const vantix_block_font_char *>;

// Rows of a raster as text, '#' for ink.
std::vector<std::string> rows_of(const std::vector<unsigned char> &raster, uint32_t w, uint32_t h) {
    std::vector<std::string> rows(h, std::string(w, '.'));
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            if (vantix_raster_getpixel(raster.data(), w, h, x, y))
                rows[y][x] = '#';
    return rows;
}

TEST(BitRaster, PixelsAreAddressedColumnByColumnMostSignificantBitFirst) {
    std::vector<unsigned char> r(2, 0);  // 3 x 4 raster: 12 bits
    vantix_raster_setpixel(r.data(), 3, 4, 0, 1, 1);
    EXPECT_EQ(r[0], 0x40);
    vantix_raster_setpixel(r.data(), 3, 4, 2, 3, 1);  // bit 4 * 2 + 3 = 11
    EXPECT_EQ(r[1], 0x10);
    EXPECT_EQ(vantix_raster_getpixel(r.data(), 3, 4, 2, 3), 1);
    vantix_raster_setpixel(r.data(), 3, 4, 2, 3, 0);
    EXPECT_EQ(r[1], 0x00);
    EXPECT_EQ(vantix_raster_getpixel(r.data(), 3, 4, 0, 1), 1);
}

TEST(BitRaster, CoordinatesOutsideTheRasterAreIgnored) {
    std::vector<unsigned char> r(2, 0xFF);
    const std::vector<unsigned char> before = r;
    for (auto [x, y] : std::vector<std::pair<uint32_t, uint32_t>>{{3, 0}, {0, 4}, {UINT32_MAX, UINT32_MAX}}) {
        vantix_raster_setpixel(r.data(), 3, 4, x, y, 0);
        EXPECT_EQ(vantix_raster_getpixel(r.data(), 3, 4, x, y), 0);
    }
    EXPECT_EQ(r, before);
    vantix_raster_setpixel(nullptr, 3, 4, 0, 0, 1);
    EXPECT_EQ(vantix_raster_getpixel(nullptr, 3, 4, 0, 0), 0);

    // A copy reaching past the destination keeps only what fits.
    const std::vector<unsigned char> ink(2, 0xFF);  // 4 x 4 source, all ink
    std::vector<unsigned char> dest(2, 0);          // 4 x 4 destination
    vantix_raster_copy(ink.data(), 4, 4, dest.data(), 4, 4, 2, 3);
    EXPECT_EQ(rows_of(dest, 4, 4), (std::vector<std::string>{"....", "....", "....", "..##"}));
    vantix_raster_copy(ink.data(), 4, 4, dest.data(), 4, 4, UINT32_MAX, UINT32_MAX);
    vantix_raster_copy(ink.data(), UINT32_MAX, 4, dest.data(), 4, 4, 0, 0);  // source wider than dest
    EXPECT_EQ(rows_of(dest, 4, 4), (std::vector<std::string>{"####", "####", "####", "####"}));
}

TEST(BitRaster, CopyUsesEachRastersOwnHeight) {
    const std::vector<unsigned char> src{0x90};  // 2 x 2: (0, 0) and (1, 1)
    std::vector<unsigned char> dest(3, 0);       // 4 x 5
    vantix_raster_copy(src.data(), 2, 2, dest.data(), 4, 5, 1, 2);
    EXPECT_EQ(rows_of(dest, 4, 5), (std::vector<std::string>{"....", "....", ".#..", "..#.", "...."}));
}

// Hand-made glyphs: a 2 x 3 block on the baseline and a 1 x 3 stroke with
// one row below it.
const vantix_block_font_char block{'#', 2, 3, 0, 0, 1, {0xFC}};
const vantix_block_font_char stroke{'|', 1, 3, 1, 0, 1, {0xE0}};

TEST(BlockText, WidthHasNoGapAfterTheLastGlyphAndSkipsNulls) {
    const glyph_list three{&block, nullptr, &stroke};
    EXPECT_EQ(vantix_font_get_width(three.data(), 3), 2 + 1 + 1);
    EXPECT_EQ(vantix_font_get_width(three.data(), 1), 2);
    EXPECT_EQ(vantix_font_get_width(three.data(), 0), -1);
    EXPECT_EQ(vantix_font_get_width(nullptr, 5), -1);
    EXPECT_EQ(vantix_font_get_height(three.data(), 3), 3 + 1);
    const glyph_list only_null{nullptr};
    EXPECT_EQ(vantix_font_get_height(only_null.data(), 1), 0);
}

TEST(BlockText, CreateRasterLinesUpTheBaselines) {
    const glyph_list chars{&stroke, &block};
    const auto w = static_cast<uint32_t>(vantix_font_get_width(chars.data(), 2));
    const auto h = static_cast<uint32_t>(vantix_font_get_height(chars.data(), 2));
    std::vector<unsigned char> r((w * h + 7) / 8, 0);
    vantix_font_create_raster(chars.data(), 2, r.data(), w, h);
    EXPECT_EQ(rows_of(r, w, h), (std::vector<std::string>{"..##", "#.##", "#.##", "#..."}));
    // Into a raster too small for it the composition is cut, not overrun:
    // the baseline stays one row above the bottom, the tops are lost.
    std::vector<unsigned char> small(1, 0);
    vantix_font_create_raster(chars.data(), 2, small.data(), 3, 2);
    EXPECT_EQ(rows_of(small, 3, 2), (std::vector<std::string>{"#.#", "#.."}));
}

TEST(BlockFont, TextBecomesGlyphsWithTheReplacementForUnknownCodePoints) {
    const vantix_block_font_char *zero = &vantix_block_font[0];
    ASSERT_EQ(zero->charPoint, 0u);
    EXPECT_EQ(vantix_get_font_character(0x4E00), zero);
    EXPECT_EQ(vantix_get_font_character(-1), zero);
    EXPECT_EQ(vantix_get_font_character(INT32_MIN), zero);
    const vantix_block_font_char *a = vantix_get_font_character('A');
    EXPECT_EQ(a->charPoint, uint32_t{'A'});
    EXPECT_EQ(a->width, 4);
    EXPECT_EQ(a->height, 5);
    EXPECT_EQ(a->decent, 0);
    EXPECT_EQ(std::vector<unsigned char>(a->raster, a->raster + 3),
              (std::vector<unsigned char>{0x7D, 0x28, 0xF0}));
    for (const vantix_block_font_char &g : vantix_block_font)  // every glyph finds itself
        EXPECT_EQ(vantix_get_font_character(static_cast<int32_t>(g.charPoint)), &g) << g.charPoint;

    const uint32_t text[] = {'A', 0x4E00, 0xFFFFFFFFu, 0x2193};
    glyph_list out(4);
    vantix_font_get_from_string(text, out.data(), 4);
    EXPECT_EQ(out, (glyph_list{a, zero, zero, vantix_get_font_character(0x2193)}));

    // Bytes are unsigned whatever char is: 0xE9 is U+00E9.
    const char latin1[] = {'A', static_cast<char>(0xE9), static_cast<char>(0xFF)};
    vantix_font_get_from_cstring(latin1, out.data(), 3);
    EXPECT_EQ(out[1], vantix_get_font_character(0xE9));
    EXPECT_EQ(out[1]->charPoint, 0xE9u);
    EXPECT_EQ(out[2]->charPoint, 0xFFu);
}

TEST(BlockFont, AgComposesOnOneBaseline) {
    glyph_list chars(2);
    vantix_font_get_from_cstring("Ag", chars.data(), 2);
    const int32_t w = vantix_font_get_width(chars.data(), 2);
    const int32_t h = vantix_font_get_height(chars.data(), 2);
    ASSERT_EQ(w, 9);
    ASSERT_EQ(h, 6);
    std::vector<unsigned char> r((9 * 6 + 7) / 8, 0);
    vantix_font_create_raster(chars.data(), 2, r.data(), 9, 6);
    const auto rows = rows_of(r, 9, 6);
    EXPECT_EQ(rows[0].substr(0, 4), ".##.");
    EXPECT_EQ(rows[1].substr(0, 4), "#..#");
    EXPECT_EQ(rows[2].substr(0, 4), "####");
    EXPECT_EQ(rows[4].substr(0, 4), "#..#");
    EXPECT_EQ(rows[5].substr(0, 4), "....");
    EXPECT_EQ(rows[0].substr(4), ".....");  // gap column and g's first row empty
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(rows[y][4], '.') << y;
    // g fills rows 1 to 5 of columns 5 to 8: each of those rows has ink there.
    for (int y = 1; y < 6; ++y)
        EXPECT_NE(rows[y].substr(5).find('#'), std::string::npos) << y;
}

// The block font logs entry and exit of each call at FINEST, except the
// single-pixel functions; the bitmap and text functions never log.
TEST(BlockFont, CallsAreTracedExceptSinglePixelAccess) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_debug_init("graphics");
    struct record {
        std::string function, message;
        vantix_debug_level level;
        bool operator==(const record &) const = default;
    };
    static std::vector<record> seen;
    seen.clear();
    vantix_debug_handler capture{};
    capture.publish = [](vantix_debug_handler *, vantix_debug_message *m) {
        seen.push_back({m->function, m->message, m->level});
    };
    capture.level = VANTIX_DEBUG_LEVEL_FINEST;
    vantix_debug_add_handler(&capture);

    const glyph_list one{&block};
    unsigned char raster[1] = {};
    vantix_raster_setpixel(raster, 2, 2, 0, 0, 1);
    vantix_raster_getpixel(raster, 2, 2, 0, 0);
    const int32_t text[] = {'A', 0};
    EXPECT_EQ(enhanced_get_string_width(&vantix_default, text), 5u);
    EXPECT_TRUE(seen.empty());
    vantix_font_get_width(one.data(), 1);
    vantix_debug_remove_handler(&capture);
    vantix_debug_destroy();

    EXPECT_EQ(seen, (std::vector<record>{
                        {"vantix_font_get_width", "==> Entering Function", VANTIX_DEBUG_LEVEL_FINEST},
                        {"vantix_font_get_width", "<== Leaving Function", VANTIX_DEBUG_LEVEL_FINEST}}));
}

}  // namespace
