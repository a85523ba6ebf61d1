// SPDX-License-Identifier: Apache-2.0
// Pictures the tool reads and writes: 8-bit red, green, blue, row by row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tool {

struct image {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3

    image() = default;
    image(unsigned w, unsigned h, std::uint8_t fill = 255)
        : width(w), height(h), rgb(std::size_t{w} * h * 3, fill) {}
    std::uint8_t *at(unsigned x, unsigned y) { return &rgb[(std::size_t{y} * width + x) * 3]; }
    const std::uint8_t *at(unsigned x, unsigned y) const { return &rgb[(std::size_t{y} * width + x) * 3]; }
};

// PNG (any colour type, alpha laid over white) and uncompressed BMP (1, 4,
// 8, 24 or 32 bits); both throw std::runtime_error naming the file.
image read_png(const std::string &path);
image read_bmp(const std::string &path);
// By extension (.png, .bmp), case-insensitive.
image read_picture(const std::string &path);
void write_png(const std::string &path, const image &picture);

// `picture` scaled to fit w x h keeping its aspect, centred on white.
image fit(const image &picture, unsigned w, unsigned h);
// Black and white by Floyd-Steinberg error diffusion on luminance.
void dither_to_black_and_white(image &picture);

}  // namespace tool
