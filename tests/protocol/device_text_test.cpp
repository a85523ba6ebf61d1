// SPDX-License-Identifier: Apache-2.0
// Text on the pad: character sets, placement and its refusals, inverting,
// and the depth the text travels at.
#include <cstdlib>
#include <string>

#include "graphics/canvas.hpp"
#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;

std::vector<int32_t> code_points(const std::string &data, const char *encoding) {
    size_t count = 99;
    int32_t *points = parse_string_encoding(data.data(), data.size(), encoding, &count);
    if (!points)
        return {-1};
    std::vector<int32_t> out(points, points + count + 1);  // with the terminator
    std::free(points);
    return out;
}

TEST(parse_string_encoding, ConvertsAnyIcuCharacterSet) {
    const std::vector<int32_t> gruesse{'G', 'r', 0xFC, 0xDF, 'e', 0};
    EXPECT_EQ(code_points("Gr\xC3\xBC\xC3\x9F"
                          "e",
                          "utf-8"),
              gruesse);
    EXPECT_EQ(code_points("Gr\xFC\xDF"
                          "e",
                          "ISO-8859-1"),
              gruesse);
    EXPECT_EQ(code_points("\x93\xFA\x96\x7B", "Shift_JIS"), (std::vector<int32_t>{0x65E5, 0x672C, 0}));
    EXPECT_EQ(code_points(std::string("ab\0cd", 5), "utf-8"), (std::vector<int32_t>{'a', 'b', 0}));

    const std::vector<int32_t> refused{-1};
    EXPECT_EQ(code_points("", "utf-8"), refused);
    EXPECT_EQ(code_points("\xFF\xFE", "utf-8"), refused);  // malformed
    EXPECT_EQ(code_points("abc", "no-such-charset"), refused);
    size_t count = 0;
    EXPECT_EQ(parse_string_encoding(nullptr, 3, "utf-8", &count), nullptr);
}

struct device_text : vantix::test::sim_pad_test {
    explicit device_text(const padsim::model &m = padsim::model{}) : sim_pad_test(m) {
        EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        pad->clear_transfers();
    }
    ~device_text() override { vantix_close_device(device); }

    // The x, y, width, height and depth of the last chunk sent.
    std::vector<unsigned> last_chunk() const {
        const bytes c = last_set(VANTIX_FEATURE_UPDATEDISPLAYCHUNK);
        if (c.size() < 10)
            return {};
        auto be = [&c](size_t at) { return unsigned{c[at]} << 8 | c[at + 1]; };
        return {be(1), be(3), be(5), be(7), c[9]};
    }
    bool dark(int x, int y) const { return pad->display().at(x, y) == padsim::black; }
};

TEST_F(device_text, DrawsWhatTheFontRendersWhereAsked) {
    const char *text = "Please sign below";
    const unsigned w = vantix_measure_text_width(device, text), h = vantix_measure_text_height(device, text);
    ASSERT_GT(w, 0u);
    ASSERT_GT(h, 0u);
    ASSERT_EQ(vantix_device_draw_text(device, text, 10, 3, VANTIX_ALIGN_LEFT, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_chunk(), (std::vector<unsigned>{10, 3, w, h, 1}));

    // The pad shows exactly the font's rendering.
    vantix::test::canvas expected(static_cast<int32_t>(w), static_cast<int32_t>(h));
    const int32_t points[] = {'P', 'l', 'e', 'a', 's', 'e', ' ', 's', 'i',
                              'g', 'n', ' ', 'b', 'e', 'l', 'o', 'w', 0};
    enhanced_draw_string(&expected.bmp, &vantix_default, points, 0, 0, 0x000000FF);
    int wrong = 0;
    for (int y = 0; y < static_cast<int>(h); ++y)
        for (int x = 0; x < static_cast<int>(w); ++x)
            wrong += dark(10 + x, 3 + y) != (vantix_get_pixel(&expected.bmp, x, y) == 0x000000FF);
    EXPECT_EQ(wrong, 0);
}

TEST_F(device_text, AlignmentMovesX) {
    const char *text = "OK";
    const unsigned w = vantix_measure_text_width(device, text);
    ASSERT_EQ(vantix_device_draw_text(device, text, 100, 0, VANTIX_ALIGN_CENTER, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_chunk().at(0), 100 - w / 2);
    ASSERT_EQ(vantix_device_draw_text(device, text, 100, 0, VANTIX_ALIGN_RIGHT, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_chunk().at(0), 100 - w);
}

TEST_F(device_text, PlacementErrorsSendNothing) {
    const char *text = "Sign";
    const unsigned w = vantix_measure_text_width(device, text), h = vantix_measure_text_height(device, text);
    struct placement {
        unsigned x, y;
        vantix_font_alignment alignment;
        const char *error;  // nullptr: drawn
    } cases[] = {
        {w - 1, 0, VANTIX_ALIGN_RIGHT, "Requested coordinate is off the screen in the horizontal direction."},
        {241, 0, VANTIX_ALIGN_LEFT, "Requested coordinate is off the screen in the horizontal direction."},
        {241 - w, 0, VANTIX_ALIGN_LEFT,
         "Requested string would draw off the screen in the horizontal direction."},
        {0, 65, VANTIX_ALIGN_LEFT, "Requested coordinate is off the screen in the vertical direction."},
        {0, 65 - h, VANTIX_ALIGN_LEFT,
         "Requested string would draw off the screen in the vertical direction."},
        {240 - w, 64 - h, VANTIX_ALIGN_LEFT, nullptr},  // ends exactly on both edges
    };
    for (const placement &c : cases) {
        pad->clear_transfers();
        const vantix_error_code drawn = vantix_device_draw_text(device, text, c.x, c.y, c.alignment, 0);
        if (c.error) {
            EXPECT_EQ(drawn, VANTIX_CODE_ERROR) << c.x << "," << c.y;
            EXPECT_STREQ(vantix_get_last_error(), c.error);
            EXPECT_TRUE(wire().empty());
        } else {
            EXPECT_EQ(drawn, VANTIX_CODE_SUCCESS);
        }
    }
    EXPECT_EQ(vantix_device_draw_text(device, "", 0, 0, VANTIX_ALIGN_LEFT, 0), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "String encoding problem, unable to convert string.");
    EXPECT_EQ(vantix_device_draw_text_encoded(device, "abc", 3, 0, 0, VANTIX_ALIGN_LEFT, 0, "nonsense"),
              VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_measure_text_width_encoding(device, "abc", 3, "nonsense"), 0u);
}

TEST_F(device_text, InvertDrawsWhiteOnBlack) {
    ASSERT_EQ(vantix_device_draw_text(device, "I", 0, 0, VANTIX_ALIGN_LEFT, 1), VANTIX_CODE_SUCCESS);
    const unsigned w = vantix_measure_text_width(device, "I"), h = vantix_measure_text_height(device, "I");
    int background = 0, glyph = 0;
    for (int y = 0; y < static_cast<int>(h); ++y)
        for (int x = 0; x < static_cast<int>(w); ++x)
            (dark(x, y) ? background : glyph)++;
    EXPECT_GT(glyph, 0);
    EXPECT_GT(background, glyph);  // the box is mostly background, now dark
}

TEST_F(device_text, CharactersTheFontLacksDrawItsReplacementGlyph) {
    // U+4E00 is not in the built-in font.
    const char *text = "\xE4\xB8\x80";
    EXPECT_EQ(vantix_measure_text_width(device, text),
              enhanced_get_font_character(&vantix_default, 0)->width + 1u);
    EXPECT_EQ(vantix_device_draw_text(device, text, 0, 0, VANTIX_ALIGN_LEFT, 0), VANTIX_CODE_SUCCESS);
}

TEST_F(device_text, DepthIsTheSmallerOfFontAndDisplay) {
    // A font claiming eight bits per pixel still travels at the display's one.
    vantix_enhanced_font deep = vantix_default;
    deep.bitDepth = 8;
    device->font = &deep;
    ASSERT_EQ(vantix_device_draw_text(device, "a", 0, 0, VANTIX_ALIGN_LEFT, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_chunk().at(4), 1u);
    device->display_info.color_depth = 24;
    ASSERT_EQ(vantix_device_draw_text(device, "a", 0, 0, VANTIX_ALIGN_LEFT, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_chunk().at(4), 8u);
    device->font = const_cast<vantix_enhanced_font *>(&vantix_default);
}

}  // namespace
