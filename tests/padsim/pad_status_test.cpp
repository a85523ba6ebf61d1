// SPDX-License-Identifier: Apache-2.0
// Device status of the virtual pad: start-up, lock scripting, error state.
#include <gtest/gtest.h>

#include <thread>

#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

TEST(padsim_status, InitialisesForConfiguredPollsThenReportsIdle) {
    padsim::pad pad = pad_with([](padsim::model &m) { m.initialising_polls = 2; });
    EXPECT_EQ(poll(pad)[1], 0x01);
    EXPECT_EQ(poll(pad)[1], 0x01);
    EXPECT_EQ(poll(pad)[1], 0x10);  // idle: power-up run mode is command
    EXPECT_EQ(pad.status_polls(), 3u);

    pad.set_run_mode(VANTIX_RUNMODE_PEN);
    EXPECT_EQ(poll(pad)[1], 0x00);

    pad.stay_initialising(true);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(poll(pad)[1], 0x01);
}

TEST(padsim_status, HeldLocksCountDownPerPollAndPersistentLocksStay) {
    padsim::pad pad;
    pad.hold_locks(INTERLOCK_REGION | INTERLOCK_SCREEN, 2);
    pad.hold_locks(INTERLOCK_DISPLAY, 1);
    EXPECT_EQ(pad.lock_bits(), 0x1C);
    EXPECT_EQ(poll(pad)[3], 0x1C);
    EXPECT_EQ(poll(pad)[3], 0x0C);
    EXPECT_EQ(poll(pad)[3], 0x00);

    pad.set_lock_bits(0x3F);
    EXPECT_EQ(poll(pad)[3], 0x3F);
    EXPECT_EQ(poll(pad)[3], 0x3F);
    pad.set_lock_bits(0);
    EXPECT_EQ(poll(pad)[3], 0x00);
    // Reading the stored bytes does not count as a poll.
    pad.hold_locks(INTERLOCK_CALIBRATE, 1);
    EXPECT_EQ(pad.stored(VANTIX_FEATURE_DEVICE_STATUS)[3], 0x20);
    EXPECT_EQ(poll(pad)[3], 0x20);
}

TEST(padsim_status, CommandsKeepTheirGroupBusyForConfiguredPolls) {
    padsim::pad pad = pad_with([](padsim::model &m) { m.busy_polls_after_command[2] = 2; });
    pad.set_busy_after_command(INTERLOCK_DISPLAY, 1);

    const std::uint8_t commit[] = {VANTIX_FEATURE_REGIONEDITCOMPLETE, 1};
    ASSERT_TRUE(pad.set_feature(commit, sizeof commit).ok);
    EXPECT_EQ(poll(pad)[3], INTERLOCK_REGION);
    EXPECT_EQ(poll(pad)[3], INTERLOCK_REGION);
    EXPECT_EQ(poll(pad)[3], 0);

    const std::uint8_t content[] = {VANTIX_FEATURE_DISPLAYCONTENT, 0};
    ASSERT_TRUE(pad.set_feature(content, sizeof content).ok);
    EXPECT_EQ(poll(pad)[3], INTERLOCK_DISPLAY);
    EXPECT_EQ(poll(pad)[3], 0);

    // Deleting a region touches screens too; no busy time configured there.
    const std::uint8_t remove[] = {VANTIX_FEATURE_DELETE_REGION, 3};
    ASSERT_TRUE(pad.set_feature(remove, sizeof remove).ok);
    EXPECT_EQ(poll(pad)[3], INTERLOCK_REGION);
}

TEST(padsim_status, ErrorStateIsReportedAndClearedByWritingTheStatus) {
    padsim::pad pad = pad_with([](padsim::model &m) { m.calibration_required = true; });
    pad.set_error(0x1234, std::string(70, 'x'));
    auto report = poll(pad);
    EXPECT_EQ(report[2], 0x01);
    EXPECT_EQ(report[7], 0x34);
    EXPECT_EQ(report[8], 0x12);
    EXPECT_EQ(std::string(report.begin() + 9, report.end()), std::string(64, 'x'));

    pad.set_calibration(false, true);
    EXPECT_EQ(poll(pad)[2], 0x02);

    std::vector<std::uint8_t> clear(VANTIX_FEATURE_DEVICE_STATUS_SIZE, 0);
    clear[0] = VANTIX_FEATURE_DEVICE_STATUS;
    ASSERT_TRUE(pad.set_feature(clear.data(), clear.size()).ok);
    EXPECT_EQ(pad.last_error(), 0);
    EXPECT_EQ(pad.error_text(), "");
    report = poll(pad);
    EXPECT_TRUE(std::all_of(report.begin() + 7, report.end(), [](std::uint8_t b) { return b == 0; }));
}

}  // namespace

namespace {

// The read thread waits on the pad while the application thread polls it.
TEST(padsim_status, PollsFromOneThreadWhileAnotherWaitsForInput) {
    padsim::pad pad;
    std::thread reader([&pad] {
        const auto first = pad.next_input(std::chrono::seconds(5));
        EXPECT_TRUE(first.has_value());
        // Unplugging wakes a waiting reader long before its timeout.
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(pad.next_input(std::chrono::seconds(5)).has_value());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    });
    for (int i = 0; i < 100; ++i)
        poll(pad);
    pad.queue_input({1, 0, 0, 0, 0, 0});
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pad.unplug();
    reader.join();
    EXPECT_EQ(pad.status_polls(), 100u);
}

}  // namespace
