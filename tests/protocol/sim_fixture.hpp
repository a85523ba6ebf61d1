// SPDX-License-Identifier: Apache-2.0
// A started library with one virtual pad listed through the test program's
// pad driver (see pad_driver.hpp).
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "padsim/sim_driver.hpp"
#include "protocol/pad_driver.hpp"
#include "support/log_capture.hpp"
#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace vantix::test {

using bytes = std::vector<unsigned char>;

class sim_pad_test : public ::testing::Test {
protected:
    explicit sim_pad_test(const padsim::model &model = padsim::model{}) {
        env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
        vantix_init();
        padsim::reset();
        padsim::add_pad(model);
        vantix_device_driver *driver = start_pad_driver();
        vantix_list_devices(&devices);
        for (vantix_device *d = devices; d; d = d->next)
            if (d->driver == driver)
                device = d;
        prepare_listed_device(device);
        pad = &padsim::pad_at(0);
        pad->clear_transfers();
    }
    ~sim_pad_test() override {
        vantix_set_legacy_firmware(0, 0);
        stop_pad_driver(device);
        vantix_free_device_list(devices);
        padsim::reset();
        vantix_destroy();
    }

    // The transfers since the last call, as "get 13" / "set 10:00 02"-style
    // lines: direction, ID and, for sets, the bytes after the ID.
    std::vector<std::string> wire() {
        std::vector<std::string> out;
        for (const padsim::transfer &t : pad->transfers()) {
            std::string line =
                (t.dir == padsim::direction::get ? "get " : "set ") + std::to_string(t.report_id);
            if (!t.ok)
                line += " failed";
            out.push_back(line);
        }
        pad->clear_transfers();
        return out;
    }

    // The bytes of the last set of `id`.
    bytes last_set(uint8_t id) const {
        bytes found;
        for (const padsim::transfer &t : pad->transfers())
            if (t.dir == padsim::direction::set && t.report_id == id)
                found = t.bytes;
        return found;
    }

    scoped_env env;
    vantix_device *devices = nullptr;
    vantix_device *device = nullptr;
    padsim::pad *pad = nullptr;
};

}  // namespace vantix::test
