// SPDX-License-Identifier: Apache-2.0
// The virtual pad's display memory.
#include "padsim/screen.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace padsim {

screen::screen(std::uint16_t width, std::uint16_t height, std::uint8_t depth)
    : width_(width), height_(height), depth_(depth), pixels_(std::size_t{width} * height, white) {}

rgb screen::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return white;
    return pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)];
}

rgb screen::quantised(rgb c) const {
    const unsigned sum = unsigned{c.r} + c.g + c.b;
    if (depth_ <= 1)
        return sum < 384 ? black : white;
    if (depth_ <= 8) {
        const auto grey = static_cast<std::uint8_t>(std::lround(sum / 51.0) * 17);
        return {grey, grey, grey};
    }
    return c;
}

void screen::set(int x, int y, rgb colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] = quantised(colour);
}

void screen::fill(pixel_box box, rgb colour) {
    for (int y = std::max(box.y1, 0); y <= std::min(box.y2, height_ - 1); ++y)
        for (int x = std::max(box.x1, 0); x <= std::min(box.x2, width_ - 1); ++x)
            set(x, y, colour);
}

void screen::line(int x0, int y0, int x1, int y1, unsigned width, rgb colour, pixel_box clip) {
    const int pen = static_cast<int>(std::max(width, 1u));
    const int before = (pen - 1) / 2, after = pen / 2;
    auto dab = [&](int x, int y) {
        fill(clipped({x - before, y - before, x + after, y + after}, clip), colour);
    };
    // Bresenham, every step of the pen stamped.
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (true) {
        dab(x0, y0);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

}  // namespace padsim
