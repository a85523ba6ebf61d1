// SPDX-License-Identifier: Apache-2.0
// The virtual pad's display: chunks unpacked as packed, refusals, ink under
// the pen, and the picture written as a PNG file.
#include <cstdio>
#include <fstream>

#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

padsim::rgb grey(unsigned level) {
    const auto g = static_cast<std::uint8_t>(level * 17);
    return {g, g, g};
}

TEST(padsim_display, ChunksAreUnpackedColumnByColumn) {
    padsim::pad pad(pad_with([](padsim::model &m) { m.color_depth = 24; }));
    // Depth 1, 3 x 3: bits from the top bit down, columns running on.
    ASSERT_TRUE(set(pad, chunk(0, 0, 3, 3, 1, {0x88, 0x80})).ok);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pad.display().at(i, i), padsim::black) << i;
    EXPECT_EQ(pad.display().at(1, 0), padsim::white);
    // Depth 4 and 8: low nibble first.
    ASSERT_TRUE(set(pad, chunk(10, 0, 1, 3, 4, {0x5F, 0x00})).ok);
    EXPECT_EQ(pad.display().at(10, 0), grey(15));
    EXPECT_EQ(pad.display().at(10, 1), grey(5));
    EXPECT_EQ(pad.display().at(10, 2), grey(0));
    ASSERT_TRUE(set(pad, chunk(11, 0, 2, 1, 8, {0x3C})).ok);
    EXPECT_EQ(pad.display().at(11, 0), grey(12));
    EXPECT_EQ(pad.display().at(12, 0), grey(3));
    // Depth 24, at the right edge: what lies off the display is dropped.
    ASSERT_TRUE(set(pad, chunk(239, 63, 2, 1, 24, {1, 2, 3, 4, 5, 6})).ok);
    EXPECT_EQ(pad.display().at(239, 63), (padsim::rgb{1, 2, 3}));
}

TEST(padsim_display, TheDisplayShowsOnlyWhatItsDepthCan) {
    padsim::pad mono;  // black and white
    ASSERT_TRUE(set(mono, chunk(0, 0, 2, 1, 24, {127, 128, 128, 128, 128, 128})).ok);
    EXPECT_EQ(mono.display().at(0, 0), padsim::black);  // 383
    EXPECT_EQ(mono.display().at(1, 0), padsim::white);  // 384
    padsim::pad greys(pad_with([](padsim::model &m) { m.color_depth = 4; }));
    ASSERT_TRUE(set(greys, chunk(0, 0, 1, 1, 24, {128, 128, 128})).ok);
    EXPECT_EQ(greys.display().at(0, 0), grey(8));
}

TEST(padsim_display, RefusedChunksDrawNothing) {
    padsim::pad pad;
    EXPECT_FALSE(set(pad, chunk(0, 0, 1, 1, 2, {0xFF})).ok);
    EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_value);
    EXPECT_FALSE(set(pad, chunk(0, 0, 2040, 8, 1, bytes(2039, 0xFF))).ok);  // one column too many
    EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_length);
    EXPECT_EQ(pad.display().at(0, 0), padsim::white);

    ASSERT_TRUE(set(pad, chunk(0, 0, 1, 1, 1, {0x80})).ok);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_DISPLAYCONTENT, 0}).ok);  // content 0 blanks
    EXPECT_EQ(pad.display().at(0, 0), padsim::white);
}

TEST(padsim_display, PenDownInAnInkingContainerLeavesInk) {
    padsim::pad pad;  // region 1 inks above the button strip (rows 0 to 47)
    const padsim::point from = pad.to_digitizer({20, 10}), to = pad.to_digitizer({60, 10});
    const padsim::point stroke[] = {from, to};
    pad.stroke(stroke);
    int inked = 0;
    for (int x = 20; x <= 60; ++x)
        inked += pad.display().at(x, 10) == padsim::black;
    EXPECT_EQ(inked, 41);
    EXPECT_EQ(pad.display().at(40, 11), padsim::white);  // ink width 1 by default

    // Over a button nothing is inked, and a hovering pen leaves nothing.
    pad.tap(pad.to_digitizer({60, 56}));
    pad.pen_sample(pad.to_digitizer({100, 20}), false);
    pad.pen_sample(pad.to_digitizer({120, 20}), false);
    EXPECT_EQ(pad.display().at(60, 56), padsim::white);
    EXPECT_EQ(pad.display().at(110, 20), padsim::white);
}

TEST(padsim_display, WritesThePictureAsPng) {
    padsim::pad pad;
    const std::string path = ::testing::TempDir() + "pad-screen-test.png";
    ASSERT_TRUE(pad.write_png(path));
    std::ifstream file(path, std::ios::binary);
    char magic[8] = {};
    file.read(magic, sizeof magic);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    std::remove(path.c_str());
    std::string error;
    EXPECT_FALSE(pad.write_png("/nonexistent-dir/x.png", &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
