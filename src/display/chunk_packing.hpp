// SPDX-License-Identifier: Apache-2.0
// Cutting a bitmap into display chunks and packing their pixels. Pure
// functions: the transfer and the benchmarks drive them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vantix-zelnar.h"

namespace vantix::display {

// The payload of one chunk, in bits.
inline constexpr uint64_t chunk_payload_bits = VANTIX_DISPLAY_CHUNK_PAYLOAD * 8;

// Depths a chunk can carry; for every other depth the sizing below would
// let more pixels into a chunk than its payload holds.
bool supported_depth(int depth);

// The size of the rectangles a W x H bitmap is cut into at `depth`: the
// whole bitmap when it fits, else full-height strips, full-width strips or
// square tiles, whichever comes first.
struct chunk_size {
    uint32_t width;
    uint32_t height;
};
chunk_size plan_chunks(uint32_t width, uint32_t height, int depth);

// One pixel as the pad sees it: dark at depth 1, a grey level 0..15 at
// depths 4 and 8.
bool is_dark(vantix_gcolor color);
uint8_t grey_level(vantix_gcolor color);

// Packs the w x h rectangle at (x0, y0) of `bmp` column by column into
// `out`, which the caller has zeroed and which holds the whole payload.
// The rectangle lies inside the bitmap and fits the payload at `depth`.
void pack_rectangle(const vantix_bitmap &bmp, uint32_t x0, uint32_t y0, uint32_t w, uint32_t h, int depth,
                    uint8_t (&out)[VANTIX_DISPLAY_CHUNK_PAYLOAD]);

}  // namespace vantix::display
