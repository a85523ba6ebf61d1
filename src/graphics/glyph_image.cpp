// SPDX-License-Identifier: Apache-2.0
// Drawing glyph images and aligning text.
#include "graphics/glyph_image.hpp"

namespace vantix::graphics {

void draw_glyph_image(vantix_bitmap *bmp, const unsigned char *image, size_t image_len, int64_t width,
                      int64_t height, int32_t bit_depth, int64_t x, int64_t y, vantix_gcolor color) {
    if (!image || width <= 0 || height <= 0)
        return;
    // Pixel n of the image (row-major) lives in bit n or byte n. The walk
    // stops where the image data ends.
    const uint64_t pixels_in_data = bit_depth == 1 ? uint64_t{image_len} * 8 : uint64_t{image_len};
    uint64_t n = 0;
    for (int64_t row = 0; row < height; ++row) {
        for (int64_t col = 0; col < width; ++col, ++n) {
            if (n >= pixels_in_data)
                return;
            if (bit_depth == 1) {
                if ((image[n / 8] >> (7 - n % 8)) & 1)
                    plot(bmp, x + col, y + row, color);
            } else if (image[n] < 255) {
                plot(bmp, x + col, y + row, with_alpha(color, 255u - image[n]));
            }
        }
    }
}

int64_t align_start(int64_t lo, int64_t hi, int64_t extent, int alignment) {
    switch (alignment) {
    case VANTIX_ALIGN_MIDDLE: return lo + (hi - lo) / 2 - extent / 2;
    case VANTIX_ALIGN_END: return hi - extent;
    default: return lo;
    }
}

}  // namespace vantix::graphics
