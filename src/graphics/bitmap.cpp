// SPDX-License-Identifier: Apache-2.0
// Bitmaps that are at the same time 24-bit BMP file images, and their pixels.
#include "graphics/bitmap.hpp"

#include <cstring>
#include <limits>

namespace vantix::graphics {

namespace {

void put_le32(unsigned char *at, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
    at[2] = static_cast<unsigned char>(v >> 16);
    at[3] = static_cast<unsigned char>(v >> 24);
}

vantix_gcolor read_pixel(const vantix_bitmap *bmp, int64_t x, int64_t y) {
    const int64_t offset = pixel_offset(bmp, x, y);
    if (offset < 0)
        return white;
    const unsigned char *p = bmp->raster + offset;
    return uint32_t{p[2]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[0]} << 8 | 0xFFu;
}

}  // namespace

void plot(vantix_bitmap *bmp, int64_t x, int64_t y, vantix_gcolor color) {
    const int64_t offset = pixel_offset(bmp, x, y);
    if (offset < 0)
        return;
    if ((color & 0xFFu) != 0xFFu)
        color = vantix_color_blend(color, read_pixel(bmp, x, y));
    unsigned char *p = bmp->raster + offset;
    p[0] = static_cast<unsigned char>(color >> 8);
    p[1] = static_cast<unsigned char>(color >> 16);
    p[2] = static_cast<unsigned char>(color >> 24);
}

}  // namespace vantix::graphics

using namespace vantix::graphics;

extern "C" {

void vantix_bitmap_write_header(unsigned char *bmp, int32_t totalSize, int32_t arraySize, int32_t width,
                                int32_t height) {
    if (!bmp)
        return;
    // Only the non-zero bytes are written; the rest were cleared by init.
    bmp[0] = 'B';
    bmp[1] = 'M';
    put_le32(bmp + 2, totalSize);
    bmp[10] = header_size;
    bmp[14] = 40;
    put_le32(bmp + 18, width);
    put_le32(bmp + 22, height);
    bmp[26] = 1;
    bmp[28] = 24;
    put_le32(bmp + 34, arraySize);
}

void vantix_bitmap_init(vantix_bitmap *bmp, unsigned char *buffer, int32_t width, int32_t height) {
    if (!bmp)
        return;
    *bmp = vantix_bitmap{};
    if (!buffer || width <= 0 || height <= 0)
        return;
    // Refuse sizes whose file image does not fit the 32-bit size fields.
    const int64_t row_size = (24 * int64_t{width} + 31) / 32 * 4;
    if (row_size > (std::numeric_limits<int32_t>::max() - header_size) / height)
        return;
    const int64_t array_size = row_size * height;

    bmp->width = width;
    bmp->height = height;
    bmp->headerSize = header_size;
    bmp->rowSize = static_cast<int32_t>(row_size);
    bmp->arraySize = static_cast<int32_t>(array_size);
    bmp->totalSize = static_cast<int32_t>(array_size + header_size);
    std::memset(buffer, 0, header_size);
    bmp->bitmap = buffer;
    bmp->raster = buffer + header_size;
    std::memset(bmp->raster, 0xFF, static_cast<size_t>(array_size));
    vantix_bitmap_write_header(bmp->bitmap, bmp->totalSize, bmp->arraySize, width, height);
}

vantix_gcolor vantix_color_blend(vantix_gcolor fg, vantix_gcolor bg) {
    // Single precision throughout, one operation per statement so that no
    // compiler fuses them: the truncated results depend on every rounding.
    const float fa = static_cast<float>(fg & 0xFFu) / 255.0f;
    const float ba = static_cast<float>(bg & 0xFFu) / 255.0f;
    if (fa == 1.0f)
        return fg;
    if (fa < 0.000001f)
        return bg;
    const float fg_rest = 1.0f - fa;
    const float bg_rest = 1.0f - ba;
    const float uncovered = fg_rest * bg_rest;
    const float oa = 1.0f - uncovered;
    vantix_gcolor out = 0xFFu;
    for (int shift = 24; shift >= 8; shift -= 8) {
        const float fc = static_cast<float>((fg >> shift) & 0xFFu) / 255.0f;
        const float bc = static_cast<float>((bg >> shift) & 0xFFu) / 255.0f;
        const float fg_part = fc * fa / oa;
        const float bg_weight = bc * ba;
        const float bg_shown = bg_weight * fg_rest;
        const float bg_part = bg_shown / oa;
        const float sum = fg_part + bg_part;
        const float scaled = sum * 255.0f;
        const auto channel = static_cast<uint32_t>(std::min(std::max(scaled, 0.0f), 255.0f));
        out |= channel << shift;
    }
    return out;
}

void vantix_set_pixel(vantix_bitmap *bmp, int32_t x, int32_t y, vantix_gcolor color) {
    plot(bmp, x, y, color);
}

vantix_gcolor vantix_get_pixel(const vantix_bitmap *bmp, int32_t x, int32_t y) {
    return read_pixel(bmp, x, y);
}

void vantix_bitmap_clear(vantix_bitmap *bmp, vantix_gcolor color) {
    if (is_empty(bmp))
        return;
    for (int64_t y = 0; y < bmp->height; ++y)
        for (int64_t x = 0; x < bmp->width; ++x)
            plot(bmp, x, y, color);
}

void vantix_bitmap_copy(const vantix_bitmap *src, vantix_bitmap *dst, int32_t srcX, int32_t srcY,
                        int32_t dstX, int32_t dstY, int32_t width, int32_t height) {
    if (is_empty(dst))
        return;
    // Only the columns and rows that land inside dst are visited, in the
    // same order as a full walk, so an overlapping copy behaves the same.
    const span cols = clip(dstX, int64_t{dstX} + width - 1, dst->width);
    const span rows = clip(dstY, int64_t{dstY} + height - 1, dst->height);
    for (int64_t x = cols.lo; x <= cols.hi; ++x)
        for (int64_t y = rows.lo; y <= rows.hi; ++y)
            plot(dst, x, y, read_pixel(src, srcX + (x - dstX), srcY + (y - dstY)));
}

}  // extern "C"
