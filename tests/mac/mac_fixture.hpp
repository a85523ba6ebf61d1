// SPDX-License-Identifier: Apache-2.0
// A started library with the macOS driver over the IOKit stand-in; tests
// attach the virtual pads they need before listing.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "padsim/sim_driver.hpp"
#include "platform/mac/mac_driver.hpp"
#include "standin.hpp"
#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace vantix::test {

class mac_driver_test : public ::testing::Test {
protected:
    mac_driver_test() {
        env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
        vantix_init();
        padsim::reset();
        vantix_add_device_driver(&vantix_mac_driver);
        vantix_mac_driver.initialized = vantix_mac_driver.driver_init() == VANTIX_CODE_SUCCESS ? 1 : 0;
    }
    ~mac_driver_test() override {
        vantix_free_device_list(devices);
        standin::unplug_all();
        standin::fail_manager_create(false);
        padsim::reset();
        vantix_destroy();
    }

    // A pad that opens at once: no start-up wait on the device status.
    static padsim::model quick_pad() {
        padsim::model m;
        m.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
        return m;
    }

    standin::device_id attach(const padsim::model &m = quick_pad(),
                              const standin::hid_identity &identity = {}) {
        pads.push_back(padsim::pad_ptr(padsim::add_pad(m)));
        return standin::attach(pads.back(), identity);
    }

    // Lists through the driver alone; the records are freed with the fixture.
    vantix_device *list() {
        vantix_free_device_list(devices);
        devices = nullptr;
        EXPECT_EQ(vantix_mac_driver.list_devices(&vantix_mac_driver, &devices), VANTIX_CODE_SUCCESS);
        return devices;
    }

    std::vector<std::string> listed_paths() {
        std::vector<std::string> paths;
        for (vantix_device *d = list(); d; d = d->next)
            paths.push_back(d->path);
        return paths;
    }

    scoped_env env;
    vantix_device *devices = nullptr;
    std::vector<std::shared_ptr<padsim::pad>> pads;
};

}  // namespace vantix::test
