// SPDX-License-Identifier: Apache-2.0
// Opening pads through IOKit: the report map from the descriptor or the
// all-allowed fallback, a bounded descriptor, and open failures.
#include <algorithm>

#include "mac/mac_fixture.hpp"

namespace {

using open_close = vantix::test::mac_driver_test;

bool allowed(const vantix_device *d, unsigned id) { return d->parameters.hid_report_map[id] != 0; }

TEST_F(open_close, OpenLearnsTheDeclaredReportIdsAndCloseReleases) {
    attach();
    vantix_device *d = list();
    ASSERT_EQ(vantix_open_device(d), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(d->open, 1);
    EXPECT_TRUE(allowed(d, VANTIX_FEATURE_DISPLAYINFO));
    EXPECT_FALSE(allowed(d, VANTIX_FEATURE_DEVICE_STATUS));  // the quick pad leaves it out
    EXPECT_FALSE(allowed(d, 250));
    EXPECT_TRUE(pads[0]->is_open());
    EXPECT_EQ(vantix_close_device(d), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(d->open, 0);
    // Opened again from the same record.
    ASSERT_EQ(vantix_open_device(d), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_close_device(d), VANTIX_CODE_SUCCESS);
}

TEST_F(open_close, WithoutADescriptorEveryIdIsAllowed) {
    const auto id = attach();
    standin::set_property(id, "ReportDescriptor", std::monostate{});
    vantix_device *d = list();
    ASSERT_EQ(vantix_mac_driver.open_device(d), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(std::string(vantix_get_last_error()).rfind("Problem getting hid descriptor (errno: ", 0), 0u);
    EXPECT_TRUE(std::all_of(std::begin(d->parameters.hid_report_map), std::end(d->parameters.hid_report_map),
                            [](unsigned char entry) { return entry == 1; }));
    EXPECT_EQ(vantix_mac_driver.close_device(d), VANTIX_CODE_SUCCESS);

    // A descriptor of the wrong type counts as absent.
    standin::set_property(id, "ReportDescriptor", std::string("not bytes"));
    ASSERT_EQ(vantix_mac_driver.open_device(d), VANTIX_CODE_SUCCESS);
    EXPECT_TRUE(allowed(d, 250));
    EXPECT_EQ(vantix_mac_driver.close_device(d), VANTIX_CODE_SUCCESS);
}

TEST_F(open_close, ADescriptorLongerThanAnyHidDescriptorIsCut) {
    const auto id = attach();
    std::vector<uint8_t> descriptor(5000, 0x00);     // one-byte items
    descriptor[4094] = 0x85, descriptor[4095] = 98;  // inside the bound
    descriptor[4200] = 0x85, descriptor[4201] = 99;  // beyond it
    standin::set_property(id, "ReportDescriptor", descriptor);
    vantix_device *d = list();
    ASSERT_EQ(vantix_mac_driver.open_device(d), VANTIX_CODE_SUCCESS);
    EXPECT_TRUE(allowed(d, 98));
    EXPECT_FALSE(allowed(d, 99));
    EXPECT_EQ(vantix_mac_driver.close_device(d), VANTIX_CODE_SUCCESS);
}

TEST_F(open_close, OpenFailures) {
    const auto id = attach();
    vantix_device *d = list();
    standin::set_open_result(id, kIOReturnExclusiveAccess);
    EXPECT_EQ(vantix_open_device(d), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_get_last_error(), "Problem opening device (permissions issue?): " +
                                           std::to_string(int32_t{kIOReturnExclusiveAccess}) + "\n");
    EXPECT_EQ(d->open, 0);
    standin::set_open_result(id, kIOReturnSuccess);

    standin::fail_manager_create(true);
    EXPECT_EQ(vantix_open_device(d), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Problem initializing hid manager (12): Cannot allocate memory\n");
    standin::fail_manager_create(false);

    standin::unplug(id);
    EXPECT_EQ(vantix_open_device(d), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_get_last_error(), "Unable to find device with path: " + std::string(d->path) + "\n");
}

}  // namespace
