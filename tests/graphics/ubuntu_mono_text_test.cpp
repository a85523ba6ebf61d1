// Text in the shipped Ubuntu Mono fonts: monospaced measures, code points
// outside their set, and the fixed-font variants.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "vantix-zelnar.h"

namespace {

constexpr vantix_gcolor white = 0xFFFFFFFF, black = 0x000000FF;

struct canvas {
    std::vector<unsigned char> buffer;
    vantix_bitmap bmp{};
    canvas(int32_t w, int32_t h) : buffer(54 + static_cast<size_t>((24 * w + 31) / 32 * 4 * h)) {
        vantix_bitmap_init(&bmp, buffer.data(), w, h);
    }
    std::vector<vantix_gcolor> pixels() const {
        std::vector<vantix_gcolor> out;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x)
                out.push_back(vantix_get_pixel(&bmp, x, y));
        return out;
    }
};

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

TEST(UbuntuMonoText, LookupAgreesWithALinearScan) {
    for (const vantix_enhanced_font *font :
         {&ubuntu_mono_e_12pt, &ubuntu_mono_e_16pt, &ubuntu_mono_e_24pt, &ubuntu_mono_e_30pt})
        for (int32_t cp = -2; cp < 0x2200; ++cp) {
            const vantix_font_char *expected = nullptr;
            for (int32_t i = 0; i < font->glyphCount && !expected; ++i)
                if (font->indexes[i] == cp)
                    expected = &font->glyphs[i];
            ASSERT_EQ(enhanced_get_font_character(font, cp), expected) << cp;
        }
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
