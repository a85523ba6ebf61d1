// SPDX-License-Identifier: Apache-2.0
// The virtual pad's display: a picture of the display's size whose pixels
// hold only what the display's depth can show (black and white at depth 1,
// sixteen greys at depths 4 and 8, colour at 24), as display chunks and
// ink left them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace padsim {

struct rgb {
    std::uint8_t r = 255, g = 255, b = 255;
    bool operator==(const rgb &) const = default;
};

inline constexpr rgb white{255, 255, 255};
inline constexpr rgb black{0, 0, 0};

// An inclusive rectangle of display pixels.
struct pixel_box {
    int x1 = 0, y1 = 0, x2 = -1, y2 = -1;
};

// The part of `box` inside `clip`.
inline pixel_box clipped(pixel_box box, pixel_box clip) {
    return {std::max(box.x1, clip.x1), std::max(box.y1, clip.y1), std::min(box.x2, clip.x2),
            std::min(box.y2, clip.y2)};
}

class screen {
public:
    screen(std::uint16_t width, std::uint16_t height, std::uint8_t depth);

    std::uint16_t width() const { return width_; }
    std::uint16_t height() const { return height_; }
    std::uint8_t depth() const { return depth_; }
    // White outside the display.
    rgb at(int x, int y) const;
    const std::vector<rgb> &pixels() const { return pixels_; }

    // What the display shows for `colour` at its depth.
    rgb quantised(rgb colour) const;
    // Drawing clips to the display (and to `clip` where given).
    void set(int x, int y, rgb colour);
    void fill(pixel_box box, rgb colour);
    void clear() { fill({0, 0, width_ - 1, height_ - 1}, white); }
    // A line of `width` pixels from a to b, as a square pen dragged along it.
    void line(int x0, int y0, int x1, int y1, unsigned width, rgb colour, pixel_box clip);

    // Writes the picture as an 8-bit RGB PNG file; false (errno-style text
    // in `error`) when it cannot be written.
    bool write_png(const std::string &path, std::string *error = nullptr) const;

private:
    std::uint16_t width_, height_;
    std::uint8_t depth_;
    std::vector<rgb> pixels_;
};

}  // namespace padsim
