// SPDX-License-Identifier: Apache-2.0
// Second-generation diagnostics of the virtual pad (report 230: tuning,
// product ID, hardware configuration, GUID) and pixel read-back.
#include <algorithm>

#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

constexpr std::size_t diagnostics_size = VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS_SIZE;

padsim::result command(padsim::pad &pad, bytes head) {
    head.insert(head.begin(), VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS);
    head.resize(diagnostics_size, 0);
    return set(pad, head);
}

bytes answer(padsim::pad &pad) {
    return get(pad, VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS, diagnostics_size);
}

// Byte 1 to 3 of the tuning status answer.
bytes tuning_status(padsim::pad &pad) {
    EXPECT_TRUE(command(pad, {'T', 'T', '5'}).ok);
    const bytes r = answer(pad);
    return {r[1], r[2], r[3]};
}

TEST(padsim_diagnostics, TuningFollowsTheStylusAndCanBeAborted) {
    padsim::pad pad;
    EXPECT_EQ(tuning_status(pad), (bytes{'T', 0x00, 0x18}));
    ASSERT_TRUE(command(pad, {'T', 'T', '+'}).ok);
    // Down and up at location 1, then at location 2; the gain shows once found.
    const std::pair<bool, bytes> steps[] = {
        {true, {'T', 0x05, 0}},     {true, {'T', 0x05, 0}},  // more samples down wait for the lift
        {false, {'T', 0x09, 0}},    {true, {'T', 0x0D, 0}},
        {false, {'T', 0x0C, 0x18}},  // done: state 3, tuning off
    };
    EXPECT_EQ(tuning_status(pad), (bytes{'T', 0x01, 0}));
    for (const auto &[down, status] : steps) {
        pad.pen_sample({1000, 500}, down);
        EXPECT_EQ(tuning_status(pad), status) << down;
    }

    ASSERT_TRUE(command(pad, {'T', 'T', '+'}).ok);
    pad.tap({1000, 500});
    ASSERT_TRUE(command(pad, {'T', 'T', '-'}).ok);
    EXPECT_EQ(tuning_status(pad), (bytes{'T', 0x0A, 0x18}));  // aborted at location 2
    EXPECT_EQ(pad.tuning_run(), (padsim::tuning_progress{false, true, 2, 0x18}));
    pad.tap({1000, 500});  // not tuning: the stylus changes nothing
    ASSERT_TRUE(command(pad, {'T', 'T', '+'}).ok);
    EXPECT_EQ(tuning_status(pad), (bytes{'T', 0x01, 0}));
}

TEST(padsim_diagnostics, ProductIdConfigurationAndGuid) {
    padsim::pad pad(pad_with([](padsim::model &m) { m.hardware_configuration = 0xA5; }));
    ASSERT_TRUE(command(pad, {0xCD, 0, 0, 0, 0x01, 0x10}).ok);
    EXPECT_EQ(pad.product_id(), 0x1001);
    bytes nothing_asked(diagnostics_size, 0);
    nothing_asked[0] = VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS;
    EXPECT_EQ(answer(pad), nothing_asked);

    ASSERT_TRUE(command(pad, {0xCD}).ok);
    for (int read = 0; read < 2; ++read) {  // the answer stays until the next command
        const bytes configuration = answer(pad);
        EXPECT_EQ(bytes(configuration.begin(), configuration.begin() + 4), (bytes{230, 0xCD, 0xA5, 0}));
    }

    const auto guid = padsim::model{}.hardware_guid;
    ASSERT_TRUE(command(pad, {'u'}).ok);
    bytes read = answer(pad);
    EXPECT_EQ(read[1], 'u');
    EXPECT_TRUE(std::equal(guid.begin(), guid.end(), read.begin() + 4));
    EXPECT_EQ(read[20], 0);

    bytes write{'u', 'I', 'D'};
    for (std::uint8_t i = 0; i < 16; ++i)
        write.push_back(static_cast<std::uint8_t>(0xF0 + i));
    ASSERT_TRUE(command(pad, write).ok);
    EXPECT_EQ(pad.hardware_guid()[15], 0xFF);
    ASSERT_TRUE(command(pad, {'u'}).ok);
    read = answer(pad);
    EXPECT_TRUE(std::equal(write.begin() + 3, write.end(), read.begin() + 4));
}

TEST(padsim_diagnostics, MalformedCommandsAreRefusedAndChangeNothing) {
    padsim::pad pad;
    ASSERT_TRUE(command(pad, {0xCD}).ok);
    const bytes pending = answer(pad);
    const bytes refused[] = {
        {},
        {'T', 'T', '?'},
        {'T', 'X', '+'},
        {0xCD, 1, 0, 0, 0x01, 0x10},  // bytes 2-4 must be zero
        {'u', 'I', 'X', 1},
        {'u', 0, 'D'},
        {0x42},
    };
    for (const bytes &head : refused) {
        const padsim::result outcome = command(pad, head);
        EXPECT_EQ(outcome.error, "Unknown diagnostics command.\n") << (head.empty() ? 0 : +head[0]);
        EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_value);
    }
    EXPECT_EQ(answer(pad), pending);
    EXPECT_EQ(pad.product_id(), padsim::model{}.product_id);
    EXPECT_EQ(pad.hardware_guid(), padsim::model{}.hardware_guid);
    EXPECT_FALSE(pad.tuning_run().running);

    // A scripted answer survives the question and answers one read.
    bytes scripted(diagnostics_size, 0);
    scripted[2] = 0x0B;
    pad.store(VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS, scripted);
    EXPECT_EQ(tuning_status(pad), (bytes{0, 0x0B, 0}));
    EXPECT_EQ(tuning_status(pad), (bytes{'T', 0, 0x18}));
}

bytes locate(std::uint16_t x, std::uint16_t y) {
    return {VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION, static_cast<std::uint8_t>(x),
            static_cast<std::uint8_t>(x >> 8), static_cast<std::uint8_t>(y),
            static_cast<std::uint8_t>(y >> 8)};
}

bytes pixels(padsim::pad &pad) { return get(pad, VANTIX_FEATURE_PIXELS, VANTIX_FEATURE_PIXELS_SIZE); }

// Pixel `i` of an answer as a, r, g, b.
bytes pixel(const bytes &answer, std::size_t i) {
    return bytes(answer.begin() + 7 + 4 * i, answer.begin() + 11 + 4 * i);
}

TEST(padsim_diagnostics, PixelsReadBackInRowOrderFromThePosition) {
    padsim::pad pad(pad_with([](padsim::model &m) { m.color_depth = 24; }));
    // The last pixel of row 0 and the first two of row 1.
    ASSERT_TRUE(set(pad, chunk(239, 0, 1, 1, 24, {10, 20, 30})).ok);
    ASSERT_TRUE(set(pad, chunk(0, 1, 2, 1, 24, {40, 50, 60, 70, 80, 90})).ok);

    ASSERT_TRUE(set(pad, locate(200, 0)).ok);
    bytes read = pixels(pad);
    EXPECT_EQ(bytes(read.begin(), read.begin() + 7), (bytes{105, 200, 0, 0, 0, 0, 1}));  // 256 pixels
    EXPECT_EQ(pixel(read, 0), (bytes{255, 255, 255, 255}));
    EXPECT_EQ(pixel(read, 39), (bytes{255, 10, 20, 30}));
    EXPECT_EQ(pixel(read, 40), (bytes{255, 40, 50, 60}));
    EXPECT_EQ(pixel(read, 41), (bytes{255, 70, 80, 90}));
    EXPECT_EQ(pixel(read, 255), (bytes{255, 255, 255, 255}));
    EXPECT_EQ(pixels(pad), read);  // reading leaves the position

    // Near the end an answer carries what the display has left.
    ASSERT_TRUE(set(pad, locate(230, 63)).ok);
    read = pixels(pad);
    EXPECT_EQ(bytes(read.begin() + 1, read.begin() + 7), (bytes{230, 0, 63, 0, 10, 0}));
    EXPECT_EQ(pixel(read, 9), (bytes{255, 0, 0, 0}));  // the corner of the Cancel button's frame
    EXPECT_TRUE(std::all_of(read.begin() + 7 + 40, read.end(), [](std::uint8_t b) { return b == 0; }));

    for (const bytes &off : {locate(240, 0), locate(0, 64), locate(0, 300)}) {
        EXPECT_EQ(set(pad, off).error, "Pixel position is off the display.\n");
        EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_value);
    }
    EXPECT_EQ(pixels(pad)[1], 230);
}

}  // namespace
