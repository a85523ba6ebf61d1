// SPDX-License-Identifier: Apache-2.0
// A recorded pad replayed on the pad model: recorded answers until the host
// sets a report, the recorded geometry where it is sane, the recorded input
// at every open.
#include <gtest/gtest.h>

#include "padsim/replay.hpp"
#include "vantix-zelnar.h"

namespace {

using bytes = std::vector<std::uint8_t>;

padsim::recorded_feature answer(std::uint8_t id, bytes b) {
    b.insert(b.begin(), id);
    return {0, padsim::recording_phase::sweep, id, std::move(b), {}};
}

padsim::recording recorded_pad() {
    padsim::recording r;
    r.vendor_id = 0x1209;
    r.product_id = 0x0241;
    r.manufacturer = "Maker";
    r.model = "Recorded";
    r.descriptor = padsim::pad().descriptor();
    r.features = {answer(VANTIX_FEATURE_DEVICECONFIGURE, {0, 7}),
                  answer(VANTIX_FEATURE_DEVICECONFIGURE, {0, 9})};
    r.inputs = {{100, {2, 0x81, 1, 0, 1, 0, 0}}, {200, {2, 0x80, 1, 0, 1, 0, 0}}};
    return r;
}

bytes get(padsim::pad &p, std::uint8_t id, std::size_t length, padsim::result *outcome = nullptr) {
    bytes buffer(length, 0);
    buffer[0] = id;
    const padsim::result r = p.get_feature(buffer.data(), buffer.size());
    if (outcome)
        *outcome = r;
    return buffer;
}

TEST(padsim_replay, TheLatestAnswerStandsUntilTheHostSetsTheReport) {
    auto p = padsim::make_replay_pad(recorded_pad(), padsim::pacing::fast);
    const std::size_t length = VANTIX_FEATURE_DEVICECONFIGURE_SIZE;
    EXPECT_EQ(get(*p, VANTIX_FEATURE_DEVICECONFIGURE, length)[2], 9);
    EXPECT_EQ(get(*p, VANTIX_FEATURE_DEVICECONFIGURE, length)[2], 9);
    bytes written(length, 0);
    written[0] = VANTIX_FEATURE_DEVICECONFIGURE;
    written[2] = 4;
    ASSERT_TRUE(p->set_feature(written.data(), written.size()).ok);
    EXPECT_EQ(get(*p, VANTIX_FEATURE_DEVICECONFIGURE, length)[2], 4);  // the model kept the write
}

TEST(padsim_replay, ARecordedFailureFailsTheReadWithItsText) {
    padsim::recording r = recorded_pad();
    r.features.push_back({0, padsim::recording_phase::open, VANTIX_FEATURE_VERSIONINFO, {}, "Broken pipe"});
    auto p = padsim::make_replay_pad(r, padsim::pacing::fast);
    padsim::result outcome;
    get(*p, VANTIX_FEATURE_VERSIONINFO, VANTIX_FEATURE_VERSIONINFO_SIZE, &outcome);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, "Broken pipe");
}

TEST(padsim_replay, TheModelTakesTheRecordedIdentityAndSaneGeometry) {
    bytes display(VANTIX_FEATURE_DISPLAYINFO_SIZE - 1, 0);
    const struct {
        std::uint16_t width, height;
        std::uint8_t regions;
        std::uint16_t want_width;
        std::uint8_t want_regions;
    } cases[] = {{320, 80, 5, 320, 5}, {65535, 80, 5, 240, 8}, {320, 80, 0, 240, 8}, {320, 80, 255, 240, 8}};
    for (const auto &c : cases) {
        display = {static_cast<std::uint8_t>(c.width),
                   static_cast<std::uint8_t>(c.width >> 8),
                   static_cast<std::uint8_t>(c.height),
                   static_cast<std::uint8_t>(c.height >> 8),
                   1,
                   40,
                   8,
                   c.regions,
                   20};
        padsim::recording r = recorded_pad();
        r.features.push_back(answer(VANTIX_FEATURE_DISPLAYINFO, display));
        const padsim::model m = padsim::replay_model(r);
        EXPECT_EQ(m.display_width, c.want_width) << c.width;
        EXPECT_EQ(m.region_count, c.want_regions) << unsigned{c.regions};
        EXPECT_EQ(m.product_id, 0x0241);
        EXPECT_EQ(m.model_name, "Recorded");
    }
}

TEST(padsim_replay, OnlyTheRecordedDescriptorsReportsExist) {
    padsim::recording r = recorded_pad();
    padsim::model without_pixels;
    without_pixels.undeclared_reports = {VANTIX_FEATURE_PIXELS};
    r.descriptor = padsim::pad(without_pixels).descriptor();
    auto p = padsim::make_replay_pad(r, padsim::pacing::fast);
    EXPECT_FALSE(p->declares(VANTIX_FEATURE_PIXELS));
    EXPECT_TRUE(p->declares(VANTIX_FEATURE_DEVICECONFIGURE));
}

TEST(padsim_replay, EveryOpenPlaysTheInputAgain) {
    auto p = padsim::make_replay_pad(recorded_pad(), padsim::pacing::fast);
    EXPECT_EQ(p->queued_inputs(), 0u);
    for (int open = 0; open < 2; ++open) {
        p->mark_open(true);
        EXPECT_EQ(p->queued_inputs(), 2u);
        p->mark_open(false);
    }
    EXPECT_EQ(p->next_input(std::chrono::milliseconds(0)), (bytes{2, 0x81, 1, 0, 1, 0, 0}));
}

TEST(padsim_replay, PacedInputArrivesInOrderAndClosingStopsIt) {
    padsim::recording r = recorded_pad();
    r.inputs.push_back({3'600'000'000, {2, 0x81, 9, 0, 9, 0, 0}});  // an hour later: never reached
    auto p = padsim::make_replay_pad(r, padsim::pacing::recorded);
    p->mark_open(true);
    EXPECT_EQ(p->next_input(std::chrono::seconds(10)), r.inputs[0].bytes);
    EXPECT_EQ(p->next_input(std::chrono::seconds(10)), r.inputs[1].bytes);
    p->mark_open(false);  // returns although the last report is an hour away
    EXPECT_EQ(p->queued_inputs(), 0u);
}

}  // namespace
