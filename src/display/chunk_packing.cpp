// SPDX-License-Identifier: Apache-2.0
// Chunk sizing and pixel packing for display transfers.
#include "display/chunk_packing.hpp"

#include <cmath>

namespace vantix::display {
namespace {

unsigned channel_sum(vantix_gcolor c) { return (c >> 24 & 0xFFu) + (c >> 16 & 0xFFu) + (c >> 8 & 0xFFu); }

// Writes bits, nibbles or bytes one after another, never past the payload.
class payload_writer {
public:
    explicit payload_writer(uint8_t (&out)[VANTIX_DISPLAY_CHUNK_PAYLOAD]) : out_(out) {}

    void bit(bool set) {
        if (set && bits_ / 8 < VANTIX_DISPLAY_CHUNK_PAYLOAD)
            out_[bits_ / 8] |= static_cast<uint8_t>(0x80u >> (bits_ % 8));
        ++bits_;
    }
    // The first pixel of a pair goes into the low nibble.
    void nibble(uint8_t level) {
        if (bits_ / 8 < VANTIX_DISPLAY_CHUNK_PAYLOAD)
            out_[bits_ / 8] |= static_cast<uint8_t>(bits_ % 8 ? level << 4 : level);
        bits_ += 4;
    }
    void byte(uint8_t value) {
        if (bits_ / 8 < VANTIX_DISPLAY_CHUNK_PAYLOAD)
            out_[bits_ / 8] = value;
        bits_ += 8;
    }

private:
    uint8_t (&out_)[VANTIX_DISPLAY_CHUNK_PAYLOAD];
    uint64_t bits_ = 0;
};

}  // namespace

bool supported_depth(int depth) { return depth == 1 || depth == 4 || depth == 8 || depth == 24; }

chunk_size plan_chunks(uint32_t width, uint32_t height, int depth) {
    const uint64_t d = depth > 0 ? static_cast<uint64_t>(depth) : 1, w = width, h = height;
    const uint64_t b = chunk_payload_bits;
    if (w * h * d < b)
        return {width, height};
    if (h < w && d * h < b)
        return {static_cast<uint32_t>(b / (d * h)), height};
    if (d * w < b)
        return {width, static_cast<uint32_t>(b / (d * w))};
    const auto side = static_cast<uint32_t>(std::sqrt(static_cast<double>(b / d)));
    return {side, side};
}

bool is_dark(vantix_gcolor color) { return channel_sum(color) < 384; }

// round(S / 3 / 255 * 15) = round(S / 51) in integers: S / 51 never ends in
// exactly one half, so there is no tie to break.
uint8_t grey_level(vantix_gcolor color) { return static_cast<uint8_t>((2 * channel_sum(color) + 51) / 102); }

void pack_rectangle(const vantix_bitmap &bmp, uint32_t x0, uint32_t y0, uint32_t w, uint32_t h, int depth,
                    uint8_t (&out)[VANTIX_DISPLAY_CHUNK_PAYLOAD]) {
    payload_writer writer(out);
    for (uint32_t x = x0; x < x0 + w; ++x)
        for (uint32_t y = y0; y < y0 + h; ++y) {
            const vantix_gcolor c = vantix_get_pixel(&bmp, static_cast<int32_t>(x), static_cast<int32_t>(y));
            switch (depth) {
            case 1: writer.bit(is_dark(c)); break;
            case 4:
            case 8: writer.nibble(grey_level(c)); break;
            default:
                writer.byte(static_cast<uint8_t>(c >> 24));
                writer.byte(static_cast<uint8_t>(c >> 16));
                writer.byte(static_cast<uint8_t>(c >> 8));
                break;
            }
        }
}

}  // namespace vantix::display
