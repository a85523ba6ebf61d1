// SPDX-License-Identifier: Apache-2.0
// The fixture of the in-VM scenarios: a started library (with the real
// driver only) and the record of the maker's pad from its listing.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bench.hpp"
#include "vantix-zelnar.h"

namespace vm {

class Vm : public ::testing::Test {
protected:
    void SetUp() override {
        vantix_init();
        vantix_list_devices(&devices);
        ASSERT_NE(devices, nullptr) << "the pad is not listed: " << vantix_get_last_error();
        device = devices;
        pad().clear_transfers();
    }
    void TearDown() override {
        if (device && device->open)
            vantix_close_device(device);
        vantix_free_device_list(devices);
        vantix_destroy();
    }

    padsim::pad &pad() { return the_bench().pad.pad; }
    padsim::usb_gadget &gadget() { return the_bench().pad.gadget; }
    std::string last_error() { return vantix_get_last_error(); }

    vantix_device *devices = nullptr;
    vantix_device *device = nullptr;
};

}  // namespace vm
