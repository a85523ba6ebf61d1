// SPDX-License-Identifier: Apache-2.0
// The CF ledger after whole sessions: every reference the driver took is
// given back, nothing is released twice, and no IOKit object is left.
#include "mac/mac_fixture.hpp"

namespace {

using reference_balance = vantix::test::mac_driver_test;

void expect_balanced() {
    const standin::ledger_report report = standin::ledger();
    EXPECT_TRUE(report.leaked.empty()) << ::testing::PrintToString(report.leaked);
    EXPECT_EQ(report.bad_releases, 0);
    EXPECT_EQ(report.live_io_objects, 0);
    EXPECT_EQ(report.live_ports, 0);
    EXPECT_GT(report.releases, 0);
}

TEST_F(reference_balance, AfterListingOpeningReadingAndClosing) {
    attach();
    vantix_device *d = list();
    ASSERT_EQ(vantix_open_device(d), VANTIX_CODE_SUCCESS);
    pads[0]->tap({100, 100});
    EXPECT_EQ(vantix_device_read(d), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_close_device(d), VANTIX_CODE_SUCCESS);
    vantix_free_device_list(devices);
    devices = nullptr;
    standin::unplug_all();
    vantix_destroy();  // joins the hotplug thread, which gives back its port
    expect_balanced();
    vantix_init();  // for the fixture's own stop
}

TEST_F(reference_balance, AfterThePadVanishedWhileOpen) {
    const auto id = attach();
    vantix_device *d = list();
    ASSERT_EQ(vantix_open_device(d), VANTIX_CODE_SUCCESS);
    pads[0]->tap({100, 100});
    standin::unplug(id);
    EXPECT_EQ(vantix_device_read(d), VANTIX_CODE_ERROR);
    EXPECT_EQ(d->open, 0);
    vantix_free_device_list(devices);
    devices = nullptr;
    vantix_destroy();
    expect_balanced();
    vantix_init();
}

}  // namespace
