// SPDX-License-Identifier: Apache-2.0
// Cutting bitmaps into display chunks and packing their pixels.
#include <gtest/gtest.h>

#include "display/chunk_packing.hpp"
#include "graphics/canvas.hpp"

namespace {

using vantix::display::chunk_size;
using vantix::display::plan_chunks;

struct plan_case {
    uint32_t width, height;
    int depth;
    uint32_t chunk_width, chunk_height;
};

TEST(chunk_packing, RectangleSizesFollowTheFourRules) {
    const plan_case cases[] = {
        {240, 64, 1, 240, 64},       // whole bitmap: 15360 bits
        {240, 64, 4, 63, 64},        // vertical strips
        {240, 64, 8, 31, 64},        //
        {240, 64, 24, 10, 64},       //
        {2039, 8, 1, 2039, 8},       // exactly the payload: not "less than", but a strip of full height
        {8, 2039, 1, 8, 2039},       // tall: horizontal strips, still everything
        {64, 240, 4, 64, 63},        // horizontal strips
        {700, 700, 24, 26, 26},      // square tiles
        {4000, 4000, 1, 4000, 4},    // full-width strips of 4 rows
        {20000, 20000, 1, 127, 127}  // tiles at depth 1
    };
    for (const plan_case &c : cases) {
        const chunk_size got = plan_chunks(c.width, c.height, c.depth);
        EXPECT_EQ(got.width, c.chunk_width) << c.width << "x" << c.height << "@" << c.depth;
        EXPECT_EQ(got.height, c.chunk_height) << c.width << "x" << c.height << "@" << c.depth;
    }
}

TEST(chunk_packing, OnlyTheFourDepthsAreSupported) {
    for (int depth : {1, 4, 8, 24})
        EXPECT_TRUE(vantix::display::supported_depth(depth)) << depth;
    for (int depth : {-1, 0, 2, 3, 16, 23, 32})
        EXPECT_FALSE(vantix::display::supported_depth(depth)) << depth;
}

TEST(chunk_packing, QuantisationEdges) {
    // red + green + blue = 383 is dark, 384 light.
    EXPECT_TRUE(vantix::display::is_dark(0x7F8080FF));  // 127 + 128 + 128
    EXPECT_FALSE(vantix::display::is_dark(0x808080FF));
    EXPECT_EQ(vantix::display::grey_level(0x808080FF), 8);  // 7.53 rounds up
    EXPECT_EQ(vantix::display::grey_level(0xFFFFFFFF), 15);
    EXPECT_EQ(vantix::display::grey_level(0x000000FF), 0);
    EXPECT_EQ(vantix::display::grey_level(0x191919FF), 1);  // 25 / 17 = 1.47
}

TEST(chunk_packing, PixelsRunOnColumnByColumn) {
    vantix::test::canvas c(3, 3);
    vantix_set_pixel(&c.bmp, 0, 0, 0x000000FF);
    vantix_set_pixel(&c.bmp, 1, 1, 0x000000FF);
    vantix_set_pixel(&c.bmp, 2, 2, 0x000000FF);
    uint8_t out[VANTIX_DISPLAY_CHUNK_PAYLOAD] = {};
    vantix::display::pack_rectangle(c.bmp, 0, 0, 3, 3, 1, out);
    // Bits 0, 4 and 8 of the stream: columns do not start on new bytes.
    EXPECT_EQ(out[0], 0x88);
    EXPECT_EQ(out[1], 0x80);

    uint8_t grey[VANTIX_DISPLAY_CHUNK_PAYLOAD] = {};
    vantix::display::pack_rectangle(c.bmp, 1, 0, 1, 3, 4, grey);  // white, black, white
    EXPECT_EQ(grey[0], 0x0F);                                     // low nibble first
    EXPECT_EQ(grey[1], 0x0F);

    uint8_t colour[VANTIX_DISPLAY_CHUNK_PAYLOAD] = {};
    vantix_set_pixel(&c.bmp, 2, 1, 0x123456FF);
    vantix::display::pack_rectangle(c.bmp, 2, 1, 1, 1, 24, colour);
    EXPECT_EQ((std::vector<uint8_t>(colour, colour + 4)), (std::vector<uint8_t>{0x12, 0x34, 0x56, 0}));
}

}  // namespace
