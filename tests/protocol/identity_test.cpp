// SPDX-License-Identifier: Apache-2.0
// Identity and capability reports through the public API against the
// virtual pad: records read back, bytes written, failed reads.
#include <cstring>
#include <string>

#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using identity = vantix::test::sim_pad_test;

TEST_F(identity, ReadsDecodeWhatThePadModelHolds) {
    ASSERT_NE(device, nullptr);
    const padsim::model &m = pad->config();

    vantix_hid_capabilities caps = vantix_get_capabilities(device);
    EXPECT_EQ(caps.report_id, VANTIX_FEATURE_CAPABILITIES);
    EXPECT_EQ(caps.display_width, m.display_width);
    EXPECT_EQ(caps.display_height, m.display_height);
    EXPECT_EQ(caps.coordinate_xmax, m.x_max);
    EXPECT_EQ(caps.calibration_ymax, m.calibration_y_max);
    EXPECT_EQ(static_cast<int>(caps.mag_reader_id), m.mag_reader_id);
    EXPECT_EQ(caps.supports_screens_resources, m.supports_screens_resources);

    vantix_hid_feature_display_info info{};
    vantix_get_display_info_ref(device, &info);
    EXPECT_EQ(info.report_id, VANTIX_FEATURE_DISPLAYINFO);
    EXPECT_EQ(info.width, 240);
    EXPECT_EQ(info.height, 64);
    EXPECT_EQ(info.region_count, m.region_count);
    EXPECT_EQ(info.max_caption_length, m.max_caption_length);

    vantix_hid_feature_version version = vantix_get_version(device);
    EXPECT_EQ(version.firmware_version[0], m.firmware_version[0]);
    EXPECT_EQ(version.firmware_version[2], m.firmware_version[2]);
    EXPECT_EQ(version.asic_signature, m.asic_signature);

    vantix_hid_feature_coordinate_range range = vantix_get_coordinate_range(device);
    EXPECT_EQ(range.x_max, m.x_max);
    EXPECT_EQ(range.y_max, m.y_max);
    EXPECT_EQ(vantix_get_contact_count_maximum(device).contact_count_max, m.contact_count_max);
    EXPECT_EQ(vantix_get_device_configure(device).device_id, m.device_id);
}

TEST_F(identity, OperatingModesHaveNoReservedByteOnTheWire) {
    pad->store(VANTIX_FEATURE_OPERATINGMODE, {40, 7, 3, 4, 5});
    vantix_hid_feature_operating_modes modes{};
    vantix_get_operating_modes_ref(device, &modes);
    EXPECT_EQ(modes.supported_modes, 7);
    EXPECT_EQ(modes.reserved, 0);
    EXPECT_EQ(modes.acquisition_mode, 3);
    EXPECT_EQ(modes.touch_mode, 4);
    EXPECT_EQ(modes.pen_mode, 5);
}

TEST_F(identity, CapabilityFieldsAtOddOffsetsAndTheSignExtendedReserve) {
    bytes wire(VANTIX_FEATURE_CAPABILITIES_SIZE, 0);
    wire[0] = 11;
    wire[9] = 0x34, wire[10] = 0x12;  // display_width at an odd offset
    wire[41] = 200;                   // a reader kind no constant names
    wire[47] = 0xFF, wire[48] = 0xFF;
    wire[61] = 1, wire[64] = 0x80;
    pad->store(VANTIX_FEATURE_CAPABILITIES, wire);
    vantix_hid_capabilities caps = vantix_get_capabilities(device);
    EXPECT_EQ(caps.display_width, 0x1234);
    EXPECT_EQ(static_cast<unsigned>(caps.mag_reader_id), 200u);
    EXPECT_EQ(caps.reserved_10, 4294967295u);
    EXPECT_EQ(caps.reserved_14, 0x80000001u);
}

TEST_F(identity, FailedReadsGiveZeroRecordsAndOneWarningEach) {
    vantix::test::log_capture log;
    pad->fail_transfers(VANTIX_FEATURE_DISPLAYINFO, 2);
    vantix_hid_feature_display_info info = vantix_get_display_info(device);
    EXPECT_EQ(info.report_id + info.width + info.height + info.color_depth + info.text_width +
                  info.text_height + info.region_count + info.max_caption_length,
              0);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Unable to get report: "), 1);
    vantix_get_display_info_ref(device, &info);
    EXPECT_EQ(info.report_id, 0);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Unable to get report: "), 2);
    EXPECT_EQ(vantix_get_display_info(device).report_id, VANTIX_FEATURE_DISPLAYINFO);

    EXPECT_EQ(vantix_get_capabilities(nullptr).report_id, 0);
    vantix_get_version_ref(device, nullptr);  // nowhere to write: harmless
}

TEST_F(identity, WritesCarryTheOperationsOwnIdAndFields) {
    vantix_hid_feature_device_configure configure{};
    configure.report_id = 99;  // ignored
    configure.device_mode = 2;
    configure.device_id = 7;
    EXPECT_EQ(vantix_set_device_configure(device, configure), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_DEVICECONFIGURE), (bytes{15, 2, 7}));
    EXPECT_EQ(vantix_get_device_configure(device).device_mode, 2);

    vantix_hid_feature_display_settings settings{0, 9, 8, 1, 2, 3, 1};
    EXPECT_EQ(vantix_set_display_settings(device, settings), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_DISPLAYSETTINGS), (bytes{102, 9, 8, 1, 2, 3, 1}));
    EXPECT_EQ(vantix_get_display_settings(device).contrast, 8);

    EXPECT_EQ(vantix_set_startup_mode(device, VANTIX_ACQMODE_AUTOTOUCH), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_SAVECONFIGURATION), (bytes{28, 2}));
    EXPECT_EQ(pad->startup_mode(), 2);

    pad->fail_transfers(VANTIX_FEATURE_DISPLAYSETTINGS);
    EXPECT_EQ(vantix_set_display_settings(device, settings), VANTIX_CODE_ERROR);
}

TEST_F(identity, RunModeIsFramedByTwoReportBufferWaits) {
    EXPECT_EQ(vantix_set_run_mode(device, VANTIX_RUNMODE_PENSTREAM), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "set 10", "get 13"}));
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_PENSTREAM);

    // Busy for longer than the second wait: sent, but reported as failed.
    pad->fail_transfers(VANTIX_FEATURE_RUNMODE);
    EXPECT_EQ(vantix_set_run_mode(device, VANTIX_RUNMODE_PEN), VANTIX_CODE_ERROR);
    pad->set_busy_after_command(INTERLOCK_REPORTBUFFER, 600);
    pad->clear_transfers();
    EXPECT_EQ(vantix_set_run_mode(device, VANTIX_RUNMODE_PEN), VANTIX_CODE_ERROR);
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_PEN);
    EXPECT_STREQ(
        vantix_get_last_error(),
        "Problem waiting for firmware interlock: device didn't respond in time, sleep: 500, requested "
        "interlock: 1, Returned status: 1");
}

TEST_F(identity, SerialNumberReadsAreTerminatedAndErasedBytesCleared) {
    pad->set_serial_number(std::string(32, 'S'));
    vantix_hid_feature_serial_number serial = vantix_get_serial_number(device);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(serial.serial_number)), std::string(31, 'S'));
    EXPECT_EQ(serial.write_key_1, 0);

    bytes erased(VANTIX_FEATURE_SERIALNUMBER_SIZE, 0xFF);
    erased[0] = 27;
    pad->store(VANTIX_FEATURE_SERIALNUMBER, erased);
    vantix_get_serial_number_ref(device, &serial);
    EXPECT_EQ(serial.report_id, 27);
    EXPECT_EQ(serial.serial_number[0], 0);
    EXPECT_EQ(serial.serial_number[30], 0);
}

TEST_F(identity, SerialNumberWriteSequenceAndRestoreMode) {
    const std::string forty(40, '7');
    EXPECT_EQ(vantix_set_serial_number(device, reinterpret_cast<const unsigned char *>(forty.data()), 40),
              VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_SERIALNUMBER);
    EXPECT_EQ(wire(), (std::vector<std::string>{
                          "get 13",                       // region interlock
                          "get 13", "set 172", "get 13",  // discard store edits
                          "get 13",                       // the status decides the restore mode
                          "get 13", "set 10", "get 13",   // command mode
                          "set 27",                       //
                          "get 13", "set 10", "get 13",   // restore
                      }));
    ASSERT_EQ(sent.size(), 35u);
    EXPECT_EQ(bytes(sent.begin() + 1, sent.begin() + 32), bytes(31, '7'));
    EXPECT_EQ(sent[32], 0);
    EXPECT_EQ(sent[33], 'V');
    EXPECT_EQ(sent[34], 'Z');
    EXPECT_EQ(std::string(reinterpret_cast<char *>(vantix_get_serial_number(device).serial_number)),
              std::string(31, '7'));
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_COMMAND);  // the pad was idle

    // An unreadable status leaves the pad in pen mode afterwards.
    pad->fail_transfers(VANTIX_FEATURE_DEVICE_STATUS, padsim::always);
    EXPECT_EQ(vantix_set_serial_number(device, nullptr, 0), VANTIX_CODE_SUCCESS);
    const bytes empty = last_set(VANTIX_FEATURE_SERIALNUMBER);
    EXPECT_EQ(bytes(empty.begin() + 1, empty.begin() + 33), bytes(32, 0));
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_PEN);
}

TEST_F(identity, SerialNumberWriteStopsWhenEditsCannotBeDiscarded) {
    pad->fail_transfers(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD);
    pad->fail_transfers(VANTIX_FEATURE_REGIONEDITCOMPLETE);
    const unsigned char serial[] = "X1";
    EXPECT_EQ(vantix_set_serial_number(device, serial, 2), VANTIX_CODE_ERROR);
    EXPECT_TRUE(last_set(VANTIX_FEATURE_SERIALNUMBER).empty());

    // The legacy commit alone is enough.
    pad->fail_transfers(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD);
    EXPECT_EQ(vantix_set_serial_number(device, serial, 2), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_REGIONEDITCOMPLETE), (bytes{115, 0}));
}

}  // namespace
