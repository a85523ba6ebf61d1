// SPDX-License-Identifier: Apache-2.0
// The virtual pad's display: the buttons it shows from power-on, chunks
// unpacked as packed, refusals, ink under the pen, and the picture written
// as a PNG file.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

padsim::rgb grey(unsigned level) {
    const auto g = static_cast<std::uint8_t>(level * 17);
    return {g, g, g};
}

// The black pixels of `box` and the smallest box holding them.
struct dark_pixels {
    int count = 0;
    padsim::pixel_box bounds{INT_MAX, INT_MAX, -1, -1};
};

dark_pixels dark_in(const padsim::screen &display, padsim::pixel_box box) {
    dark_pixels d;
    for (int y = box.y1; y <= box.y2; ++y)
        for (int x = box.x1; x <= box.x2; ++x)
            if (display.at(x, y) == padsim::black) {
                ++d.count;
                d.bounds = {std::min(d.bounds.x1, x), std::min(d.bounds.y1, y), std::max(d.bounds.x2, x),
                            std::max(d.bounds.y2, y)};
            }
    return d;
}

int perimeter(padsim::pixel_box b) { return 2 * (b.x2 - b.x1 + 1) + 2 * (b.y2 - b.y1 - 1); }

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
    const padsim::screen before = pad.display();
    pad.tap(pad.to_digitizer({60, 56}));
    pad.pen_sample(pad.to_digitizer({100, 20}), false);
    pad.pen_sample(pad.to_digitizer({120, 20}), false);
    EXPECT_EQ(pad.display().pixels(), before.pixels());
}

TEST(padsim_display, APadShowsItsFactoryButtonsFromPowerOn) {
    padsim::pad pad;
    const padsim::screen shown = pad.display();
    EXPECT_EQ(dark_in(shown, {0, 0, 239, 47}).count, 0);  // the ink container
    // The layout vantix-padsim.h documents: corners in display pixels, the
    // pen positions over them and over the middle.
    const struct {
        std::uint8_t region;
        padsim::point top_left, bottom_right, pen_top_left, pen_bottom_right, pen_middle;
    } buttons[] = {{2, {0, 48}, {119, 63}, {100, 794}, {2047, 1041}, {1082, 925}},
                   {3, {120, 48}, {239, 63}, {2048, 794}, {3995, 1041}, {3030, 925}}};
    for (const auto &b : buttons) {
        SCOPED_TRACE(unsigned{b.region});
        const padsim::pixel_box box{b.top_left.x, b.top_left.y, b.bottom_right.x, b.bottom_right.y};
        const padsim::pixel_box inside{box.x1 + 1, box.y1 + 1, box.x2 - 1, box.y2 - 1};
        // A whole frame, and a caption centred inside it.
        const dark_pixels caption = dark_in(shown, inside);
        EXPECT_EQ(dark_in(shown, box).count - caption.count, perimeter(box));
        EXPECT_GT(caption.count, 20);
        EXPECT_LE(std::abs((caption.bounds.x1 - inside.x1) - (inside.x2 - caption.bounds.x2)), 1);
        EXPECT_LE(std::abs((caption.bounds.y1 - inside.y1) - (inside.y2 - caption.bounds.y2)), 1);

        EXPECT_EQ(pad.to_display(b.pen_top_left), b.top_left);
        EXPECT_EQ(pad.to_display(b.pen_bottom_right), b.bottom_right);
        EXPECT_EQ(pad.region_at(b.top_left), b.region);
        EXPECT_EQ(pad.region_at(*pad.to_display(b.pen_middle)), b.region);
        const padsim::point above{b.pen_top_left.x, static_cast<std::uint16_t>(b.pen_top_left.y - 1)};
        EXPECT_EQ(pad.region_at(*pad.to_display(above)), 1);
    }
}

TEST(padsim_display, APadPaintsTheCaptionedButtonsOfItsOwnFactoryLayout) {
    padsim::region sign;
    sign.number = 1;
    sign.type = VANTIX_REGION_TYPE_BUTTON;
    sign.in_use = sign.visible = true;  // frameless, transparent colours
    sign.x1 = 10, sign.y1 = 10, sign.x2 = 59, sign.y2 = 29;
    sign.caption = "Sign";
    padsim::region blank = sign, hidden = sign;
    blank.number = 2, blank.caption.clear();
    hidden.number = 3, hidden.visible = false;
    blank.x1 = hidden.x1 = 100, blank.x2 = hidden.x2 = 200;
    padsim::pad pad(pad_with([&](padsim::model &m) { m.factory_regions = {{sign, blank, hidden}}; }));
    const dark_pixels shown = dark_in(pad.display(), {0, 0, 239, 63});
    EXPECT_GT(shown.count, 20);
    EXPECT_GE(shown.bounds.x1, 11);  // inside the box, with no frame
    EXPECT_LE(shown.bounds.x2, 58);
    EXPECT_GE(shown.bounds.y1, 11);
    EXPECT_LE(shown.bounds.y2, 28);
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
