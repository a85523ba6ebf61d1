// SPDX-License-Identifier: Apache-2.0
// Display chunks as the pad firmware unpacks them.
#include "display.hpp"

#include <cstdio>

#include "padsim/transfer.hpp"
#include "vantix-zelnar.h"

namespace padsim::display {
namespace {

constexpr std::size_t header = 10, payload = 2039;

// Reads the packed pixels in order: bits from the top bit down, nibbles
// low first, or red-green-blue triples.
class unpacker {
public:
    unpacker(const wire::bytes &report, unsigned depth) : report_(report), depth_(depth) {}

    rgb next() {
        const std::size_t byte = header + bit_ / 8;
        const unsigned shift = bit_ % 8;
        rgb pixel;
        if (depth_ == 1) {
            pixel = report_.at(byte) & (0x80u >> shift) ? black : white;
            bit_ += 1;
        } else if (depth_ == 4 || depth_ == 8) {
            const auto grey = static_cast<std::uint8_t>((report_.at(byte) >> shift & 0x0Fu) * 17);
            pixel = {grey, grey, grey};
            bit_ += 4;
        } else {
            pixel = {report_.at(byte), report_.at(byte + 1), report_.at(byte + 2)};
            bit_ += 24;
        }
        return pixel;
    }

private:
    const wire::bytes &report_;
    unsigned depth_;
    std::size_t bit_ = 0;
};

unsigned packed_bits(unsigned depth) { return depth == 8 ? 4 : depth; }

template <typename... Args>
refusal refuse(std::uint16_t code, const char *fmt, Args... args) {
    char text[96];
    std::snprintf(text, sizeof text, fmt, args...);
    return {code, text};
}

}  // namespace

outcome draw_chunk(screen &display, const wire::bytes &report) {
    if (report.size() < header + payload)
        return refuse(pad_error::bad_length, "Display chunk is %zu bytes, not %zu.\n", report.size(),
                      header + payload);
    const unsigned x = wire::get_be16(report, 1), y = wire::get_be16(report, 3);
    const unsigned width = wire::get_be16(report, 5), height = wire::get_be16(report, 7), depth = report[9];
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24)
        return refuse(pad_error::bad_value, "Display chunk depth %u is not 1, 4, 8 or 24.\n", depth);
    const unsigned long bits = static_cast<unsigned long>(width) * height * packed_bits(depth);
    if (bits > payload * 8)
        return refuse(pad_error::bad_length, "Display chunk needs %lu bits, the payload holds %zu.\n", bits,
                      payload * 8);
    unpacker pixels(report, depth);
    for (unsigned column = 0; column < width; ++column)
        for (unsigned row = 0; row < height; ++row)
            display.set(static_cast<int>(x + column), static_cast<int>(y + row), pixels.next());
    return std::nullopt;
}

void set_content(screen &display, std::uint8_t content) {
    if (content == 0)
        display.clear();
}

void show_store_change(screen &display, const std::vector<region> &regions, const wire::bytes &report) {
    const std::uint8_t id = report.at(0);
    if (id == VANTIX_FEATURE_ACTIVE_SCREEN) {
        display.clear();
        return;
    }
    if (id == VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD) {
        if (report.at(1) == VANTIX_SCREEN_REGION_FACTORY_DEFAULTS)
            show_buttons(display, regions);
        return;
    }
    if (id != VANTIX_FEATURE_REGIONSET && id != VANTIX_FEATURE_REGION)
        return;
    const std::uint8_t number = report.at(1);
    if (number < 1 || number > regions.size())
        return;
    const region &r = regions[number - 1u];
    if (r.type != VANTIX_REGION_TYPE_CONTAINER || !r.visible || !r.in_use)
        return;
    display.fill({r.x1, r.y1, r.x2, r.y2}, colour_of(r.background, white));
}

}  // namespace padsim::display
