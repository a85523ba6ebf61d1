// SPDX-License-Identifier: Apache-2.0
// The "SIM" driver table through the library's public API.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "padsim/sim_driver.hpp"
#include "vantix-padsim.h"

namespace {

class padsim_sim_driver : public ::testing::Test {
protected:
    void SetUp() override {
        padsim::reset();
        vantix_init();
        vantix_padsim_register();
    }
    void TearDown() override {
        vantix_free_device_list(list_);
        vantix_destroy();
        padsim::reset();
    }
    vantix_device *sim_records() {
        vantix_free_device_list(list_);
        list_ = nullptr;
        vantix_list_devices(&list_);
        // The first SIM record; the host may list real pads too.
        for (vantix_device *d = list_; d; d = d->next)
            if (d->driver == vantix_padsim_driver())
                return d;
        return nullptr;
    }

    vantix_device *list_ = nullptr;
};

TEST_F(padsim_sim_driver, ListsEveryPadWithItsModel) {
    EXPECT_EQ(vantix_padsim_pad_count(), 1);
    padsim::model m;
    m.product_id = 0x0777;
    m.model_name = "Second pad";
    EXPECT_EQ(padsim::add_pad(m), 1u);

    vantix_device *first = sim_records();
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->path, "sim:0");
    EXPECT_EQ(first->vendor_id, padsim::model{}.vendor_id);
    EXPECT_STREQ(first->manufacturer, "Vantix");
    ASSERT_NE(first->next, nullptr);
    EXPECT_STREQ(first->next->path, "sim:1");
    EXPECT_EQ(first->next->product_id, 0x0777);
    EXPECT_STREQ(first->next->model, "Second pad");
    EXPECT_STREQ(vantix_padsim_driver()->get_name(), "SIM");
    EXPECT_EQ(vantix_padsim_driver()->initialized, 1);

    // A new product ID shows from the next listing on.
    std::vector<std::uint8_t> pid(VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS_SIZE, 0);
    pid[0] = VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS;
    pid[1] = 0xCD;
    pid[5] = 0x01;
    pid[6] = 0x10;
    ASSERT_TRUE(padsim::pad_at(1).set_feature(pid.data(), pid.size()).ok);
    EXPECT_EQ(first->next->product_id, 0x0777);
    first = sim_records();
    EXPECT_EQ(first->next->product_id, 0x1001);

    padsim::pad_at(1).unplug();
    first = sim_records();
    EXPECT_EQ(first->next == nullptr || first->next->driver != vantix_padsim_driver(), true);
}

TEST_F(padsim_sim_driver, FeatureTransfersReachThePadWithoutOpening) {
    vantix_device *device = sim_records();
    ASSERT_NE(device, nullptr);
    padsim::pad &pad = padsim::pad_at(0);
    pad.clear_transfers();

    unsigned char info[VANTIX_FEATURE_DISPLAYINFO_SIZE] = {VANTIX_FEATURE_DISPLAYINFO};
    ASSERT_EQ(vantix_hid_get_feature_report(device, info, sizeof info), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(info[1], 240);
    unsigned char run[VANTIX_FEATURE_RUNMODE_SIZE] = {VANTIX_FEATURE_RUNMODE, VANTIX_RUNMODE_PEN};
    ASSERT_EQ(vantix_hid_set_feature_report(device, run, sizeof run), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(pad.run_mode(), VANTIX_RUNMODE_PEN);
    EXPECT_EQ(vantix_hid_set_output_report(device, run, sizeof run), VANTIX_CODE_SUCCESS);

    const auto log = pad.transfers();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].dir, padsim::direction::get);
    EXPECT_EQ(log[1].bytes, (std::vector<std::uint8_t>{10, 2}));
}

TEST_F(padsim_sim_driver, FailuresLeaveAClearLastError) {
    padsim::model m;
    m.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
    padsim::reset();
    padsim::add_pad(m);
    vantix_device *device = sim_records();
    ASSERT_NE(device, nullptr);
    padsim::pad &pad = padsim::pad_at(0);

    unsigned char status[VANTIX_FEATURE_DEVICE_STATUS_SIZE] = {VANTIX_FEATURE_DEVICE_STATUS};
    EXPECT_EQ(vantix_hid_get_feature_report(device, status, sizeof status), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Report id 13 isn't supported by this device.\n");
    EXPECT_TRUE(pad.transfers().empty());  // never reached the pad

    pad.fail_transfers(VANTIX_FEATURE_VERSIONINFO);
    unsigned char version[VANTIX_FEATURE_VERSIONINFO_SIZE] = {VANTIX_FEATURE_VERSIONINFO};
    EXPECT_EQ(vantix_hid_get_feature_report(device, version, sizeof version), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Transfer of report 22 failed (scripted).\n");

    pad.unplug();
    EXPECT_EQ(vantix_hid_get_feature_report(device, version, sizeof version), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device was unplugged.\n");
    EXPECT_EQ(vantix_padsim_driver()->open_device(device), VANTIX_CODE_ERROR);
}

TEST_F(padsim_sim_driver, OpenFillsTheReportMapAndReadsDeliverQueuedInput) {
    vantix_device *device = sim_records();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device is not open.\n");

    vantix_device_driver *driver = vantix_padsim_driver();
    ASSERT_EQ(driver->open_device(device), VANTIX_CODE_SUCCESS);
    device->open = 1;
    EXPECT_TRUE(padsim::pad_at(0).is_open());
    EXPECT_EQ(device->parameters.hid_report_map[VANTIX_FEATURE_DEVICE_STATUS], 1);
    EXPECT_EQ(device->parameters.hid_report_map[VANTIX_INPUT_EXTENDEDCOORDINATE], 1);
    EXPECT_EQ(device->parameters.hid_report_map[9], 0);

    static std::vector<unsigned char> delivered;
    delivered.clear();
    vantix_deliver_input_report_func saved = driver->input_report;
    driver->input_report = [](vantix_device *, unsigned char *buffer, unsigned int length) {
        delivered.assign(buffer, buffer + length);
    };
    const unsigned char sample[] = {2, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(vantix_padsim_queue_input(0, sample, sizeof sample), 1);
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(delivered, std::vector<unsigned char>(sample, sample + sizeof sample));

    // A read with nothing queued times out quietly, like a select timeout
    // (briefly, so a close never waits long); a later read takes the input.
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(delivered.size(), sizeof sample);
    const unsigned char more[] = {1, 9, 9, 9, 9, 9};
    vantix_padsim_queue_input(0, more, sizeof more);
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(delivered.size(), 6u);

    padsim::pad_at(0).unplug();
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_ERROR);
    driver->input_report = saved;
    EXPECT_EQ(driver->close_device(device), VANTIX_CODE_SUCCESS);
    device->open = 0;
}

}  // namespace
