// SPDX-License-Identifier: Apache-2.0
// Bitmaps: layout, BMP header, pixels, blending, clear and copy.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "graphics/canvas.hpp"
#include "vantix-zelnar.h"

namespace {

constexpr vantix_gcolor white = 0xFFFFFFFF, black = 0x000000FF;

using vantix::test::canvas;

uint32_t le32(const std::vector<unsigned char> &b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(Bitmap, RowsArePaddedToFourBytesAndSizesFollow) {
    canvas one(1, 1);
    EXPECT_EQ(one.bmp.rowSize, 4);
    EXPECT_EQ(one.bmp.arraySize, 4);
    EXPECT_EQ(one.bmp.totalSize, 58);
    EXPECT_EQ(one.bmp.headerSize, 54);
    EXPECT_EQ(one.bmp.raster, one.bmp.bitmap + 54);
    canvas small(3, 2);
    EXPECT_EQ(small.bmp.rowSize, 12);
    canvas display(240, 64);
    EXPECT_EQ(display.bmp.rowSize, 720);
    EXPECT_EQ(display.bmp.totalSize, 54 + 720 * 64);
}

TEST(Bitmap, InitPaintsEveryRasterByteWhiteAndWritesTheHeader) {
    canvas c(5, 3);  // rows of 15 bytes padded to 16
    for (int i = 0; i < c.bmp.arraySize; ++i)
        ASSERT_EQ(c.bmp.raster[i], 0xFF) << i;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(vantix_get_pixel(&c.bmp, x, y), white);

    const std::vector<unsigned char> h(c.buffer.begin(), c.buffer.begin() + 54);
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(le32(h, 2), 54u + 48u);
    EXPECT_EQ(le32(h, 6), 0u);
    EXPECT_EQ(le32(h, 10), 54u);
    EXPECT_EQ(le32(h, 14), 40u);
    EXPECT_EQ(le32(h, 18), 5u);
    EXPECT_EQ(le32(h, 22), 3u);
    EXPECT_EQ(h[26] | h[27] << 8, 1);
    EXPECT_EQ(h[28] | h[29] << 8, 24);
    EXPECT_EQ(le32(h, 30), 0u);
    EXPECT_EQ(le32(h, 34), 48u);
    for (size_t i = 38; i < 54; ++i)
        EXPECT_EQ(h[i], 0) << i;
}

TEST(Bitmap, InitClearsStaleHeaderBytes) {
    std::vector<unsigned char> buffer(54 + 4, 0xAB);
    vantix_bitmap bmp;
    vantix_bitmap_init(&bmp, buffer.data(), 1, 1);
    EXPECT_EQ(buffer[6], 0);
    EXPECT_EQ(buffer[11], 0);
    EXPECT_EQ(buffer[53], 0);
}

TEST(Bitmap, PixelsAreStoredBottomUpAsBlueGreenRed) {
    canvas c(3, 2);
    vantix_set_pixel(&c.bmp, 0, 0, 0x112233FF);
    const unsigned char *top_row = c.bmp.raster + 1 * c.bmp.rowSize;
    EXPECT_EQ(top_row[0], 0x33);
    EXPECT_EQ(top_row[1], 0x22);
    EXPECT_EQ(top_row[2], 0x11);
    EXPECT_EQ(vantix_get_pixel(&c.bmp, 0, 0), 0x112233FFu);

    vantix_set_pixel(&c.bmp, 2, 1, 0x11223344);  // translucent: blended with white
    EXPECT_EQ(vantix_get_pixel(&c.bmp, 2, 1), vantix_color_blend(0x11223344, white));
    EXPECT_NE(vantix_get_pixel(&c.bmp, 2, 1), 0x112233FFu);
    for (int pad : {9, 10, 11, 21, 22, 23})
        EXPECT_EQ(c.bmp.raster[pad], 0xFF) << pad;  // row padding untouched
}

TEST(Bitmap, BlendFollowsTheOverOperatorInSinglePrecision) {
    EXPECT_EQ(vantix_color_blend(0x12345600, 0xABCDEF42), 0xABCDEF42u);  // transparent: background as is
    EXPECT_EQ(vantix_color_blend(0x123456FF, 0xABCDEF42), 0x123456FFu);  // opaque: foreground as is
    EXPECT_EQ(vantix_color_blend(0x00000080, white), 0x7E7E7EFFu);  // 255 * (1 - 128/255) truncates to 126
    EXPECT_EQ(vantix_color_blend(0xFFFFFF80, black), 0x808080FFu);
    for (uint32_t alpha = 1; alpha < 255; alpha += 17)
        EXPECT_EQ(vantix_color_blend(0x40608000 | alpha, 0x10203005) & 0xFF, 0xFFu) << alpha;
    // Over a transparent background only the foreground shows.
    EXPECT_EQ(vantix_color_blend(0xFF000080, 0x00FF0000), 0xFF0000FFu);
}

TEST(Bitmap, OutsidePixelsReadWhiteAndAreNeverWritten) {
    canvas c(4, 3);
    const std::vector<unsigned char> before = c.buffer;
    for (auto [x, y] : std::array<std::pair<int, int>, 6>{
             {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {INT32_MIN, 1}, {1, INT32_MAX}}}) {
        vantix_set_pixel(&c.bmp, x, y, black);
        EXPECT_EQ(vantix_get_pixel(&c.bmp, x, y), white);
    }
    EXPECT_EQ(c.buffer, before);
}

TEST(Bitmap, RefusedSizesLeaveAnEmptyDescriptorThatEveryOperationIgnores) {
    std::vector<unsigned char> buffer(64, 0x5A);
    const std::vector<unsigned char> before = buffer;
    for (auto [w, h] : std::array<std::pair<int32_t, int32_t>, 5>{
             {{0, 1}, {1, 0}, {-3, 2}, {2, INT32_MIN}, {INT32_MAX, INT32_MAX}}}) {
        vantix_bitmap bmp;
        std::memset(&bmp, 0x77, sizeof bmp);
        vantix_bitmap_init(&bmp, buffer.data(), w, h);
        EXPECT_EQ(bmp.bitmap, nullptr);
        EXPECT_EQ(bmp.raster, nullptr);
        EXPECT_EQ(bmp.width, 0);
        EXPECT_EQ(bmp.totalSize, 0);
        vantix_set_pixel(&bmp, 0, 0, black);
        EXPECT_EQ(vantix_get_pixel(&bmp, 0, 0), white);
        vantix_bitmap_clear(&bmp, black);
        vantix_fill_rectangle(&bmp, 0, 0, 10, 10, black);
        vantix_draw_line(&bmp, 0, 0, 10, 10, black);
    }
    EXPECT_EQ(buffer, before);

    vantix_bitmap bmp;
    vantix_bitmap_init(&bmp, nullptr, 4, 4);
    EXPECT_EQ(bmp.bitmap, nullptr);
    vantix_bitmap_init(nullptr, buffer.data(), 1, 1);  // no descriptor: nothing happens
    EXPECT_EQ(buffer, before);
    EXPECT_EQ(vantix_get_pixel(nullptr, 0, 0), white);
}

TEST(Bitmap, ADescriptorWhoseFieldsDisagreeStillStaysInsideItsRaster) {
    canvas c(4, 4);
    const std::vector<unsigned char> header(c.buffer.begin(), c.buffer.begin() + 54);
    vantix_bitmap bent = c.bmp;
    bent.rowSize = -12;  // rows above the bottom one would lie before the raster
    vantix_fill_rectangle(&bent, 0, 0, 3, 3, black);
    EXPECT_EQ(std::vector<unsigned char>(c.buffer.begin(), c.buffer.begin() + 54), header);

    canvas d(4, 4);
    const std::vector<unsigned char> before = d.buffer;
    bent = d.bmp;
    bent.arraySize = 12;  // only the bottom row is within reach
    vantix_fill_rectangle(&bent, 0, 0, 3, 2, black);
    EXPECT_EQ(d.buffer, before);
    vantix_fill_rectangle(&bent, 0, 3, 3, 3, black);
    EXPECT_EQ(vantix_get_pixel(&d.bmp, 3, 3), black);
}

TEST(Bitmap, ClearBlendsTranslucentColoursOverThePicture) {
    canvas c(2, 2);
    vantix_bitmap_clear(&c.bmp, 0x336699FF);
    EXPECT_EQ(vantix_get_pixel(&c.bmp, 1, 1), 0x336699FFu);
    vantix_bitmap_clear(&c.bmp, 0x00000080);
    EXPECT_EQ(vantix_get_pixel(&c.bmp, 0, 1), vantix_color_blend(0x00000080, 0x336699FF));
}

TEST(Bitmap, CopyFillsWhatLiesOutsideTheSourceWithWhite) {
    canvas src(2, 2), dst(4, 4);
    vantix_bitmap_clear(&src.bmp, 0x102030FF);
    vantix_bitmap_clear(&dst.bmp, black);
    vantix_bitmap_copy(&src.bmp, &dst.bmp, 1, 1, 0, 0, 3, 3);  // only source (1, 1) exists
    EXPECT_EQ(vantix_get_pixel(&dst.bmp, 0, 0), 0x102030FFu);
    EXPECT_EQ(vantix_get_pixel(&dst.bmp, 1, 0), white);
    EXPECT_EQ(vantix_get_pixel(&dst.bmp, 2, 2), white);
    EXPECT_EQ(vantix_get_pixel(&dst.bmp, 3, 3), black);
    // Destination pixels outside are dropped, including at the 32-bit limits.
    vantix_bitmap_copy(&src.bmp, &dst.bmp, 0, 0, 3, 3, INT32_MAX, INT32_MAX);
    EXPECT_EQ(vantix_get_pixel(&dst.bmp, 3, 3), 0x102030FFu);
    vantix_bitmap_copy(&src.bmp, &dst.bmp, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
}

TEST(Bitmap, OverlappingCopyToTheRightReadsWhatItAlreadyWrote) {
    canvas c(4, 1);
    vantix_set_pixel(&c.bmp, 0, 0, black);
    vantix_bitmap_copy(&c.bmp, &c.bmp, 0, 0, 1, 0, 3, 1);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(vantix_get_pixel(&c.bmp, x, 0), black) << x;
}

// The image must be a BMP file that an independent reader accepts.
TEST(Bitmap, ImageMagickReadsTheFileImage) {
    canvas c(7, 3);
    vantix_set_pixel(&c.bmp, 0, 0, 0xFF0000FF);
    vantix_set_pixel(&c.bmp, 6, 2, 0x0000FFFF);
    vantix_set_pixel(&c.bmp, 3, 1, 0x00FF00FF);
    const auto path =
        std::filesystem::temp_directory_path() / ("vantix_bitmap_" + std::to_string(getpid()) + ".bmp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(c.bmp.bitmap), c.bmp.totalSize);

    auto run = [](const std::string &command) {
        std::string out;
        if (FILE *p = popen(command.c_str(), "r")) {
            char line[512];
            while (fgets(line, sizeof line, p))
                out += line;
            pclose(p);
        }
        return out;
    };
    const std::string size = run("identify -format '%w %h %m' '" + path.string() + "' 2>&1");
    const std::string pixels = run("convert '" + path.string() + "' txt:- 2>&1");
    std::filesystem::remove(path);

    EXPECT_EQ(size, "7 3 BMP3");  // BMP with the 40-byte information header
    EXPECT_NE(pixels.find("0,0: (255,0,0)"), std::string::npos) << pixels;
    EXPECT_NE(pixels.find("6,2: (0,0,255)"), std::string::npos) << pixels;
    EXPECT_NE(pixels.find("3,1: (0,255,0)"), std::string::npos) << pixels;
    EXPECT_NE(pixels.find("1,0: (255,255,255)"), std::string::npos) << pixels;
}

}  // namespace
