// SPDX-License-Identifier: Apache-2.0
// Output, peripheral and calibration configuration and the calibrate
// command against the virtual pad: bytes both ways, the flag byte, the
// reserved bytes, and the interlock waits of calibration.
#include "core/pause.hpp"
#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using configuration = vantix::test::sim_pad_test;

TEST_F(configuration, OutputConfigurationBytesAndFlags) {
    vantix_hid_feature_output_parameters out{};
    out.report_id = 0xEE;  // never sent
    out.output_report = VANTIX_OUTPUT_CONFIGURATION_RAW_DATA | VANTIX_OUTPUT_CONFIGURATION_OEM_EXTENDED;
    out.output_mode = TRANSMIT_ON_CONFIRM;
    out.compression = VANTIX_OUTPUT_COMPRESSED_HIRES;
    out.packets_per_second = 0x1234;
    out.save_as_default = 5;  // any non-zero value is one bit
    out.load_factory_settings = 1;
    EXPECT_EQ(vantix_set_output_configuration(device, out), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_OUTPUTCONFIGURATION),
              (bytes{91, 0x02, 0, 0, 0x40, 1, 3, 0x34, 0x12, 0x81}));
    EXPECT_EQ(wire(), (std::vector<std::string>{"set 91"}));  // no interlock

    // The pad's compression byte keeps only its two low bits.
    pad->store(VANTIX_FEATURE_OUTPUTCONFIGURATION, {91, 1, 0, 0, 0, 2, 0xFF, 10, 0, 0x81});
    const vantix_hid_feature_output_parameters back = vantix_get_output_configuration(device);
    EXPECT_EQ(back.report_id, 91);
    EXPECT_EQ(back.output_report, 1u);
    EXPECT_EQ(back.output_mode, TRANSMIT_ON_HOST_COMMAND);
    EXPECT_EQ(back.compression, VANTIX_OUTPUT_COMPRESSED_HIRES);
    EXPECT_EQ(back.packets_per_second, 10);
    EXPECT_EQ(back.save_as_default, 1);
    EXPECT_EQ(back.load_factory_settings, 1);
}

TEST_F(configuration, PeripheralReservedBytesSurviveAReadChangeWrite) {
    bytes stored{92, VANTIX_MAG_CARD_OEM_FORMAT};
    for (uint8_t i = 1; i <= 14; ++i)
        stored.push_back(i);
    stored.push_back(0);
    pad->store(VANTIX_FEATURE_PERIPHERAL_CONFIGURATION, stored);
    vantix_hid_feature_peripheral_configuration card{};
    vantix_get_peripheral_configuration_ref(device, &card);
    EXPECT_EQ(card.reserved14, 14);
    card.mag_card_output =
        static_cast<vantix_mag_card_output>(VANTIX_MAG_CARD_KEYBOARD | VANTIX_MAG_CARD_KEYBOARD_PREAMBLE);
    card.save_as_default = 1;
    EXPECT_EQ(vantix_set_peripheral_configuration(device, card), VANTIX_CODE_SUCCESS);
    bytes expected = stored;
    expected[1] = 12;
    expected[16] = 0x01;
    EXPECT_EQ(last_set(VANTIX_FEATURE_PERIPHERAL_CONFIGURATION), expected);
}

TEST_F(configuration, CalibrationDataMovesUnchangedAndFailedReadsAreSilent) {
    vantix_hid_feature_calibration_data cal{};
    cal.calibration_type = 2;
    cal.is_calibrated = 7;
    cal.rotation_sin_scaled = -2;
    cal.local_x_multiplier_scaled = -70000;
    cal.host_y_offset = 0x01020304;
    EXPECT_EQ(vantix_set_calibration_data(device, cal), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_CALIBRATION_DATA);
    ASSERT_EQ(sent.size(), 49u);
    EXPECT_EQ(bytes(sent.begin(), sent.begin() + 3), (bytes{131, 2, 1}));
    EXPECT_EQ(bytes(sent.begin() + 9, sent.begin() + 11), (bytes{0xFE, 0xFF}));
    EXPECT_EQ(bytes(sent.begin() + 17, sent.begin() + 21), (bytes{0x90, 0xEE, 0xFE, 0xFF}));
    EXPECT_EQ(bytes(sent.begin() + 45, sent.end()), (bytes{4, 3, 2, 1}));

    const vantix_hid_feature_calibration_data back = vantix_get_calibration_data(device);
    EXPECT_EQ(back.report_id, 131);
    EXPECT_EQ(back.rotation_sin_scaled, -2);
    EXPECT_EQ(back.local_x_multiplier_scaled, -70000);
    EXPECT_EQ(back.host_y_offset, 0x01020304);

    vantix::test::log_capture log(VANTIX_DEBUG_LEVEL_WARNING);
    pad->fail_transfers(VANTIX_FEATURE_CALIBRATION_DATA);
    const vantix_hid_feature_calibration_data failed = vantix_get_calibration_data(device);
    EXPECT_EQ(failed.report_id, 0);
    EXPECT_EQ(failed.host_y_offset, 0);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Unable to get report"), 0);
}

TEST_F(configuration, CalibrateStateDecodesAndWaitsAroundTheRead) {
    pad->store(VANTIX_FEATURE_CALIBRATE, {130, 0x31});
    const vantix_hid_feature_calibrate state = vantix_get_calibrate_state(device);
    EXPECT_EQ(state.calibration_mode, 1);
    EXPECT_EQ(state.point, VANTIX_CALIBRATION_POINT_LOWERRIGHT);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "get 130", "get 13"}));
}

TEST_F(configuration, CalibrateStateOfAStuckPadIsZeroAfterOneWait) {
    vantix::set_pause_function([](unsigned) {});
    pad->set_lock_bits(INTERLOCK_CALIBRATE);
    pad->store(VANTIX_FEATURE_CALIBRATE, {130, 0x31});
    const vantix_hid_feature_calibrate state = vantix_get_calibrate_state(device);
    vantix::set_pause_function(nullptr);
    EXPECT_EQ(state.report_id, 0);
    EXPECT_EQ(state.calibration_mode, 0);
    EXPECT_EQ(wire(), std::vector<std::string>(2103, "get 13"));  // neither read nor waited for again
}

TEST_F(configuration, CalibrateDropsRegionEditsCancelDoesNot) {
    EXPECT_EQ(vantix_device_calibrate(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD), (bytes{172, 0}));
    EXPECT_EQ(last_set(VANTIX_FEATURE_CALIBRATE), (bytes{130, 0}));
    EXPECT_EQ(pad->calibration_run().running, true);
    pad->clear_transfers();

    EXPECT_EQ(vantix_device_cancel_calibrate(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "set 130"}));
    EXPECT_EQ(pad->calibration_run().running, false);

    // A refused write gets one more wait before the failure is reported.
    pad->fail_transfers(VANTIX_FEATURE_CALIBRATE);
    EXPECT_EQ(vantix_device_cancel_calibrate(device), VANTIX_CODE_ERROR);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "set 130 failed", "get 13"}));
}

}  // namespace
