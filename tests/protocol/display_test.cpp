// SPDX-License-Identifier: Apache-2.0
// Pictures and text on the pad's display: chunks on the wire, what the
// virtual pad's display shows afterwards, and the refusals.
#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "graphics/canvas.hpp"
#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using vantix::test::canvas;

padsim::model display_of_depth(uint8_t depth) {
    padsim::model m;
    m.color_depth = depth;
    return m;
}

// A pad whose display keeps 24-bit colour, so it shows exactly what each
// chunk depth carried.
struct display : vantix::test::sim_pad_test {
    explicit display(const padsim::model &m = display_of_depth(24)) : sim_pad_test(m) {
        EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        pad->clear_transfers();
    }
    ~display() override { vantix_close_device(device); }

    struct chunk_header {
        unsigned x, y, width, height, depth;
        bool operator==(const chunk_header &) const = default;
    };
    // The headers of the chunks sent since the last call, failing the test
    // when anything but chunks and status polls crossed the wire.
    std::vector<chunk_header> chunks() {
        std::vector<chunk_header> out;
        for (const padsim::transfer &t : pad->transfers()) {
            if (t.report_id == VANTIX_FEATURE_DEVICE_STATUS && t.dir == padsim::direction::get)
                continue;
            EXPECT_EQ(t.report_id, VANTIX_FEATURE_UPDATEDISPLAYCHUNK);
            EXPECT_EQ(t.bytes.size(), size_t{VANTIX_FEATURE_UPDATEDISPLAYCHUNK_SIZE});
            auto be = [&t](size_t at) { return unsigned{t.bytes[at]} << 8 | t.bytes[at + 1]; };
            out.push_back({be(1), be(3), be(5), be(7), t.bytes[9]});
        }
        pad->clear_transfers();
        return out;
    }

    // What the pad shows at (x, y), as a bitmap colour.
    vantix_gcolor shown(int x, int y) const {
        const padsim::rgb c = pad->display().at(x, y);
        return vantix_gcolor{c.r} << 24 | vantix_gcolor{c.g} << 16 | vantix_gcolor{c.b} << 8 | 0xFF;
    }
};

// What a pixel looks like after travelling at `depth`.
vantix_gcolor quantised(vantix_gcolor c, int depth) {
    const unsigned sum = (c >> 24 & 0xFF) + (c >> 16 & 0xFF) + (c >> 8 & 0xFF);
    if (depth == 1)
        return sum < 384 ? 0x000000FF : 0xFFFFFFFF;
    if (depth == 24)
        return c | 0xFF;
    const unsigned grey = (sum * 2 + 51) / 102 * 17;  // round(sum / 51) * 17
    return grey << 24 | grey << 16 | grey << 8 | 0xFF;
}

canvas test_picture(int32_t w, int32_t h) {
    canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            vantix_set_pixel(&c.bmp, x, y,
                             static_cast<vantix_gcolor>((x * 7 & 0xFF) << 24 | (y * 29 & 0xFF) << 16 |
                                                        ((x + y) * 3 & 0xFF) << 8 | 0xFF));
    return c;
}

TEST_F(display, FullScreenChunksAtEachDepth) {
    canvas screen = test_picture(240, 64);
    using h = chunk_header;
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &screen.bmp, 0, 0, 1), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(chunks(), (std::vector<h>{{0, 0, 240, 64, 1}}));
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &screen.bmp, 0, 0, 4), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(
        chunks(),
        (std::vector<h>{{0, 0, 63, 64, 4}, {63, 0, 63, 64, 4}, {126, 0, 63, 64, 4}, {189, 0, 51, 64, 4}}));
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &screen.bmp, 0, 0, 8), VANTIX_CODE_SUCCESS);
    const std::vector<h> eight = chunks();
    ASSERT_EQ(eight.size(), 8u);
    EXPECT_EQ(eight.back(), (h{217, 0, 23, 64, 8}));
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &screen.bmp, 0, 0, 24), VANTIX_CODE_SUCCESS);
    const std::vector<h> colour = chunks();
    ASSERT_EQ(colour.size(), 24u);
    EXPECT_EQ(colour[23], (h{230, 0, 10, 64, 24}));
}

TEST_F(display, TilesWalkColumnByColumnUpToTheLastCoordinate) {
    canvas big(700, 700);
    constexpr unsigned left = 65536 - 700;  // the last pixel on x = 65535
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &big.bmp, left, 0, 24), VANTIX_CODE_SUCCESS);
    const auto tiles = chunks();
    ASSERT_EQ(tiles.size(), 27u * 27u);
    EXPECT_EQ(tiles[0], (chunk_header{left, 0, 26, 26, 24}));
    EXPECT_EQ(tiles[1], (chunk_header{left, 26, 26, 26, 24}));
    EXPECT_EQ(tiles.back(), (chunk_header{left + 676, 676, 24, 24, 24}));

    // Exactly one payload of bits: one chunk, every byte of its payload used.
    canvas exact(2039, 8);
    vantix_bitmap_clear(&exact.bmp, 0x000000FF);
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &exact.bmp, 0, 0, 1), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_UPDATEDISPLAYCHUNK);
    EXPECT_EQ(chunks(), (std::vector<chunk_header>{{0, 0, 2039, 8, 1}}));
    EXPECT_EQ(bytes(sent.begin() + 10, sent.end()), bytes(2039, 0xFF));
}

TEST_F(display, RoundTripShowsTheQuantisedPictureAtEveryDepth) {
    canvas picture = test_picture(100, 40);
    for (int depth : {1, 4, 8, 24}) {
        ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &picture.bmp, 70, 12, depth), VANTIX_CODE_SUCCESS);
        int wrong = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 100; ++x)
                wrong += shown(70 + x, 12 + y) != quantised(vantix_get_pixel(&picture.bmp, x, y), depth);
        EXPECT_EQ(wrong, 0) << "depth " << depth;
        EXPECT_EQ(shown(69, 12), 0xFFFFFFFFu);  // nothing beside the picture
    }
}

TEST_F(display, RefusalsSendNothing) {
    canvas picture(10, 10);
    for (int depth : {0, -1, 2, 16, 32}) {
        EXPECT_EQ(vantix_transfer_bitmap_to_device(device, &picture.bmp, 0, 0, depth), VANTIX_CODE_ERROR);
        EXPECT_EQ(std::string(vantix_get_last_error()),
                  "Unsupported pixel depth " + std::to_string(depth) + ", the display takes 1, 4, 8 or 24.");
    }
    vantix_bitmap empty{};
    EXPECT_EQ(vantix_transfer_bitmap_to_device(device, &empty, 0, 0, 1), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "No bitmap to transfer.");
    EXPECT_EQ(vantix_transfer_bitmap_to_device(device, nullptr, 0, 0, 1), VANTIX_CODE_ERROR);
    EXPECT_TRUE(wire().empty());
}

TEST_F(display, PicturesBeyondTheWiresCoordinatesAreRefused) {
    canvas picture(40, 20);
    const struct {
        unsigned x, y;
    } beyond[] = {
        {65656, 65556},       // would arrive cut to (120, 20)
        {65536 - 39, 0},      // its last column on 65536
        {0, 65536 - 19},      // its last row on 65536
        {0, 0u - 5u},         // -5 from a caller that thinks in signed
        {UINT_MAX, UINT_MAX}  // the sums must not wrap
    };
    for (const auto &at : beyond) {
        EXPECT_EQ(vantix_transfer_bitmap_to_device(device, &picture.bmp, at.x, at.y, 1), VANTIX_CODE_ERROR);
        EXPECT_EQ(std::string(vantix_get_last_error()),
                  "A 40 x 20 bitmap at (" + std::to_string(at.x) + ", " + std::to_string(at.y) +
                      ") reaches beyond the display's coordinates (0 to 65535).");
        EXPECT_TRUE(wire().empty());
    }
    // Off the display but on the wire: sent unchanged.
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &picture.bmp, 65536 - 40, 65536 - 20, 1),
              VANTIX_CODE_SUCCESS);
    EXPECT_EQ(chunks(), (std::vector<chunk_header>{{65536 - 40, 65536 - 20, 40, 20, 1}}));
}

TEST_F(display, AFailedChunkEndsTheTransfer) {
    canvas screen = test_picture(240, 64);
    pad->fail_transfers(VANTIX_FEATURE_UPDATEDISPLAYCHUNK);
    EXPECT_EQ(vantix_transfer_bitmap_to_device(device, &screen.bmp, 0, 0, 4), VANTIX_CODE_ERROR);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "set 103 failed"}));

    pad->hold_locks(INTERLOCK_DISPLAY, padsim::always);
    EXPECT_EQ(vantix_transfer_bitmap_to_device(device, &screen.bmp, 0, 0, 1), VANTIX_CODE_ERROR);
    EXPECT_NE(std::string(vantix_get_last_error()).find("Problem waiting for firmware interlock"),
              std::string::npos);
    EXPECT_EQ(last_set(VANTIX_FEATURE_UPDATEDISPLAYCHUNK), bytes{});
}

TEST_F(display, DisplayContentWaitsAndSendsItsByte) {
    canvas dark(4, 4);
    vantix_bitmap_clear(&dark.bmp, 0x000000FF);
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &dark.bmp, 0, 0, 1), VANTIX_CODE_SUCCESS);
    pad->clear_transfers();
    vantix_hid_feature_display_content content{0xEE, 0};
    EXPECT_EQ(vantix_set_display_content(device, content), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_DISPLAYCONTENT), (bytes{101, 0}));  // never the record's ID
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "set 101"}));
    EXPECT_EQ(shown(0, 0), 0xFFFFFFFFu);  // content 0 blanks this pad
}

// A pad of the default model, which shows its factory buttons.
struct factory_display : display {
    factory_display() : display(padsim::model{}) {}
    bool blank() const {
        const padsim::screen shown = pad->display();
        return std::all_of(shown.pixels().begin(), shown.pixels().end(),
                           [](padsim::rgb c) { return c == padsim::white; });
    }
};

TEST_F(factory_display, ClearingBlanksTheButtonsAndAFactoryRestoreShowsThemAgain) {
    const std::vector<padsim::rgb> factory = pad->display().pixels();
    ASSERT_FALSE(blank());
    const std::function<vantix_error_code()> clears[] = {
        [this] { return vantix_clear_screen(device); },
        [this] {
            return vantix_set_display_content(device, {VANTIX_FEATURE_DISPLAYCONTENT, 0});
        }};
    for (const auto &clear : clears) {
        EXPECT_EQ(clear(), VANTIX_CODE_SUCCESS);
        EXPECT_TRUE(blank());
        EXPECT_EQ(vantix_set_screen_region_commit(device, VANTIX_SCREEN_REGION_FACTORY_DEFAULTS),
                  VANTIX_CODE_SUCCESS);
        EXPECT_EQ(pad->display().pixels(), factory);
    }
}

}  // namespace
