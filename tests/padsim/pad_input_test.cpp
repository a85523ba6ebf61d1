// SPDX-License-Identifier: Apache-2.0
// Input reports the virtual pad produces: pen samples with hit-testing,
// simulated samples written by the host, analogue, debug and card reports.
#include <string>

#include "pad_wire.hpp"
#include "padsim/sim_driver.hpp"
#include "vantix-padsim.h"

namespace {

using namespace padsim_test;

// Everything queued so far, oldest first.
std::vector<bytes> drain(padsim::pad &pad) {
    std::vector<bytes> reports;
    while (auto report = pad.next_input(std::chrono::milliseconds(0)))
        reports.push_back(*report);
    return reports;
}

bytes extended(std::uint8_t status, padsim::point at, std::uint8_t region) {
    return {VANTIX_INPUT_EXTENDEDCOORDINATE,
            status,
            static_cast<std::uint8_t>(at.x & 0xFF),
            static_cast<std::uint8_t>(at.x >> 8),
            static_cast<std::uint8_t>(at.y & 0xFF),
            static_cast<std::uint8_t>(at.y >> 8),
            region};
}

bytes simulated(std::uint8_t type, std::uint8_t status, padsim::point at, std::uint8_t command = 0x64) {
    bytes report(VANTIX_FEATURE_ENGINEERING_TEST_SIZE, 0);
    report[0] = VANTIX_FEATURE_ENGINEERING_TEST;
    report[1] = command;
    report[2] = type;
    report[6] = status;
    report[7] = static_cast<std::uint8_t>(at.x & 0xFF);
    report[8] = static_cast<std::uint8_t>(at.x >> 8);
    report[9] = static_cast<std::uint8_t>(at.y & 0xFF);
    report[10] = static_cast<std::uint8_t>(at.y >> 8);
    return report;
}

TEST(padsim_input, DisplayCoversTheCalibratedDigitizer) {
    padsim::pad pad;  // calibrated 100..3995 x 50..1041 over 240 x 64 pixels
    EXPECT_EQ(pad.to_display({100, 50}), (padsim::point{0, 0}));
    EXPECT_EQ(pad.to_display({3995, 1041}), (padsim::point{239, 63}));
    EXPECT_FALSE(pad.to_display({99, 500}));
    EXPECT_FALSE(pad.to_display({2000, 1042}));
    for (padsim::point pixel : {padsim::point{0, 0}, {239, 63}, {119, 31}, {120, 48}})
        EXPECT_EQ(pad.to_display(pad.to_digitizer(pixel)), pixel) << pixel.x << "," << pixel.y;
}

TEST(padsim_input, StrokeIsPenDownSamplesThenPenUpWithTheRegionUnderThePen) {
    padsim::pad pad;
    const padsim::point ink = pad.to_digitizer({10, 10}), ok = pad.to_digitizer({50, 56}), off{0, 0};
    const padsim::point points[] = {ink, ok, off};
    pad.stroke(points);
    EXPECT_EQ(drain(pad), (std::vector<bytes>{extended(0x11, ink, 1), extended(0x11, ok, 2),
                                              extended(0x11, off, 0), extended(0x10, off, 0)}));

    pad.tap(pad.to_digitizer({200, 60}));
    const auto tap = drain(pad);
    ASSERT_EQ(tap.size(), 2u);
    EXPECT_EQ(tap[0][6], 3);
    EXPECT_EQ(tap[1][1], 0x10);
    EXPECT_EQ(tap[1][6], 3);  // the pen lifts over the button

    pad.set_pen_report(VANTIX_INPUT_COORDINATE);
    pad.pen_sample({0x1234, 0x0356}, true);
    EXPECT_EQ(drain(pad), (std::vector<bytes>{{1, 0x11, 0x34, 0x12, 0x56, 0x03}}));
    pad.stroke({});
    EXPECT_TRUE(drain(pad).empty());

    padsim::pad plain = pad_with([](padsim::model &m) { m.pen_report = VANTIX_INPUT_COORDINATE; });
    plain.tap({7, 8});
    EXPECT_EQ(drain(plain), (std::vector<bytes>{{1, 0x11, 7, 0, 8, 0}, {1, 0x10, 7, 0, 8, 0}}));
}

TEST(padsim_input, HostWrittenSimulatedSamplesBecomeInput) {
    padsim::pad pad;
    const padsim::point ok = pad.to_digitizer({5, 60});
    ASSERT_TRUE(set(pad, simulated(VANTIX_INPUT_EXTENDEDCOORDINATE, 0x11, ok)).ok);
    ASSERT_TRUE(set(pad, simulated(VANTIX_INPUT_COORDINATE, 0x10, ok)).ok);
    ASSERT_TRUE(set(pad, simulated(0, 0x10, ok)).ok);        // no type: the pad's pen report
    ASSERT_TRUE(set(pad, simulated(2, 0x11, ok, 0x65)).ok);  // another sub-command: no sample
    const auto reports = drain(pad);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0], extended(0x11, ok, 2));
    EXPECT_EQ(reports[1], (bytes{1, 0x10, reports[0][2], reports[0][3], reports[0][4], reports[0][5]}));
    EXPECT_EQ(reports[2], extended(0x10, ok, 2));

    // Hit-testing sees edits before they are saved.
    padsim::region cancel_everywhere = pad.regions()[2];
    cancel_everywhere.x1 = 0;
    bytes report{VANTIX_FEATURE_REGIONSET};
    const bytes record = padsim::encode_region(cancel_everywhere, pad.config().max_caption_length);
    report.insert(report.end(), record.begin(), record.end());
    ASSERT_TRUE(set(pad, report).ok);
    ASSERT_TRUE(set(pad, simulated(2, 0x11, ok)).ok);
    EXPECT_EQ(drain(pad).at(0)[6], 2);  // "Cancel" now spans "OK"; the smaller one wins
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONDELETE, 2}).ok);
    ASSERT_TRUE(set(pad, simulated(2, 0x11, ok)).ok);
    EXPECT_EQ(drain(pad).at(0)[6], 3);
}

TEST(padsim_input, AnalogueAndDebugReports) {
    padsim::pad pad;
    pad.adc_scan(true, {0x0102, 0x0304, 0x0506, 0x0708});
    pad.adc_channel(5, {1, 2, 3, 0xFFFF});
    const padsim::point ink = pad.to_digitizer({10, 20});
    pad.debug_sample(ink, false);
    pad.debug_sample({0, 0}, true);
    const auto reports = drain(pad);
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0], (bytes{3, VANTIX_ADC_DATA_TYPE_SCAN, 0x11, 2, 1, 4, 3, 6, 5, 8, 7}));
    EXPECT_EQ(reports[1], (bytes{3, VANTIX_ADC_DATA_TYPE_CHANNEL, 5, 1, 0, 2, 0, 3, 0, 0xFF, 0xFF}));

    const bytes &debug = reports[2];
    ASSERT_EQ(debug.size(), 22u);
    EXPECT_EQ(debug[0], VANTIX_INPUT_DEBUGCOORDINATE);
    EXPECT_EQ(debug[2], 0x10);
    EXPECT_EQ(debug[5] | debug[6] << 8, 4095);  // x_max of the digitizer
    EXPECT_EQ(debug[13] | debug[14] << 8, ink.x);
    EXPECT_EQ(debug[15] | debug[16] << 8, ink.y);
    EXPECT_EQ(debug[17] | debug[18] << 8, 10);  // mapped to display pixels
    EXPECT_EQ(debug[19] | debug[20] << 8, 20);
    EXPECT_EQ(debug[21], 1);
    EXPECT_EQ(reports[3][2], 0x11);
    EXPECT_EQ(reports[3][21], 0);  // off the display
}

TEST(padsim_input, CardSwipeReport) {
    padsim::pad pad;
    const std::string track1 = "%B4111111111111111^DOE/J^25121010000" + std::string(60, '9');
    ASSERT_TRUE(
        pad.swipe_card(track1, ";4111111111111111=2512?", "", {0, 1, 17}, VANTIX_CARDSWIPE_TYPE_UNKNOWN));
    const auto reports = drain(pad);
    ASSERT_EQ(reports.size(), 1u);
    const bytes &card = reports[0];
    ASSERT_EQ(card.size(), 231u);
    EXPECT_EQ(bytes(card.begin(), card.begin() + 5), (bytes{12, 255, 0, 1, 17}));
    EXPECT_EQ(std::string(card.begin() + 5, card.begin() + 84), track1.substr(0, 79));  // cut to its field
    EXPECT_EQ(std::string(card.begin() + 84, card.begin() + 107), ";4111111111111111=2512?");
    EXPECT_TRUE(std::all_of(card.begin() + 107, card.end(), [](std::uint8_t b) { return b == 0; }));

    padsim::pad no_reader = pad_with([](padsim::model &m) { m.mag_reader_id = 0; });
    EXPECT_FALSE(no_reader.swipe_card("x", "y", "z"));
    EXPECT_TRUE(drain(no_reader).empty());
}

TEST(padsim_input, CFunctionsDriveASigningSession) {
    padsim::reset();
    ASSERT_EQ(vantix_padsim_add_pad(), 0);
    padsim::pad &pad = padsim::pad_at(0);
    const int xy[] = {1000, 300, 1010, 310};
    EXPECT_EQ(vantix_padsim_stroke(0, xy, 2), 1);
    EXPECT_EQ(vantix_padsim_tap_display(0, 200, 60), 1);  // "Cancel"
    EXPECT_EQ(vantix_padsim_swipe_card(0, "%B1^X^?", nullptr, nullptr), 1);
    EXPECT_EQ(vantix_padsim_pen_sample(0, 1000, 300, 0), 1);
    auto reports = drain(pad);
    ASSERT_EQ(reports.size(), 7u);
    EXPECT_EQ(reports[0], extended(0x11, {1000, 300}, 1));
    EXPECT_EQ(reports[2], extended(0x10, {1010, 310}, 1));
    EXPECT_EQ(reports[4][6], 3);
    EXPECT_EQ(reports[5][1], VANTIX_CARDSWIPE_TYPE_FINANCIAL);
    EXPECT_EQ(reports[6][1], 0x10);

    EXPECT_EQ(vantix_padsim_tap(1, 10, 10), 0);  // no such pad
    EXPECT_EQ(vantix_padsim_tap(-1, 10, 10), 0);
    EXPECT_EQ(vantix_padsim_tap(0, 70000, 10), 0);
    EXPECT_EQ(vantix_padsim_tap_display(0, 240, 0), 0);
    EXPECT_EQ(vantix_padsim_stroke(0, nullptr, 2), 0);
    EXPECT_EQ(vantix_padsim_stroke(0, xy, 0), 0);
    EXPECT_TRUE(drain(pad).empty());
    padsim::reset();
}

}  // namespace
