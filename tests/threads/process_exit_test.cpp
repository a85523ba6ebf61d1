// SPDX-License-Identifier: Apache-2.0
// A process may exit() with the library still started (an application's
// error path): the exit is quiet and clean, with or without vantix_destroy.
// Each case runs in a child process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "protocol/pad_driver.hpp"
#include "vantix-zelnar.h"

namespace {

struct process_exit : ::testing::Test {
    // A child started afresh, not forked from this threaded process.
    process_exit() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(process_exit, WithoutDestroy) {
    EXPECT_EXIT(
        {
            vantix_init();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^$");
}

TEST_F(process_exit, AfterDestroy) {
    EXPECT_EXIT(
        {
            vantix_init();
            vantix_destroy();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^$");
}

TEST_F(process_exit, WhileAPadIsRead) {
    EXPECT_EXIT(
        {
            vantix_init();
            vantix_device_driver *driver = vantix::test::start_pad_driver();
            vantix_device *devices = nullptr;
            vantix_list_devices(&devices);
            for (vantix_device *d = devices; d; d = d->next)
                if (d->driver == driver && vantix_open_device(d) == VANTIX_CODE_SUCCESS)
                    vantix_device_read_until_done(d);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^$");
}

}  // namespace
