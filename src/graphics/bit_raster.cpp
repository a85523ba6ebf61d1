// SPDX-License-Identifier: Apache-2.0
// One-bit column-order rasters: copy, read and write single pixels.
#include "graphics/bit_raster.hpp"

#include <algorithm>

#include "debug/log.hpp"
#include "vantix-zelnar.h"

namespace vantix::graphics {
namespace {

bool bit(const unsigned char *raster, uint64_t n) { return (raster[n / 8] >> (7 - n % 8)) & 1; }

void put_bit(unsigned char *raster, uint64_t n, bool on) {
    const auto mask = static_cast<unsigned char>(0x80u >> (n % 8));
    if (on)
        raster[n / 8] |= mask;
    else
        raster[n / 8] &= static_cast<unsigned char>(~mask);
}

bool inside(uint32_t width, uint32_t height, int64_t x, int64_t y) {
    return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

void copy_raster(const unsigned char *source, uint64_t source_len, uint32_t source_width,
                 uint32_t source_height, unsigned char *dest, uint32_t dest_width, uint32_t dest_height,
                 int64_t dest_x, int64_t dest_y) {
    if (!source || !dest)
        return;
    // Only source columns and rows that land in the destination are visited.
    const int64_t sx_end = std::min<int64_t>(source_width, int64_t{dest_width} - dest_x);
    const int64_t sy_end = std::min<int64_t>(source_height, int64_t{dest_height} - dest_y);
    for (int64_t sx = std::max<int64_t>(0, -dest_x); sx < sx_end; ++sx) {
        for (int64_t sy = std::max<int64_t>(0, -dest_y); sy < sy_end; ++sy) {
            const uint64_t from =
                uint64_t{source_height} * static_cast<uint64_t>(sx) + static_cast<uint64_t>(sy);
            const bool on = from / 8 < source_len && bit(source, from);
            put_bit(dest,
                    uint64_t{dest_height} * static_cast<uint64_t>(dest_x + sx) +
                        static_cast<uint64_t>(dest_y + sy),
                    on);
        }
    }
}

}  // namespace vantix::graphics

using namespace vantix::graphics;

extern "C" {

void vantix_raster_copy(const unsigned char *source, uint32_t sourceWidth, uint32_t sourceHeight,
                        unsigned char *dest, uint32_t destWidth, uint32_t destHeight, uint32_t destX,
                        uint32_t destY) {
    VANTIX_TRACE_CALL();
    copy_raster(source, raster_bytes(sourceWidth, sourceHeight), sourceWidth, sourceHeight, dest, destWidth,
                destHeight, destX, destY);
}

unsigned char vantix_raster_getpixel(const unsigned char *raster, uint32_t width, uint32_t height, uint32_t x,
                                     uint32_t y) {
    if (!raster || !inside(width, height, x, y))
        return 0;
    return bit(raster, uint64_t{height} * x + y) ? 1 : 0;
}

void vantix_raster_setpixel(unsigned char *raster, uint32_t width, uint32_t height, uint32_t x, uint32_t y,
                            unsigned char on) {
    if (raster && inside(width, height, x, y))
        put_bit(raster, uint64_t{height} * x + y, on != 0);
}

}  // extern "C"
