// SPDX-License-Identifier: Apache-2.0
// Identity, serial number, modes and stored reports of the virtual pad.
#include <gtest/gtest.h>

#include <cstring>

#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

bytes serial_write(const char *serial, char key1, char key2) {
    bytes report(VANTIX_FEATURE_SERIALNUMBER_SIZE, 0);
    report[0] = VANTIX_FEATURE_SERIALNUMBER;
    std::memcpy(report.data() + 1, serial, std::strlen(serial));
    report[33] = static_cast<std::uint8_t>(key1);
    report[34] = static_cast<std::uint8_t>(key2);
    return report;
}

TEST(padsim_reports, IdentityReportsFollowTheModel) {
    padsim::model m;
    m.display_type = 2;
    m.color_depth = 4;
    m.region_count = 6;
    m.max_caption_length = 16;
    m.mag_reader_id = 0;
    m.supports_screens_resources = 0;
    m.asic_signature = 0xBEEF;
    padsim::pad pad(m);

    const bytes info = get(pad, VANTIX_FEATURE_DISPLAYINFO, VANTIX_FEATURE_DISPLAYINFO_SIZE);
    EXPECT_EQ(info, (bytes{100, 240, 0, 64, 0, 4, 40, 8, 6, 16}));

    const bytes caps = get(pad, VANTIX_FEATURE_CAPABILITIES, VANTIX_FEATURE_CAPABILITIES_SIZE);
    EXPECT_EQ(caps[0], 11);
    EXPECT_EQ(caps[1] | caps[2] << 8, m.supported_reports);
    EXPECT_EQ(caps[3], m.coordinate_modes);
    EXPECT_EQ(caps[5], 2);
    EXPECT_EQ(caps[8], 4);
    EXPECT_EQ(caps[9] | caps[10] << 8, 240);
    EXPECT_EQ(caps[11] | caps[12] << 8, 64);
    EXPECT_EQ(caps[19] | caps[20] << 8, m.x_max);
    EXPECT_EQ(caps[31] | caps[32] << 8, m.calibration_y_max);
    EXPECT_EQ(caps[41], 0);
    EXPECT_EQ(caps[45], 0);

    EXPECT_EQ(get(pad, VANTIX_FEATURE_VERSIONINFO, 9), (bytes{22, 1, 0, 3, 2, 4, 1, 0xEF, 0xBE}));
    EXPECT_EQ(get(pad, VANTIX_FEATURE_OPERATINGMODE, 5),
              (bytes{40, m.supported_modes, m.acquisition_mode, m.touch_mode, m.pen_mode}));
    EXPECT_EQ(get(pad, VANTIX_FEATURE_COORDINATERANGE, 9), (bytes{23, 0, 0, 0xFF, 0x0F, 0, 0, 0x43, 0x04}));
    EXPECT_EQ(get(pad, VANTIX_FEATURE_CONTACTCOUNTMAXIMUM, 2), (bytes{16, 1}));
}

TEST(padsim_reports, SerialNumberNeedsTheBuildsWriteKey) {
    padsim::pad pad;
    const std::string key = padsim::model{}.serial_write_key;
    ASSERT_EQ(key.size(), 2u);

    ASSERT_TRUE(set(pad, serial_write("AB-77", key[0], key[1])).ok);
    bytes read = get(pad, VANTIX_FEATURE_SERIALNUMBER, VANTIX_FEATURE_SERIALNUMBER_SIZE);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(read.data()) + 1), "AB-77");
    EXPECT_EQ(read[33], 0);  // the key never reads back
    EXPECT_EQ(read[34], 0);

    const padsim::result refused = set(pad, serial_write("EVIL", key[1] == 'Q' ? 'R' : 'Q', key[1]));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error, "Serial number write key rejected.\n");
    EXPECT_EQ(pad.last_error(), padsim::pad_error::write_key);
    EXPECT_EQ(pad.error_text(), "Serial number write key rejected.\n");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(pad.serial_number().data())), "AB-77");
}

TEST(padsim_reports, ErasedSerialAreaReadsAllOnes) {
    padsim::model m;
    m.serial_erased = true;
    padsim::pad pad(m);
    const bytes read = get(pad, VANTIX_FEATURE_SERIALNUMBER, VANTIX_FEATURE_SERIALNUMBER_SIZE);
    EXPECT_TRUE(std::all_of(read.begin() + 1, read.begin() + 33, [](std::uint8_t b) { return b == 0xFF; }));
    pad.set_serial_number("X1");
    EXPECT_EQ(pad.serial_number()[0], 'X');
    EXPECT_EQ(pad.serial_number()[2], 0);
}

TEST(padsim_reports, ModesAndSettableReportsAreRemembered) {
    padsim::pad pad;
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_RUNMODE, VANTIX_RUNMODE_PENSTREAM}).ok);
    EXPECT_EQ(pad.run_mode(), VANTIX_RUNMODE_PENSTREAM);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_SAVECONFIGURATION, VANTIX_ACQMODE_AUTOTOUCH}).ok);
    EXPECT_EQ(pad.startup_mode(), VANTIX_ACQMODE_AUTOTOUCH);

    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_DISPLAYSETTINGS, 1, 2, 3, 4, 5, 6}).ok);
    EXPECT_EQ(get(pad, VANTIX_FEATURE_DISPLAYSETTINGS, 7), (bytes{102, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_DEVICECONFIGURE, 7, 9}).ok);
    EXPECT_EQ(get(pad, VANTIX_FEATURE_DEVICECONFIGURE, 3), (bytes{15, 7, 9}));

    // Reports not modelled yet keep what was written, or read as zeros.
    EXPECT_EQ(get(pad, VANTIX_FEATURE_POWERSTATE, 2), (bytes{21, 0}));
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_POWERSTATE, 3}).ok);
    EXPECT_EQ(get(pad, VANTIX_FEATURE_POWERSTATE, 2), (bytes{21, 3}));
    pad.store(VANTIX_FEATURE_PENPARAMETERS, bytes(18, 0x42));
    EXPECT_EQ(get(pad, VANTIX_FEATURE_PENPARAMETERS, 18)[0], 50);
    EXPECT_EQ(get(pad, VANTIX_FEATURE_PENPARAMETERS, 18)[17], 0x42);
}

TEST(padsim_reports, WrongDirectionOrLengthIsRefused) {
    padsim::pad pad;
    get(pad, VANTIX_FEATURE_RUNMODE, 2, false);
    get(pad, VANTIX_INPUT_EXTENDEDCOORDINATE, 7, false);
    get(pad, VANTIX_FEATURE_CAPABILITIES, 64, false);
    EXPECT_EQ(pad.last_error(), 0);  // refused reads leave no error behind

    const padsim::result caps = set(pad, bytes(65, VANTIX_FEATURE_CAPABILITIES));
    EXPECT_EQ(caps.error, "Report 11 cannot be written.\n");
    EXPECT_EQ(pad.last_error(), padsim::pad_error::not_writable);
    const padsim::result config = set(pad, {VANTIX_FEATURE_DEVICECONFIGURE, 1});
    EXPECT_EQ(config.error, "Report 15 is 3 bytes long, not 2.\n");
    EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_length);

    padsim::model lenient;
    lenient.strict_lengths = false;
    padsim::pad relaxed(lenient);
    const bytes longer = get(relaxed, VANTIX_FEATURE_CONTACTCOUNTMAXIMUM, 4);
    EXPECT_EQ(longer, (bytes{16, 1, 0, 0}));
}

TEST(padsim_reports, ScriptedFailuresShortRepliesAndUnplug) {
    padsim::pad pad;
    pad.fail_transfers(VANTIX_FEATURE_VERSIONINFO, 2);
    get(pad, VANTIX_FEATURE_VERSIONINFO, 9, false);
    get(pad, VANTIX_FEATURE_VERSIONINFO, 9, false);
    get(pad, VANTIX_FEATURE_VERSIONINFO, 9);

    pad.fail_transfers(VANTIX_FEATURE_DISPLAYSETTINGS, padsim::always);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(set(pad, {VANTIX_FEATURE_DISPLAYSETTINGS, 1, 2, 3, 4, 5, 6}).ok);
    pad.clear_failures();
    EXPECT_TRUE(set(pad, {VANTIX_FEATURE_DISPLAYSETTINGS, 1, 2, 3, 4, 5, 6}).ok);

    pad.short_reply(VANTIX_FEATURE_DISPLAYINFO, 3);
    EXPECT_EQ(get(pad, VANTIX_FEATURE_DISPLAYINFO, 10), (bytes{100, 240, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(get(pad, VANTIX_FEATURE_DISPLAYINFO, 10)[3], 64);

    pad.clear_transfers();
    pad.unplug();
    bytes status(VANTIX_FEATURE_DEVICE_STATUS_SIZE, 0);
    status[0] = VANTIX_FEATURE_DEVICE_STATUS;
    EXPECT_EQ(pad.get_feature(status.data(), status.size()).error, "Device was unplugged.\n");
    EXPECT_FALSE(set(pad, {VANTIX_FEATURE_RUNMODE, 2}).ok);
    EXPECT_EQ(pad.status_polls(), 0u);
    EXPECT_EQ(pad.transfers().size(), 2u);
}

TEST(padsim_reports, TransferLogRecordsDirectionIdBytesAndOutcome) {
    padsim::pad pad;
    set(pad, {VANTIX_FEATURE_RUNMODE, 0});
    get(pad, VANTIX_FEATURE_CONTACTCOUNTMAXIMUM, 2);
    get(pad, VANTIX_FEATURE_RUNMODE, 2, false);

    const auto log = pad.transfers();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].dir, padsim::direction::set);
    EXPECT_EQ(log[0].report_id, VANTIX_FEATURE_RUNMODE);
    EXPECT_EQ(log[0].bytes, (bytes{10, 0}));
    EXPECT_TRUE(log[0].ok);
    EXPECT_EQ(log[1].dir, padsim::direction::get);
    EXPECT_EQ(log[1].bytes, (bytes{16, 1}));
    EXPECT_FALSE(log[2].ok);
    EXPECT_TRUE(log[2].bytes.empty());
    pad.clear_transfers();
    EXPECT_TRUE(pad.transfers().empty());
}

}  // namespace
