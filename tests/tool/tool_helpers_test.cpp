// SPDX-License-Identifier: Apache-2.0
// The tool's pure helpers: JSON text, input lines, the signing layout and
// the picture path (BMP reading, fitting, dithering).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "image.hpp"
#include "input_fields.hpp"
#include "json.hpp"
#include "padsim/model.hpp"
#include "signing_screen.hpp"
#include "sim_script.hpp"
#include "text.hpp"

using namespace tool;

TEST(ToolJson, QuotesControlCharactersAndBuildsObjects) {
    EXPECT_EQ(json_quote("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\n\\u0001\"");
    EXPECT_EQ(json_object().field("n", 7).field("ok", true).field("s", "x").raw("o", "{}").str(),
              "{\"n\":7,\"ok\":true,\"s\":\"x\",\"o\":{}}");
    EXPECT_EQ(json_object().str(), "{}");
}

TEST(ToolText, ExtensionsAndHex) {
    EXPECT_EQ(lower_extension("dir.v1/Sig.SVG"), "svg");
    EXPECT_EQ(lower_extension("noext"), "");
    EXPECT_EQ(hex(0x1209, 4), "1209");
}

TEST(ToolInput, PenButtonCardAndUnknownReportsAsTextAndJson) {
    vantix_input_report r{};
    r.extended_coordinate = {VANTIX_INPUT_EXTENDEDCOORDINATE, {{1, 0, 0, 0}}, 300, 650, 1};
    const input_fields pen = decode_input(r, VANTIX_INPUT_EXTENDEDCOORDINATE, {});
    EXPECT_EQ(as_text(pen), "pen x=300 y=650 down=1 region=1");
    EXPECT_EQ(as_json(pen), "{\"type\":\"pen\",\"x\":300,\"y\":650,\"down\":true,\"region\":1}");

    vantix_device_region_info ok{};
    ok.common.region_number = 2;
    std::snprintf(ok.button.caption, sizeof ok.button.caption, "OK");
    r.button_press = {VANTIX_INPUT_BUTTONPRESS, 10, 20, &ok};
    EXPECT_EQ(as_text(decode_input(r, VANTIX_INPUT_BUTTONPRESS, {})),
              "button_press x=10 y=20 region=2 caption=\"OK\"");

    r = {};
    r.card_swipe.card_format = VANTIX_CARDSWIPE_TYPE_FINANCIAL;
    std::fill(std::begin(r.card_swipe.track2), std::end(r.card_swipe.track2), '9');  // no terminator
    const input_fields card = decode_input(r, VANTIX_INPUT_MAGCARDDATA, {});
    EXPECT_EQ(std::get<std::string>(*find_field(card, "track2")), std::string(40, '9'));
    EXPECT_EQ(std::get<std::string>(*find_field(card, "track1")), "");

    const unsigned char raw[3] = {99, 1, 2};
    EXPECT_EQ(as_json(decode_input(r, 99, raw)), "{\"type\":\"report\",\"id\":99,\"length\":3}");
}

TEST(ToolSigningScreen, ButtonsShareTheBottomQuarterWithoutOverlap) {
    const auto buttons = button_layout(240, 64);
    EXPECT_EQ(buttons[0].meaning, choice::ok);
    EXPECT_EQ(buttons[0].x1, 0u);
    EXPECT_EQ(buttons[2].x2, 239u);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].y1, 48u);
        EXPECT_EQ(buttons[i].y2, 63u);
        if (i > 0) {
            EXPECT_EQ(buttons[i].x1, buttons[i - 1].x2 + 1);
        }
    }
}

TEST(ToolSimScript, TheSignatureStaysBetweenThePromptAndTheButtons) {
    const padsim::model m{};
    const unsigned buttons_top = button_layout(m.display_width, m.display_height)[0].y1;
    const auto row = [&](int y) {
        return (y - m.calibration_y_min) * m.display_height / (m.calibration_y_max - m.calibration_y_min);
    };
    const auto strokes = scripted_signature();
    ASSERT_EQ(strokes.size(), 5u);
    double slowest = 1e9, fastest = 0;
    for (const auto &stroke : strokes) {
        EXPECT_GE(stroke.size(), 2u);
        for (std::size_t i = 0; i < stroke.size(); ++i) {
            const auto [x, y] = stroke[i];
            EXPECT_GT(x, m.calibration_x_min);
            EXPECT_LT(x, m.calibration_x_max);
            EXPECT_GE(row(y), 12);  // below the prompt
            EXPECT_LT(row(y), static_cast<int>(buttons_top));
            if (i > 0) {
                const double gap = std::hypot(x - stroke[i - 1].first, y - stroke[i - 1].second);
                slowest = std::min(slowest, gap);
                fastest = std::max(fastest, gap);
            }
        }
    }
    EXPECT_GT(fastest, 4 * slowest);  // the pen's speed changes as a hand's does
}

TEST(ToolPicture, FitKeepsTheAspectOnWhite) {
    image black(100, 100, 0);
    const image out = fit(black, 240, 64);
    EXPECT_EQ(out.at(0, 0)[0], 255);   // margin
    EXPECT_EQ(out.at(120, 32)[0], 0);  // picture in the middle
    EXPECT_EQ(out.at(120 - 32, 32)[0], 0);
    EXPECT_EQ(out.at(120 - 33, 32)[0], 255);
}

TEST(ToolPicture, DitherKeepsTheMeanGreyAndUsesOnlyBlackAndWhite) {
    image grey(64, 64, 128);
    dither_to_black_and_white(grey);
    std::size_t white = 0;
    for (std::uint8_t v : grey.rgb) {
        ASSERT_TRUE(v == 0 || v == 255);
        white += v == 255;
    }
    const double share = double(white) / grey.rgb.size();
    EXPECT_NEAR(share, 128.0 / 255.0, 0.03);
}

TEST(ToolPicture, ReadsBottomUpPalettedBmpAndRefusesOthers) {
    // 2 x 2 at 8 bits: palette 0 red, 1 blue; bottom row first.
    std::vector<unsigned char> f(54 + 8 + 8, 0);
    auto put = [&](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            f[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    f[0] = 'B', f[1] = 'M';
    put(2, f.size(), 4), put(10, 62, 4), put(14, 40, 4), put(18, 2, 4), put(22, 2, 4), put(26, 1, 2),
        put(28, 8, 2);
    put(54, 0x00FF0000, 4), put(58, 0x000000FF, 4);  // blue, green, red, 0
    f[62] = 0, f[63] = 1;                            // bottom row: red, blue
    f[66] = 1, f[67] = 0;                            // top row: blue, red
    const std::string path = ::testing::TempDir() + "tool_test.bmp";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(f.data()), f.size());
    const image read = read_bmp(path);
    ASSERT_EQ(read.width, 2u);
    EXPECT_EQ(read.at(0, 0)[2], 255);  // top-left blue
    EXPECT_EQ(read.at(0, 1)[0], 255);  // bottom-left red
    f.resize(40);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(f.data()), f.size());
    EXPECT_THROW(read_bmp(path), std::runtime_error);
    EXPECT_THROW(read_picture(path + ".gif"), std::runtime_error);
}
