// SPDX-License-Identifier: Apache-2.0
// Monospaced fonts addressed by 8-bit character codes.
#include <algorithm>
#include <cstring>

#include "graphics/glyph_image.hpp"

namespace vantix::graphics {
namespace {

bool usable(const vantix_font *font) {
    return font && font->indexes && font->glyphs && font->glyphCount > 0 && font->charByteLen > 0;
}

const unsigned char *lookup(const vantix_font *font, unsigned char code) {
    if (!usable(font))
        return nullptr;
    for (int64_t i = 0; i < font->glyphCount; ++i)
        if (font->indexes[i] == code)
            return font->glyphs + i * font->charByteLen;
    return nullptr;
}

void draw_fixed_char(vantix_bitmap *bmp, const vantix_font *font, unsigned char code, int64_t x, int64_t y,
                     vantix_gcolor color) {
    const unsigned char *glyph = lookup(font, code);
    if (glyph)
        draw_glyph_image(bmp, glyph, static_cast<size_t>(font->charByteLen), font->charWidth,
                         font->charHeight, font->bitDepth, x, y, color);
}

// A missing glyph still advances the pen by one cell. The walk ends at the
// right edge of the bitmap, past which nothing more can appear.
void draw_fixed_string(vantix_bitmap *bmp, const vantix_font *font, const char *string, int64_t x, int64_t y,
                       vantix_gcolor color) {
    if (is_empty(bmp) || !usable(font) || !string || font->charWidth <= 0 || font->charHeight <= 0)
        return;
    for (; *string && x < bmp->width; ++string, x += font->charWidth)
        draw_fixed_char(bmp, font, static_cast<unsigned char>(*string), x, y, color);
}

}  // namespace
}  // namespace vantix::graphics

using namespace vantix::graphics;

extern "C" {

const unsigned char *vantix_font_char_lookup(const vantix_font *font, char c) {
    return lookup(font, static_cast<unsigned char>(c));
}

void vantix_draw_char(vantix_bitmap *bmp, const vantix_font *font, char chr, int32_t x, int32_t y,
                      vantix_gcolor color) {
    draw_fixed_char(bmp, font, static_cast<unsigned char>(chr), x, y, color);
}

void vantix_draw_string(vantix_bitmap *bmp, const vantix_font *font, const char *string, int32_t x, int32_t y,
                        vantix_gcolor color) {
    draw_fixed_string(bmp, font, string, x, y, color);
}

void vantix_draw_string_aligned(vantix_bitmap *bmp, const vantix_font *font, const char *string, int32_t x0,
                                int32_t y0, int32_t x1, int32_t y1, vantix_string_alignment hAlign,
                                vantix_string_alignment vAlign, vantix_gcolor color) {
    if (!usable(font) || !string)
        return;
    const box b = ordered(x0, y0, x1, y1);
    // Lengths beyond 2^31 bytes are placed as 2^31, which keeps the text
    // width within 64 bits.
    const auto n = static_cast<int64_t>(std::min<size_t>(std::strlen(string), size_t{1} << 31));
    const int64_t w = n * font->charWidth;
    const int64_t x = align_start(b.x0, b.x1, w, hAlign);
    const int64_t y = align_start(b.y0, b.y1, font->charHeight, vAlign);
    draw_fixed_string(bmp, font, string, x, y, color);
}

}  // extern "C"
