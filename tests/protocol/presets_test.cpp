// SPDX-License-Identifier: Apache-2.0
// The signing presets against the virtual pad: their whole report
// sequence, the save flag, the screens they leave, and pads they leave alone.
#include <algorithm>

#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using lines = std::vector<std::string>;

struct presets : vantix::test::sim_pad_test {
    explicit presets(const padsim::model &m = padsim::model{}) : sim_pad_test(m) {}

    // The transfers since the last call, without the interlock polls.
    lines steps() {
        lines out = wire();
        out.erase(std::remove(out.begin(), out.end(), "get 13"), out.end());
        return out;
    }
};

padsim::model with(void (*tune)(padsim::model &)) {
    padsim::model m;
    tune(m);
    return m;
}

const padsim::store_screen &screen(const std::vector<padsim::store_screen> &screens, uint8_t number) {
    return *std::find_if(screens.begin(), screens.end(),
                         [number](const padsim::store_screen &s) { return s.number == number; });
}

TEST_F(presets, ZelnarModeStepByStep) {
    ASSERT_EQ(vantix_set_zelnar_mode(device, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_OUTPUTCONFIGURATION), (bytes{91, 0x02, 0, 0, 0x40, 0, 3, 0, 0, 0}));
    EXPECT_EQ(steps(),
              (lines{"get 11", "set 172", "set 171", "get 171", "set 171", "set 172", "set 160", "get 162",
                     "get 162", "set 162", "set 162", "set 10", "get 91", "set 91", "set 171", "set 10"}));

    const auto screens = pad->screens();
    EXPECT_EQ(screen(screens, 1).timeout_screen_next, 2);
    const padsim::store_screen &second = screen(screens, 2);
    EXPECT_EQ(second.timeout, 0);
    EXPECT_EQ(second.timeout_screen_next, 2);
    for (uint8_t region : {3, 4})
        EXPECT_NE(std::find(second.regions.begin(), second.regions.end(), padsim::screen_entry{region, 2}),
                  second.regions.end())
            << "region " << unsigned{region};
    EXPECT_TRUE(pad->store_pending());  // not saved
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_PEN);
    EXPECT_EQ(pad->active_screen(), 1);
}

struct presets_card_reader : presets {
    presets_card_reader()
        : presets(with([](padsim::model &m) { m.mag_reader_id = VANTIX_MAG_CARDREADER_CHANGEABLE | 1; })) {}
};

TEST_F(presets_card_reader, TravonModeSavesBeforeWritingTheOutputAndSetsTheCardReader) {
    ASSERT_EQ(vantix_set_travon_mode(device, 1), VANTIX_CODE_SUCCESS);
    const bytes output = last_set(VANTIX_FEATURE_OUTPUTCONFIGURATION);
    EXPECT_EQ(output, (bytes{91, 0, 0, 0x01, 0x40, 0, 3, 0, 0, 0x01}));
    const bytes card = last_set(VANTIX_FEATURE_PERIPHERAL_CONFIGURATION);
    ASSERT_EQ(card.size(), 17u);
    EXPECT_EQ(card[1], 12);
    EXPECT_EQ(card[16], 0x01);
    EXPECT_EQ(last_set(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD), (bytes{172, 1}));
    EXPECT_EQ(steps(), (lines{"get 11", "set 172", "set 171", "get 171", "set 171", "set 172", "set 160",
                              "get 162", "get 162", "set 162", "set 162", "set 10", "get 91", "set 172",
                              "set 91", "set 171", "get 92", "set 92", "set 10"}));
    EXPECT_EQ(screen(pad->screens(), 2).timeout, 15);
    EXPECT_FALSE(pad->store_pending());
    EXPECT_EQ(pad->peripheral_configuration().power_up, pad->peripheral_configuration().current);
}

struct presets_without_display : presets {
    presets_without_display()
        : presets(with([](padsim::model &m) { m.display_type = VANTIX_DISPLAY_TYPE_NONE; })) {}
};

TEST_F(presets_without_display, OnlyScreenOneTimesOut) {
    ASSERT_EQ(vantix_set_travon_mode(device, 0), VANTIX_CODE_SUCCESS);
    const lines done = steps();
    EXPECT_EQ(std::count(done.begin(), done.end(), "get 162"), 1);
    EXPECT_EQ(std::count(done.begin(), done.end(), "set 162"), 1);
    EXPECT_EQ(screen(pad->screens(), 1).timeout, 15);
}

struct pad_kind {
    uint8_t coordinate_modes, screens;
    bool configured;
};

struct presets_qualifying : presets, ::testing::WithParamInterface<pad_kind> {
    static padsim::model model_of(const pad_kind &kind) {
        padsim::model m;
        m.coordinate_modes = kind.coordinate_modes;
        m.supports_screens_resources = kind.screens;
        return m;
    }
    presets_qualifying() : presets(model_of(GetParam())) {}
};

// Pads that do not qualify get nothing but the capabilities read.
TEST_P(presets_qualifying, OnlyQualifyingPadsAreConfigured) {
    EXPECT_EQ(vantix_set_zelnar_mode(device, 1), VANTIX_CODE_SUCCESS);
    const lines done = steps();
    EXPECT_EQ(done.front(), "get 11");
    EXPECT_EQ(done.size() > 1, GetParam().configured);
}

INSTANTIATE_TEST_SUITE_P(modes_and_store, presets_qualifying,
                         ::testing::Values(pad_kind{VANTIX_MODE_STREAMING, 1, false},
                                           pad_kind{VANTIX_MODE_BUFFERING, 1, false},
                                           pad_kind{VANTIX_MODE_STREAMING | VANTIX_MODE_BUFFERING, 0, false},
                                           pad_kind{VANTIX_MODE_COMPRESSION, 1, true},
                                           pad_kind{VANTIX_MODE_THROTTLING, 1, true}));

}  // namespace
