// SPDX-License-Identifier: Apache-2.0
// The PNG rasterizer's pixels, pinned by checksums of a few shapes: long
// diagonals, pressure widths, scaling with an offset, dots, zero-length
// segments and ink clipped at the picture's edges. Any change to what the
// rasterizer draws shows up here.
#include <gtest/gtest.h>

#include <cstdint>

#include "tools.hpp"

namespace vantix::test {
namespace {

// FNV-1a over the size and the grey levels.
uint64_t checksum(const grey_picture &picture) {
    uint64_t hash = 0xcbf29ce484222325u;
    auto mix = [&hash](uint8_t byte) { hash = (hash ^ byte) * 0x100000001b3u; };
    for (const uint32_t side : {picture.width, picture.height})
        for (int shift = 0; shift < 32; shift += 8)
            mix(static_cast<uint8_t>(side >> shift));
    for (const uint8_t level : picture.pixels)
        mix(level);
    return hash;
}

// Forty points from the top to the bottom of the calibrated area and back.
void zig_zag(vantix_signature_capture *capture) {
    for (int i = 0; i < 40; ++i)
        vantix_signature_add_point(capture, static_cast<uint16_t>(100 + i * 97),
                                   static_cast<uint16_t>(i % 2 ? 1041 : 50), 0.2f + 0.02f * i, 1, 0);
}

// Dots in the corners, lines along two edges and a stroke standing still.
void dots_and_edges(vantix_signature_capture *capture) {
    const uint16_t points[][3] = {{0, 0, 1},      {0, 0, 0},      {4095, 1091, 1}, {4095, 1091, 0},
                                  {100, 50, 1},   {3995, 50, 1},  {3995, 1041, 1}, {3995, 1041, 0},
                                  {2000, 600, 1}, {2000, 600, 1}, {2000, 600, 1},  {2010, 601, 1}};
    for (const auto &p : points)
        vantix_signature_add_point(capture, p[0], p[1], 0.5f, p[2], 0);
}

TEST(signature_png, PixelsOfKnownShapes) {
    const struct {
        const char *name;
        void (*draw)(vantix_signature_capture *);
        uint32_t width, height;
        double line_width;
        int pressure_width;
        uint64_t checksum;
    } cases[] = {
        {"zig-zag at the display's size", zig_zag, 0, 0, 2, 0, 0x242d6583e7767cb3u},
        {"zig-zag scaled and centred, pressure width", zig_zag, 900, 500, 12, 1, 0xd258f085e2262376u},
        {"zig-zag with a wide pen", zig_zag, 640, 0, 37.5, 0, 0xff00468491245a28u},
        {"dots and edges", dots_and_edges, 300, 300, 40, 0, 0xf70f5f4d3f67bf25u},
        {"dots and edges, thin and pressure width", dots_and_edges, 480, 128, 3.5, 1, 0xc3eab301ab6663fcu},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        capture_ptr capture = new_capture();
        c.draw(capture.get());
        vantix_signature_export_options options;
        vantix_signature_default_options(&options);
        options.width = c.width;
        options.height = c.height;
        options.line_width = c.line_width;
        options.pressure_width = c.pressure_width;
        unsigned char *data = nullptr;
        size_t size = 0;
        ASSERT_EQ(vantix_signature_export_png_buffer(capture.get(), &options, &data, &size),
                  VANTIX_CODE_SUCCESS);
        const grey_picture picture = read_png(data, size);
        vantix_signature_free_buffer(data);
        EXPECT_EQ(checksum(picture), c.checksum);
    }
}

}  // namespace
}  // namespace vantix::test
