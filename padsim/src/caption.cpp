// SPDX-License-Identifier: Apache-2.0
// Captions in the block font.
#include "caption.hpp"

#include <algorithm>

#include "vantix-zelnar.h"

namespace padsim::caption {
namespace {

constexpr int largest_scale = 3, margin = 1;

// The table is read directly: its lookup functions trace every call, and
// painting the display at power-on should not fill a host's log.
const vantix_block_font_char &glyph(unsigned char c) {
    const vantix_block_font_char *begin = vantix_block_font, *end = begin + VANTIX_BLOCK_FONT_GLYPH_COUNT;
    const auto *at = std::lower_bound(
        begin, end, std::uint32_t{c},
        [](const vantix_block_font_char &g, std::uint32_t code) { return g.charPoint < code; });
    return at != end && at->charPoint == c ? *at : *begin;  // code point 0: the box
}

// Pixel (x, y) of a glyph: bit height * x + y of its column-order raster,
// top bit first.
bool lit(const vantix_block_font_char &g, int x, int y) {
    const std::size_t bit = std::size_t{g.height} * static_cast<std::size_t>(x) + static_cast<std::size_t>(y);
    const std::size_t bits = std::min<std::size_t>(g.rasterLen, sizeof g.raster) * 8;
    return bit < bits && (g.raster[bit / 8] & (0x80u >> bit % 8));
}

// Glyphs side by side one pixel apart, on a common baseline.
struct layout {
    int width = -1, ascent = 0, descent = 0;
    int height() const { return ascent + descent; }
};

layout measure(const std::string &text) {
    layout l;
    for (unsigned char c : text) {
        const vantix_block_font_char &g = glyph(c);
        l.width += g.width + 1;
        l.ascent = std::max(l.ascent, g.height - g.decent);
        l.descent = std::max<int>(l.descent, g.decent);
    }
    return l;
}

}  // namespace

void draw_centred(screen &display, const std::string &text, pixel_box box, rgb colour) {
    const layout l = measure(text);
    if (l.width <= 0 || l.height() <= 0)
        return;
    const int room_x = box.x2 - box.x1 + 1 - 2 * margin, room_y = box.y2 - box.y1 + 1 - 2 * margin;
    const int scale = std::clamp(std::min(room_x / l.width, room_y / l.height()), 1, largest_scale);
    int x = box.x1 + (box.x2 - box.x1 + 1 - l.width * scale) / 2;
    const int baseline = box.y1 + (box.y2 - box.y1 + 1 - l.height() * scale) / 2 + l.ascent * scale;
    for (unsigned char c : text) {
        const vantix_block_font_char &g = glyph(c);
        const int top = baseline - (g.height - g.decent) * scale;
        for (int gx = 0; gx < g.width; ++gx)
            for (int gy = 0; gy < g.height; ++gy)
                if (lit(g, gx, gy)) {
                    const int px = x + gx * scale, py = top + gy * scale;
                    display.fill(clipped({px, py, px + scale - 1, py + scale - 1}, box), colour);
                }
        x += (g.width + 1) * scale;
    }
}

}  // namespace padsim::caption
