// SPDX-License-Identifier: Apache-2.0
// Device status and the firmware interlock against the virtual pad.
#include <cstdio>
#include <cstring>
#include <string>

#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using interlock = vantix::test::sim_pad_test;

std::string captured_stdout(void (*print)(vantix_hid_feature_device_status *),
                            vantix_hid_feature_device_status *s) {
    testing::internal::CaptureStdout();
    print(s);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

TEST_F(interlock, StatusBitsDecodeToFlags) {
    pad->stay_initialising(true);
    pad->set_calibration(false, true);
    pad->set_lock_bits(INTERLOCK_REPORTBUFFER | INTERLOCK_REGION);
    pad->set_error(0x0102, "Eek");
    vantix_hid_feature_device_status s = vantix_get_device_status(device);
    EXPECT_EQ(s.report_id, 13);
    EXPECT_EQ(s.is_initializing, 1);
    EXPECT_EQ(s.calibration_required, 0);
    EXPECT_EQ(s.is_calibrating, 1);
    EXPECT_EQ(s.all_output_commands_locked, 1);
    EXPECT_EQ(s.operating_mode_commands_locked, 0);
    EXPECT_EQ(s.region_commands_locked, 1);
    EXPECT_EQ(s.calibration_commands_locked, 0);
    EXPECT_EQ(s.last_error, 0x0102);
    EXPECT_EQ(std::string(s.error_info, 3), "Eek");

    pad->fail_transfers(VANTIX_FEATURE_DEVICE_STATUS);
    vantix::test::log_capture log;
    vantix_get_device_status_ref(device, &s);
    EXPECT_EQ(s.report_id, 0);
    EXPECT_EQ(s.is_initializing, 0);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Unable to get report"), 0);  // silent: report_id says it
}

TEST_F(interlock, PrinterLayout) {
    vantix_hid_feature_device_status s{};
    s.report_id = 13;
    s.is_idle = 1;
    s.reserved1 = 0xA;
    std::memset(s.error_info, 'x', sizeof s.error_info);  // not terminated
    EXPECT_EQ(captured_stdout(vantix_print_device_status, &s),
              "vantix_hid_feature_device_status:\n"
              "               report_id = 13\n"
              "         is_initializing = 0\n"
              "                 is_idle = 1\n"
              "    calibration_required = 0\n"
              "          is_calibrating = 0\n"
              "               reserved1 = 0x0a\n"
              "               reserved2 = 0x00\n"
              "               errorInfo = \"" +
                  std::string(64, 'x') + "\"\n");
    EXPECT_EQ(captured_stdout(vantix_print_device_status, nullptr),
              "vantix_hid_feature_device_status:\n  NULL\n");
}

TEST_F(interlock, ClearingTheErrorSendsThirteenAndZeros) {
    pad->set_error(7, "bad thing");
    EXPECT_EQ(vantix_clear_last_error(device), VANTIX_CODE_SUCCESS);
    bytes expected(73, 0);
    expected[0] = 13;
    EXPECT_EQ(last_set(VANTIX_FEATURE_DEVICE_STATUS), expected);
    EXPECT_EQ(pad->last_error(), 0);
    EXPECT_EQ(vantix_get_device_status(device).last_error, 0);
}

TEST_F(interlock, WaitPollsUntilTheRequestedGroupIsFree) {
    vantix::test::log_capture log;
    pad->hold_locks(INTERLOCK_REGION, 3);
    EXPECT_EQ(wait_for_interlock(device, 100, INTERLOCK_SCREEN), 1);  // another group: first poll
    EXPECT_EQ(wait_for_interlock(device, 100, INTERLOCK_REGION), 1);
    EXPECT_EQ(pad->status_polls(), 4u);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_INFO,
                        "Firmware interlock successfully waited for, sleep: 100, requested interlock: 8, "
                        "returned status: 4, took: 0"),
              1);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_INFO,
                        "Firmware interlock successfully waited for, sleep: 100, requested interlock: 4, "
                        "returned status: 0, took: 2"),
              1);
}

TEST_F(interlock, TimeoutMakesExactlyTheRequestedPolls) {
    pad->set_lock_bits(0x3F);
    EXPECT_EQ(wait_for_interlock(device, 100, INTERLOCK_DISPLAY), 0);
    EXPECT_EQ(pad->status_polls(), 100u);
    EXPECT_STREQ(
        vantix_get_last_error(),
        "Problem waiting for firmware interlock: device didn't respond in time, sleep: 100, requested "
        "interlock: 16, Returned status: 63");
    EXPECT_EQ(wait_for_interlock(device, 0, INTERLOCK_DISPLAY), 0);
    EXPECT_EQ(pad->status_polls(), 100u);
    EXPECT_STREQ(vantix_get_last_error(),
                 "Problem waiting for firmware interlock: device didn't respond in time, sleep: 0, requested "
                 "interlock: 16, Returned status: 0");
}

TEST_F(interlock, LegacySwitchAndUnreadableStatusPassAtOnce) {
    pad->set_lock_bits(0x3F);
    vantix_set_legacy_firmware(3, 1);
    EXPECT_EQ(wait_for_interlock(device, 100, INTERLOCK_REGION), 1);
    EXPECT_TRUE(wire().empty());
    vantix_set_legacy_firmware(3, 0);

    pad->fail_transfers(VANTIX_FEATURE_DEVICE_STATUS, padsim::always);
    EXPECT_EQ(wait_for_interlock(device, 100, INTERLOCK_REGION), 1);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13 failed"}));
}

struct no_status_pad : vantix::test::sim_pad_test {
    static padsim::model without_status() {
        padsim::model m;
        m.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
        return m;
    }
    no_status_pad() : sim_pad_test(without_status()) {}
};

TEST_F(no_status_pad, EveryWaitPassesAtTheFirstPollWithoutReachingThePad) {
    vantix_hid_feature_device_status s{};
    vantix_get_device_status_ref(device, &s);
    EXPECT_EQ(s.report_id, 0);
    EXPECT_STREQ(vantix_get_last_error(), "Report id 13 isn't supported by this device.\n");
    EXPECT_EQ(wait_for_interlock(device, 100, INTERLOCK_REGION | INTERLOCK_SCREEN), 1);
    EXPECT_EQ(vantix_set_run_mode(device, VANTIX_RUNMODE_PEN), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (std::vector<std::string>{"set 10"}));
}

}  // namespace
