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

// File bytes, written to a file named `name` in the test's directory.
std::string write_file(const std::string &name, const std::vector<unsigned char> &bytes) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

void put_le(std::vector<unsigned char> &f, std::size_t at, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
        f[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// The 54-byte header of a BMP of w x h at `bits`, pixels from byte 54 + palette.
std::vector<unsigned char> bmp_header(std::int32_t w, std::int32_t h, int bits, std::uint32_t palette = 0) {
    std::vector<unsigned char> f(54 + palette, 0);
    f[0] = 'B', f[1] = 'M';
    put_le(f, 10, 54 + palette, 4), put_le(f, 14, 40, 4), put_le(f, 18, static_cast<std::uint32_t>(w), 4);
    put_le(f, 22, static_cast<std::uint32_t>(h), 4), put_le(f, 26, 1, 2), put_le(f, 28, bits, 2);
    return f;
}

// A PNG chunk: length, type, data and CRC.
void add_chunk(std::vector<unsigned char> &f, const char *type, const std::vector<unsigned char> &data) {
    const std::size_t from = f.size() + 4;
    for (int shift : {24, 16, 8, 0})
        f.push_back(static_cast<unsigned char>(data.size() >> shift));
    f.insert(f.end(), type, type + 4);
    f.insert(f.end(), data.begin(), data.end());
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = from; i < f.size(); ++i) {
        crc ^= f[i];
        for (int k = 0; k < 8; ++k)
            crc = crc >> 1 ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    for (int shift : {24, 16, 8, 0})
        f.push_back(static_cast<unsigned char>(~crc >> shift));
}

// A PNG claiming w x h (8-bit RGB) whose pixel data ends at once.
std::vector<unsigned char> png_header(std::uint32_t w, std::uint32_t h) {
    std::vector<unsigned char> f = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, header;
    for (std::uint32_t v : {w, h})
        for (int shift : {24, 16, 8, 0})
            header.push_back(static_cast<unsigned char>(v >> shift));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    add_chunk(f, "IHDR", header);
    add_chunk(f, "IDAT", {});
    return f;
}

TEST(ToolPicture, ReadsBottomUpPalettedBmpAndRefusesOthers) {
    // 2 x 2 at 8 bits: palette 0 red, 1 blue; bottom row first.
    std::vector<unsigned char> f = bmp_header(2, 2, 8, 8);
    f.resize(f.size() + 8);
    put_le(f, 54, 0x00FF0000, 4), put_le(f, 58, 0x000000FF, 4);  // blue, green, red, 0
    f[62] = 0, f[63] = 1;                                        // bottom row: red, blue
    f[66] = 1, f[67] = 0;                                        // top row: blue, red
    const std::string path = write_file("tool_test.bmp", f);
    const image read = read_fitted(path, 2, 2);
    ASSERT_EQ(read.width, 2u);
    EXPECT_EQ(read.at(0, 0)[2], 255);  // top-left blue
    EXPECT_EQ(read.at(0, 1)[0], 255);  // bottom-left red
    f.resize(40);
    write_file("tool_test.bmp", f);
    EXPECT_THROW(read_fitted(path, 2, 2), std::runtime_error);
    EXPECT_THROW(read_fitted(path + ".gif", 2, 2), std::runtime_error);
}

// Headers that claim more than the file holds, or more than pictures may
// be, are refused before anything is allocated for their pixels.
TEST(ToolPicture, OversizedAndLyingHeadersAreRefusedWithTheirReason) {
    const std::string too_large = " pixels, more than the 8192 x 8192 pixels pictures are limited to";
    const struct {
        const char *name;
        std::vector<unsigned char> bytes;
        std::string reason;
    } cases[] = {
        {"huge.bmp", bmp_header(16384, 16384, 24), "the picture is 16384 x 16384" + too_large},
        {"tall.bmp", bmp_header(1, -100000, 24), "the picture is 1 x 100000" + too_large},
        {"empty.bmp", bmp_header(0, 5, 24), "the picture is empty (0 x 5 pixels)"},
        {"lying.bmp", bmp_header(8000, 8000, 24),
         "file is cut short: 8000 x 8000 pixels at 24 bits need 192000000 bytes from byte 54"},
        {"huge.png", png_header(50000, 50000), "the picture is 50000 x 50000" + too_large},
        {"bomb.png", png_header(16000, 16000), "the picture is 16000 x 16000" + too_large},
        {"wide.png", png_header(8193, 1), "the picture is 8193 x 1" + too_large},
    };
    for (const auto &c : cases) {
        const std::string path = write_file(c.name, c.bytes);
        try {
            read_fitted(path, 240, 64);
            ADD_FAILURE() << c.name << " was read";
        } catch (const std::runtime_error &e) {
            EXPECT_EQ(e.what(), path + ": " + c.reason);
        }
    }
}

// The row readers, on a written PNG and on the picture fuzz target's seeds.
TEST(ToolPicture, PngRowsAndInterlacedPassesLandWhereTheyBelong) {
    const std::string corpus = VANTIX_PICTURE_CORPUS;
    image written(7, 5);
    for (unsigned y = 0; y < 5; ++y)
        for (unsigned x = 0; x < 7; ++x)
            written.at(x, y)[0] = static_cast<std::uint8_t>(x * 30),
                          written.at(x, y)[1] = static_cast<std::uint8_t>(y * 50);
    const std::string path = ::testing::TempDir() + "tool_test.png";
    write_png(path, written);
    EXPECT_EQ(read_fitted(path, 7, 5).rgb, written.rgb);
    // The same picture, interlaced or not; alpha over white lightens it.
    const image plain = read_fitted(corpus + "/rgba.png", 9, 7),
                interlaced = read_fitted(corpus + "/rgba_interlaced.png", 9, 7);
    EXPECT_EQ(plain.rgb, interlaced.rgb);
    EXPECT_GT(plain.at(0, 6)[0], 100);  // blue at 60 %: its red is the white below
    for (const char *name : {"grey16.png", "palette.png", "bgr24.bmp", "palette8.bmp", "mono1.bmp"})
        EXPECT_NO_THROW(read_fitted(corpus + "/" + name, 240, 64)) << name;
}
