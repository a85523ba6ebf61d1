// SPDX-License-Identifier: Apache-2.0
// Pixel read-back of the pad firmware.
#include "pixels.hpp"

#include <algorithm>

#include "padsim/transfer.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::size_t first_pixel = 7, pixel_size = 4;
constexpr std::size_t most_pixels = (VANTIX_FEATURE_PIXELS_SIZE - first_pixel) / pixel_size;

}  // namespace

outcome pixel_reader::locate(const screen &display, const wire::bytes &report) {
    const point wanted{wire::get16(report, 1), wire::get16(report, 3)};
    if (wanted.x >= display.width() || wanted.y >= display.height())
        return refusal{pad_error::bad_value, "Pixel position is off the display.\n"};
    at_ = wanted;
    return std::nullopt;
}

wire::bytes pixel_reader::read(const screen &display) const {
    wire::bytes r = wire::blank(VANTIX_FEATURE_PIXELS, VANTIX_FEATURE_PIXELS_SIZE);
    const std::size_t width = display.width(), total = width * display.height();
    const std::size_t from = std::size_t{at_.y} * width + at_.x;
    const std::size_t count = from < total ? std::min(most_pixels, total - from) : 0;
    wire::put16(r, 1, at_.x);
    wire::put16(r, 3, at_.y);
    wire::put16(r, 5, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const rgb pixel = display.pixels()[from + i];
        const std::size_t at = first_pixel + pixel_size * i;
        r.at(at) = 0xFF;
        r.at(at + 1) = pixel.r;
        r.at(at + 2) = pixel.g;
        r.at(at + 3) = pixel.b;
    }
    return r;
}

}  // namespace padsim
