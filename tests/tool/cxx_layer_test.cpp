// SPDX-License-Identifier: Apache-2.0
// The C++ layer against the virtual pad: handles open and close what the C
// API opens and closes, handlers reach their pad, failures carry the text.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "padsim/sim_driver.hpp"
#include "vantix-padsim.h"
#include "vantix-zelnar.hpp"

namespace zelnar = vantix::zelnar;

namespace {

class CxxLayer : public ::testing::Test {
protected:
    CxxLayer() { vantix_padsim_register(); }
    ~CxxLayer() override { padsim::reset(); }
    zelnar::library library_;
};

template <typename Done>
bool wait_for(Done done) {
    for (int i = 0; i < 300 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

}  // namespace

TEST_F(CxxLayer, ListsAndOpensTheVirtualPadAndClosesItAgain) {
    EXPECT_FALSE(zelnar::library::version().empty());
    zelnar::device_list pads;
    auto sim = pads.first_of_driver("SIM");
    ASSERT_TRUE(sim);
    EXPECT_EQ(sim->path(), "sim:0");
    EXPECT_EQ(pads.find_path("sim:0")->product_id(), sim->product_id());
    EXPECT_FALSE(pads.find_path("nowhere"));
    {
        zelnar::pad pad(*sim);
        EXPECT_TRUE(sim->is_open());
        EXPECT_EQ(pad.display().width, 240);
        EXPECT_EQ(pad.capabilities().report_id, VANTIX_FEATURE_CAPABILITIES);
        EXPECT_EQ(pad.regions().size(), pad.display().region_count);
        EXPECT_TRUE(pad.uuid());
        zelnar::pad moved(std::move(pad));
        EXPECT_TRUE(moved.is_open());
        EXPECT_FALSE(pad.is_open());
    }
    EXPECT_FALSE(sim->is_open());
}

TEST_F(CxxLayer, FailuresThrowWithTheLastErrorText) {
    zelnar::device_list pads;
    zelnar::pad pad(*pads.first_of_driver("SIM"));
    padsim::pad_at(0).fail_transfers(VANTIX_FEATURE_CAPABILITIES, padsim::always);
    try {
        pad.capabilities();
        FAIL() << "no exception";
    } catch (const zelnar::error &e) {
        EXPECT_STREQ(e.what(), "reading the capabilities: Transfer of report 11 failed (scripted).");
    }
    EXPECT_THROW(zelnar::bitmap(0, 5), zelnar::error);
}

TEST_F(CxxLayer, InputHandlerSeesTheStrokeOnItsOwnPad) {
    zelnar::device_list pads;
    zelnar::pad pad(*pads.first_of_driver("SIM"));
    std::atomic<int> down{0}, up{0};
    pad.on_input([&](const zelnar::input_event &e) {
        EXPECT_EQ(&e.device, &pad.record());
        EXPECT_FALSE(e.raw.empty());
        if (e.type == VANTIX_INPUT_EXTENDEDCOORDINATE)
            ++(e.report.extended_coordinate.sample_info.common.down ? down : up);
    });
    pad.on_input([&](const zelnar::input_event &e) {  // replaces, registers once
        if (e.type == VANTIX_INPUT_EXTENDEDCOORDINATE)
            ++(e.report.extended_coordinate.sample_info.common.down ? down : up);
    });
    EXPECT_EQ(vantix_list_count(pad.record().input_callbacks), 1u);
    pad.start_reading();
    const int xy[] = {500, 400, 600, 420, 700, 440};
    vantix_padsim_stroke(0, xy, 3);
    EXPECT_TRUE(wait_for([&] { return up.load() == 1; }));
    EXPECT_EQ(down.load(), 3);
    pad.stop_reading();
    EXPECT_FALSE(pad.is_open());
    EXPECT_EQ(pad.record().user_defined, nullptr);
}

TEST_F(CxxLayer, HotplugSubscriptionsShareOneLibraryCallback) {
    const unsigned before = vantix_list_count(vantix_get_device_callbacks());
    {
        zelnar::hotplug_subscription first([](vantix_hotplug_type, std::string_view) {});
        zelnar::hotplug_subscription second([](vantix_hotplug_type, std::string_view) {});
        EXPECT_EQ(vantix_list_count(vantix_get_device_callbacks()), before + 1);
    }
    EXPECT_EQ(vantix_list_count(vantix_get_device_callbacks()), before);
}
