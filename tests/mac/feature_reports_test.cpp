// SPDX-License-Identifier: Apache-2.0
// Feature reports both ways through IOKit, the report-ID check shared with
// the Linux driver, and IOKit's error codes in the texts.
#include "mac/mac_fixture.hpp"

namespace {

struct feature_reports : vantix::test::mac_driver_test {
    feature_reports() {
        id = attach();
        device = list();
        EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        pads[0]->clear_transfers();
    }
    ~feature_reports() override { vantix_close_device(device); }

    standin::device_id id;
    vantix_device *device = nullptr;
};

TEST_F(feature_reports, SetAndGetReachThePad) {
    unsigned char mode[2] = {VANTIX_FEATURE_RUNMODE, 2};
    ASSERT_EQ(vantix_hid_set_feature_report(device, mode, sizeof mode), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(pads[0]->run_mode(), 2);
    unsigned char info[VANTIX_FEATURE_DISPLAYINFO_SIZE] = {VANTIX_FEATURE_DISPLAYINFO};
    ASSERT_EQ(vantix_hid_get_feature_report(device, info, sizeof info), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(info[1] | info[2] << 8, 240);  // the display width
    const auto wire = pads[0]->transfers();
    ASSERT_EQ(wire.size(), 2u);
    EXPECT_EQ(wire[0].dir, padsim::direction::set);
    EXPECT_EQ(wire[1].dir, padsim::direction::get);

    unsigned char output[1] = {1};
    EXPECT_EQ(vantix_hid_set_output_report(device, output, 1), VANTIX_CODE_SUCCESS);
}

TEST_F(feature_reports, UndeclaredIdsNeverReachThePad) {
    unsigned char report[2] = {200, 0};
    EXPECT_EQ(vantix_hid_set_feature_report(device, report, sizeof report), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Report id 200 isn't supported by this device.\n");
    EXPECT_EQ(vantix_hid_get_feature_report(device, report, sizeof report), VANTIX_CODE_ERROR);
    report[0] = 255;
    EXPECT_EQ(vantix_hid_get_feature_report(device, report, sizeof report), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Report id 255 isn't supported by this device.\n");
    EXPECT_EQ(vantix_hid_get_feature_report(device, nullptr, 2), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Invalid feature report buffer (length 2).\n");
    EXPECT_TRUE(pads[0]->transfers().empty());
}

TEST_F(feature_reports, IokitErrorsKeepTheirLowBits) {
    standin::set_report_result(id, kIOReturnNotPermitted);  // 0xe00002e2
    unsigned char report[2] = {VANTIX_FEATURE_RUNMODE, 1};
    EXPECT_EQ(vantix_hid_set_feature_report(device, report, sizeof report), VANTIX_CODE_ERROR);
    EXPECT_EQ(std::string(vantix_get_last_error())
                  .rfind("Problem setting hid report 10 (IOReturn: 738, errno: ", 0),
              0u);
    EXPECT_EQ(vantix_hid_get_feature_report(device, report, sizeof report), VANTIX_CODE_ERROR);
    EXPECT_EQ(std::string(vantix_get_last_error())
                  .rfind("Problem getting hid report 10 (IOReturn: 738, errno: ", 0),
              0u);
    EXPECT_TRUE(pads[0]->transfers().empty());
}

}  // namespace
