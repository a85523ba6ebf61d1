// SPDX-License-Identifier: Apache-2.0
// Block font text: measuring a glyph list and composing it into a raster.
#include "graphics/block_font.hpp"

#include <algorithm>
#include <limits>

#include "debug/log.hpp"
#include "graphics/bit_raster.hpp"

namespace vantix::graphics {

const vantix_block_font_char *find_block_glyph(const vantix_block_font_char *table, size_t count,
                                               int64_t code_point) {
    // Ascending code points: a binary search finds the entry a scan would.
    auto find = [&](int64_t wanted) -> const vantix_block_font_char * {
        const vantix_block_font_char *end = table + count;
        const vantix_block_font_char *at = std::lower_bound(
            table, end, wanted, [](const vantix_block_font_char &g, int64_t cp) { return g.charPoint < cp; });
        return at != end && at->charPoint == wanted ? at : nullptr;
    };
    if (!table)
        return nullptr;
    const vantix_block_font_char *glyph = find(code_point);
    return glyph ? glyph : find(0);
}

namespace {

struct glyph_extent {
    int64_t ascent = 0;
    int64_t descent = 0;
};

// Null entries of a glyph list are skipped by every measurement.
glyph_extent vertical_extent(const vantix_block_font_char *const *chars, uint32_t len) {
    glyph_extent e;
    for (uint32_t i = 0; chars && i < len; ++i)
        if (chars[i]) {
            e.ascent = std::max<int64_t>(e.ascent, int64_t{chars[i]->height} - chars[i]->decent);
            e.descent = std::max<int64_t>(e.descent, chars[i]->decent);
        }
    return e;
}

}  // namespace
}  // namespace vantix::graphics

using namespace vantix::graphics;

extern "C" {

int32_t vantix_font_get_width(const vantix_block_font_char *const *chars, uint32_t len) {
    VANTIX_TRACE_CALL();
    int64_t width = 0;
    for (uint32_t i = 0; chars && i < len; ++i)
        if (chars[i])
            width += chars[i]->width + 1;
    return static_cast<int32_t>(std::min<int64_t>(width - 1, std::numeric_limits<int32_t>::max()));
}

int32_t vantix_font_get_height(const vantix_block_font_char *const *chars, uint32_t len) {
    VANTIX_TRACE_CALL();
    const glyph_extent e = vertical_extent(chars, len);
    return static_cast<int32_t>(e.ascent + e.descent);
}

void vantix_font_create_raster(const vantix_block_font_char *const *chars, uint32_t len,
                               unsigned char *raster, uint32_t width, uint32_t height) {
    VANTIX_TRACE_CALL();
    if (!chars || !raster)
        return;
    // Every glyph's baseline lies `baseline_up` rows above the bottom row.
    const int64_t baseline_up = vertical_extent(chars, len).descent;
    int64_t x = 0;
    for (uint32_t i = 0; i < len && x < width; ++i) {
        const vantix_block_font_char *g = chars[i];
        if (!g)
            continue;
        const int64_t row = int64_t{height} + g->decent - g->height - baseline_up;
        const uint64_t image_len = std::min<uint64_t>(g->rasterLen, sizeof g->raster);
        copy_raster(g->raster, image_len, g->width, g->height, raster, width, height, x, row);
        x += g->width + 1;
    }
}

}  // extern "C"
