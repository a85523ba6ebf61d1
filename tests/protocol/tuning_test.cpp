// SPDX-License-Identifier: Apache-2.0
// Acquisition and tuning parameters against the virtual pad: packed bytes,
// signed fields, round trips and the error-correction table sequences.
#include <string>

#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using tuning = vantix::test::sim_pad_test;

TEST_F(tuning, SmallWritesAndTheirBytes) {
    vantix_hid_feature_power_state power{};
    power.power_state = VANTIX_ASIC_POWER_STATE_STANDBY;
    EXPECT_EQ(vantix_set_power_state(device, power), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_POWERSTATE), (bytes{21, 2}));
    EXPECT_EQ(vantix_get_power_state(device).power_state, VANTIX_ASIC_POWER_STATE_STANDBY);

    EXPECT_EQ(vantix_set_frequency_amplitude(device, {0, 4, 5, 6}), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_FREQUENCYAMPLITUDE), (bytes{20, 4, 5, 6}));
    vantix_hid_feature_frequency_amplitude freq{};
    vantix_get_frequency_amplitude_ref(device, &freq);
    EXPECT_EQ(freq.touch_amplitude, 6);

    EXPECT_EQ(vantix_set_asic_reset(device, {0, 1, 3}), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_ASICRESET), (bytes{42, 0x07}));
    EXPECT_EQ(vantix_set_asic_register(device, {0, 0x12, 0x34}), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_REGISTERSET), (bytes{44, 0x12, 0x34}));

    vantix_hid_feature_download_command_status status{0, 0xBEEF};
    EXPECT_EQ(vantix_set_firmware_download_status(device, status), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS), (bytes{29, 0xEF, 0xBE}));
}

TEST_F(tuning, GeneralParametersPackAndSpill) {
    vantix_hid_feature_general_parameters g{};
    g.xy_output_enable = 1;
    g.channel_lock_number = 9;  // wider than its three bits: spills into bit 7
    g.corner_upper_right = 3;
    g.samples = 0x0102;
    g.filter_frequency = 7;
    EXPECT_EQ(vantix_set_general_parameters(device, g), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_GENERALPARAMETERS), (bytes{41, 0x91, 0xC0, 0x02, 0x01, 7}));
    vantix_hid_feature_general_parameters back = vantix_get_general_parameters(device);
    EXPECT_EQ(back.channel_lock_number, 1);
    EXPECT_EQ(back.reserved, 1);
    EXPECT_EQ(back.corner_upper_right, 3);
    EXPECT_EQ(back.samples, 0x0102);
}

TEST_F(tuning, PenParametersRoundTripAndTheFlagByte) {
    vantix_hid_feature_pen_parameters p{};
    p.proximity = 300;
    p.debounce_pre_down = 1;
    p.debounce_post_down = 2;
    p.debounce_pre_up = 3;
    p.debounce_post_up = 4;
    p.tip_inverted = 1;
    p.interrupt_rate = 200;
    EXPECT_EQ(vantix_set_pen_parameters(device, p), VANTIX_CODE_SUCCESS);
    vantix_hid_feature_pen_parameters back{};
    vantix_get_pen_parameters_ref(device, &back);
    EXPECT_EQ(back.proximity, 300);
    EXPECT_EQ(back.debounce_pre_down, 1);
    EXPECT_EQ(back.debounce_post_down, 2);
    EXPECT_EQ(back.debounce_pre_up, 3);
    EXPECT_EQ(back.debounce_post_up, 4);
    EXPECT_EQ(back.tip_inverted, 1);
    EXPECT_EQ(back.interrupt_rate, 200);

    bytes all_ones(VANTIX_FEATURE_PENPARAMETERS_SIZE, 0);
    all_ones[0] = 50;
    all_ones[15] = 0xFF;
    pad->store(VANTIX_FEATURE_PENPARAMETERS, all_ones);
    back = vantix_get_pen_parameters(device);
    EXPECT_EQ(back.error_correction_enable, 1);
    EXPECT_EQ(back.reserved_1, 7);
    EXPECT_EQ(back.offset_correction_enable, 1);
    EXPECT_EQ(back.reserved_2, 1);
    EXPECT_EQ(back.tip_inverted, 1);
    EXPECT_EQ(back.reserved_3, 1);
}

TEST_F(tuning, TouchParametersKeepTheirSigns) {
    bytes wire(VANTIX_FEATURE_TOUCHPARAMETERS_SIZE, 0);
    wire[0] = 60;
    wire[3] = 0xFE, wire[4] = 0xFF;
    wire[13] = 0xFF;
    wire[16] = 0x00, wire[17] = 0x80;
    pad->store(VANTIX_FEATURE_TOUCHPARAMETERS, wire);
    vantix_hid_feature_touch_parameters t = vantix_get_touch_parameters(device);
    EXPECT_EQ(t.slope_down, -2);
    EXPECT_EQ(t.error_correction_enable, 1);
    EXPECT_EQ(t.reserved, 0x7F);
    EXPECT_EQ(t.offset_x, -32768);

    t.offset_y = -5;
    EXPECT_EQ(vantix_set_touch_parameters(device, t), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_TOUCHPARAMETERS);
    EXPECT_EQ(sent[20], 0xFB);
    EXPECT_EQ(sent[21], 0xFF);
    EXPECT_EQ(sent[13], 0xFF);
}

TEST_F(tuning, FirmwareBlocksAreSentUnchanged) {
    vantix_hid_feature_firmware_download block{};
    block.address = 0x08004000;
    block.data[0] = 0xAA;
    block.data[127] = 0x55;
    block.checksum = 0x42;  // not the data's checksum, sent anyway
    EXPECT_EQ(vantix_set_firmware(device, block), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_FIRMWAREDOWNLOAD);
    ASSERT_EQ(sent.size(), 134u);
    EXPECT_EQ(bytes(sent.begin(), sent.begin() + 6), (bytes{25, 0x00, 0x40, 0x00, 0x08, 0xAA}));
    EXPECT_EQ(sent[132], 0x55);
    EXPECT_EQ(sent[133], 0x42);
}

TEST_F(tuning, ErrorCorrectionTableReadWaitsForTheReportBuffer) {
    vantix_hid_feature_error_correction_table table{};
    table.data[0] = 1;
    table.data[2047] = 2;
    EXPECT_EQ(vantix_set_error_correction(device, table), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_PEN);
    pad->clear_transfers();
    vantix_hid_feature_error_correction_table back = vantix_get_error_correction_table(device);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "get 26"}));
    EXPECT_EQ(back.report_id, 26);
    EXPECT_EQ(back.data[0], 1);
    EXPECT_EQ(back.data[2047], 2);

    // A report buffer that stays busy: no transfer and no warning of its own.
    vantix::test::log_capture log;
    const unsigned polls_before = pad->status_polls();
    pad->set_lock_bits(INTERLOCK_REPORTBUFFER);
    vantix_get_error_correction_table_ref(device, &back);
    EXPECT_EQ(back.report_id, 0);
    EXPECT_EQ(back.data[0], 0);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Unable to get report"), 0);
    EXPECT_EQ(pad->status_polls() - polls_before, 100u);
}

TEST_F(tuning, ErrorCorrectionWriteSequenceAndABusyPadLeftInCommandMode) {
    vantix_hid_feature_error_correction_table table{};
    EXPECT_EQ(vantix_set_error_correction(device, table), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (std::vector<std::string>{
                          "get 13", "set 172", "get 13",  // discard store edits
                          "get 13", "set 10", "get 13",   // command mode
                          "get 13", "set 26",             // report buffer free
                          "get 13", "set 10", "get 13",   // back to pen mode
                      }));

    // The switch to command mode keeps the report buffer busy for longer
    // than any wait: the table is never sent and the pad stays in command mode.
    pad->set_run_mode(VANTIX_RUNMODE_PEN);
    pad->set_busy_after_command(INTERLOCK_REPORTBUFFER, 5000);
    pad->fail_transfers(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD);
    EXPECT_EQ(vantix_set_error_correction(device, table), VANTIX_CODE_ERROR);
    EXPECT_TRUE(last_set(VANTIX_FEATURE_ERRORCORRECTION).empty());
    EXPECT_EQ(last_set(VANTIX_FEATURE_REGIONEDITCOMPLETE), (bytes{115, 0}));
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_COMMAND);
}

}  // namespace
