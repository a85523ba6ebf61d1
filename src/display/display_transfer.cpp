// SPDX-License-Identifier: Apache-2.0
// Putting pixels on the pad's display: the display content byte, one chunk,
// and whole bitmaps cut into chunks.
#include <algorithm>

#include "display/chunk_packing.hpp"
#include "protocol/report_io.hpp"

namespace {

constexpr int display_polls = 100;

// The chunk report alone uses big-endian fields.
void encode_chunk(const vantix_hid_feature_display_chunk &chunk, vantix::support::report_view r) {
    r.put2_be(1, chunk.x);
    r.put2_be(3, chunk.y);
    r.put2_be(5, chunk.width);
    r.put2_be(7, chunk.height);
    r.put1(9, chunk.bits_per_pixel);
    static_assert(VANTIX_FEATURE_UPDATEDISPLAYCHUNK_SIZE == 10 + sizeof chunk.graphic);
    r.put_bytes(10, chunk.graphic, sizeof chunk.graphic);
}

// True when every pixel of a run of `length` from `start` has a 16-bit
// coordinate (in 64 bits, so that neither sum wraps).
bool fits_wire_coordinates(unsigned int start, uint32_t length) {
    return uint64_t{start} + length <= uint64_t{UINT16_MAX} + 1;
}

}  // namespace

extern "C" {

vantix_error_code vantix_set_display_content(vantix_device *device,
                                             vantix_hid_feature_display_content content) {
    VANTIX_TRACE_CALL();
    if (!wait_for_interlock(device, display_polls, INTERLOCK_DISPLAY))
        return VANTIX_CODE_ERROR;
    return vantix::protocol::write_byte_report(
        device, {VANTIX_FEATURE_DISPLAYCONTENT, VANTIX_FEATURE_DISPLAYCONTENT_SIZE}, content.content, {},
        VANTIX_HERE);
}

vantix_error_code vantix_set_display_chunk(vantix_device *device, vantix_hid_feature_display_chunk chunk) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::write_report(
        device, &chunk, {VANTIX_FEATURE_UPDATEDISPLAYCHUNK, VANTIX_FEATURE_UPDATEDISPLAYCHUNK_SIZE},
        encode_chunk, {.wait = {display_polls, INTERLOCK_DISPLAY}}, VANTIX_HERE);
}

vantix_error_code vantix_transfer_bitmap_to_device(vantix_device *device, vantix_bitmap *bmp, unsigned int x,
                                                   unsigned int y, int depth) {
    // Refusals set the last-error text without a log record: the transfer
    // logs nothing of its own, its chunks do.
    if (!bmp || !bmp->bitmap || bmp->width < 1 || bmp->height < 1) {
        vantix_report_error_internal("No bitmap to transfer.");
        return VANTIX_CODE_ERROR;
    }
    if (!vantix::display::supported_depth(depth)) {
        vantix_report_error_internal("Unsupported pixel depth %d, the display takes 1, 4, 8 or 24.", depth);
        return VANTIX_CODE_ERROR;
    }
    const auto width = static_cast<uint32_t>(bmp->width), height = static_cast<uint32_t>(bmp->height);
    // A chunk carries 16-bit positions; a picture with a pixel beyond them
    // would land elsewhere on the display. Partly off the display is fine:
    // the pad gets the coordinates unchanged.
    if (!fits_wire_coordinates(x, width) || !fits_wire_coordinates(y, height)) {
        vantix_report_error_internal(
            "A %u x %u bitmap at (%u, %u) reaches beyond the display's coordinates (0 to 65535).", width,
            height, x, y);
        return VANTIX_CODE_ERROR;
    }
    const vantix::display::chunk_size size = vantix::display::plan_chunks(width, height, depth);
    vantix_hid_feature_display_chunk chunk;  // one buffer for every rectangle
    for (uint32_t x0 = 0; x0 < width; x0 += size.width)
        for (uint32_t y0 = 0; y0 < height; y0 += size.height) {
            const uint32_t w = std::min(size.width, width - x0), h = std::min(size.height, height - y0);
            chunk = {};
            chunk.x = static_cast<uint16_t>(x + x0);
            chunk.y = static_cast<uint16_t>(y + y0);
            chunk.width = static_cast<uint16_t>(w);
            chunk.height = static_cast<uint16_t>(h);
            chunk.bits_per_pixel = static_cast<uint8_t>(depth);
            vantix::display::pack_rectangle(*bmp, x0, y0, w, h, depth, chunk.graphic);
            if (vantix_set_display_chunk(device, chunk) != VANTIX_CODE_SUCCESS)
                return VANTIX_CODE_ERROR;
        }
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
