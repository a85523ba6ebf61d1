// SPDX-License-Identifier: Apache-2.0
// One-bit rasters in column order: pixel (x, y) of a raster `height` pixels
// high is bit height * x + y, most significant bit of each byte first.
#pragma once

#include <cstdint>

namespace vantix::graphics {

// Bytes a width x height raster occupies.
inline uint64_t raster_bytes(uint32_t width, uint32_t height) { return (uint64_t{width} * height + 7) / 8; }

// Copies a source raster whose data spans `source_len` bytes into `dest` at
// (dest_x, dest_y). Destination pixels outside dest_width x dest_height are
// dropped; source bits at or past `source_len` bytes read as blank.
void copy_raster(const unsigned char *source, uint64_t source_len, uint32_t source_width,
                 uint32_t source_height, unsigned char *dest, uint32_t dest_width, uint32_t dest_height,
                 int64_t dest_x, int64_t dest_y);

}  // namespace vantix::graphics
