// SPDX-License-Identifier: Apache-2.0
// Proportional Unicode fonts: glyph lookup, measuring and drawing.
#include <algorithm>
#include <limits>

#include "graphics/glyph_image.hpp"

namespace vantix::graphics {
namespace {

const vantix_font_char *find_glyph(const vantix_enhanced_font *font, int32_t code_point) {
    // The code points are ascending, so a binary search finds the same
    // (first) entry a scan from the start would.
    const int32_t *first = font->indexes, *last = font->indexes + font->glyphCount;
    const int32_t *at = std::lower_bound(first, last, code_point);
    return at != last && *at == code_point ? font->glyphs + (at - first) : nullptr;
}

const vantix_font_char *glyph_or_replacement(const vantix_enhanced_font *font, int32_t code_point) {
    if (!font || !font->indexes || !font->glyphs || font->glyphCount <= 0)
        return nullptr;
    const vantix_font_char *glyph = find_glyph(font, code_point);
    return glyph ? glyph : find_glyph(font, 0);
}

struct line_metrics {
    uint64_t width = 0;  // including the gap after the last glyph
    int64_t ascent = 0;
    int64_t descent = 0;
};

line_metrics measure(const vantix_enhanced_font *font, const int32_t *string) {
    line_metrics m;
    for (; string && *string; ++string) {
        const vantix_font_char *g = glyph_or_replacement(font, *string);
        if (!g)
            continue;
        m.width += g->width + 1u;
        m.ascent = std::max<int64_t>(m.ascent, int64_t{g->height} - g->decent);
        m.descent = std::max<int64_t>(m.descent, g->decent);
    }
    return m;
}

unsigned int saturated(uint64_t value) {
    return static_cast<unsigned int>(std::min<uint64_t>(value, std::numeric_limits<unsigned int>::max()));
}

void draw_glyph(vantix_bitmap *bmp, const vantix_enhanced_font *font, const vantix_font_char *g, int64_t x,
                int64_t y, vantix_gcolor color) {
    const size_t image_len = std::min<size_t>(g->rasterLen, sizeof g->raster);
    draw_glyph_image(bmp, g->raster, image_len, g->width, g->height, font->bitDepth, x, y, color);
}

// Draws the line with its baseline at y + ascent. The walk ends at the right
// edge of the bitmap, past which nothing more can appear.
void draw_line(vantix_bitmap *bmp, const vantix_enhanced_font *font, const int32_t *string, int64_t x,
               int64_t y, int64_t ascent, vantix_gcolor color) {
    if (is_empty(bmp))
        return;
    for (; string && *string && x < bmp->width; ++string) {
        const vantix_font_char *g = glyph_or_replacement(font, *string);
        if (!g)
            continue;
        draw_glyph(bmp, font, g, x, y + ascent - (int64_t{g->height} - g->decent), color);
        x += g->width + 1;
    }
}

}  // namespace
}  // namespace vantix::graphics

using namespace vantix::graphics;

extern "C" {

const vantix_font_char *enhanced_get_font_character(const vantix_enhanced_font *font, int32_t character) {
    return glyph_or_replacement(font, character);
}

size_t u_strlen32(const int32_t *string) {
    size_t n = 0;
    while (string && string[n])
        ++n;
    return n;
}

unsigned int enhanced_get_string_width(const vantix_enhanced_font *font, const int32_t *string) {
    return saturated(measure(font, string).width);
}

unsigned int enhanced_get_string_height(const vantix_enhanced_font *font, const int32_t *string) {
    const line_metrics m = measure(font, string);
    return saturated(static_cast<uint64_t>(m.ascent + m.descent));
}

void enhanced_draw_char(vantix_bitmap *bmp, const vantix_enhanced_font *font, int32_t chr, int32_t x,
                        int32_t y, vantix_gcolor color) {
    if (const vantix_font_char *g = glyph_or_replacement(font, chr))
        draw_glyph(bmp, font, g, x, y, color);
}

void enhanced_draw_string(vantix_bitmap *bmp, const vantix_enhanced_font *font, const int32_t *string,
                          int32_t x, int32_t y, vantix_gcolor color) {
    draw_line(bmp, font, string, x, y, measure(font, string).ascent, color);
}

void enhanced_draw_string_aligned(vantix_bitmap *bmp, const vantix_enhanced_font *font, const int32_t *string,
                                  int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                  vantix_string_alignment hAlign, vantix_string_alignment vAlign,
                                  vantix_gcolor color) {
    const box b = ordered(x0, y0, x1, y1);
    const line_metrics m = measure(font, string);
    const int64_t x = align_start(b.x0, b.x1, saturated(m.width), hAlign);
    const int64_t y = align_start(b.y0, b.y1, saturated(static_cast<uint64_t>(m.ascent + m.descent)), vAlign);
    draw_line(bmp, font, string, x, y, m.ascent, color);
}

}  // extern "C"
