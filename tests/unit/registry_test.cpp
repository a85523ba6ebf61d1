// SPDX-License-Identifier: Apache-2.0
// Library start/stop, the driver registry, versions and the legacy switch.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "core/legacy.hpp"
#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace {

// A scriptable driver table; each instance records which entries ran.
struct recording_driver {
    static inline std::vector<std::string> calls;
    static inline bool init_succeeds = true;

    static vantix_error_code init() {
        calls.push_back("init");
        if (!init_succeeds)
            vantix_report_error_internal("test driver refused to start");
        return init_succeeds ? VANTIX_CODE_SUCCESS : VANTIX_CODE_ERROR;
    }
    static vantix_error_code destroy(vantix_device_driver *) {
        calls.push_back("destroy");
        return VANTIX_CODE_SUCCESS;
    }
    static const char *name() { return "TEST"; }
    static void shutdown() { calls.push_back("shutdown"); }

    static vantix_device_driver make() {
        vantix_device_driver table{};
        table.driver_init = init;
        table.driver_destroy = destroy;
        table.get_name = name;
        table.shutdown = shutdown;
        return table;
    }
};

struct registry : ::testing::Test {
    vantix::test::scoped_env env;
    registry() {
        env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
        recording_driver::calls.clear();
        recording_driver::init_succeeds = true;
    }
};

TEST_F(registry, InitRegistersTheBuiltInDriverOnce) {
    EXPECT_EQ(vantix_get_driver_count(), 0u);
    EXPECT_EQ(vantix_get_drivers(), nullptr);
    vantix_init();
    ASSERT_EQ(vantix_get_driver_count(), 1u);
    auto *driver = static_cast<vantix_device_driver *>(vantix_get_drivers()->first->ptr);
    EXPECT_EQ(driver, &vantix_real_driver);
    EXPECT_STREQ(driver->get_name(), "REAL");
    EXPECT_EQ(driver->initialized, 1);
    EXPECT_EQ(driver->debug, &vantix_debug_report_message);
    EXPECT_EQ(driver->report_error, &vantix_report_error_internal);
    EXPECT_EQ(driver->get_hotplug_callbacks, &vantix_get_device_callbacks);

    vantix_init();  // a second start keeps the list and the single entry
    EXPECT_EQ(vantix_get_driver_count(), 1u);
    vantix_destroy();
    EXPECT_EQ(vantix_get_driver_count(), 0u);
    EXPECT_EQ(vantix_get_drivers(), nullptr);
}

TEST_F(registry, AddingBeforeInitOrTwiceRegistersNothingMore) {
    vantix_device_driver table = recording_driver::make();
    vantix_add_device_driver(&table);
    EXPECT_EQ(vantix_get_driver_count(), 0u);

    vantix_init();
    vantix_add_device_driver(&table);
    vantix_add_device_driver(&table);
    EXPECT_EQ(vantix_get_driver_count(), 2u);
    EXPECT_EQ(vantix_get_drivers()->last->ptr, &table);
    vantix_remove_device_driver(&table);
    EXPECT_EQ(vantix_get_driver_count(), 1u);
    vantix_remove_device_driver(&table);  // absent: no change
    EXPECT_EQ(vantix_get_driver_count(), 1u);
    vantix_destroy();
    vantix_remove_device_driver(&table);  // no list: harmless
}

TEST_F(registry, FailedDriverIsNotDestroyedButIsShutDown) {
    static vantix_device_driver table = recording_driver::make();
    vantix_init();
    vantix_add_device_driver(&table);
    recording_driver::init_succeeds = false;
    vantix_init();  // initialises every registered driver again
    EXPECT_EQ(table.initialized, 0);
    EXPECT_STREQ(vantix_get_last_error(), "test driver refused to start");
    vantix_destroy();
    EXPECT_EQ(recording_driver::calls, (std::vector<std::string>{"init", "shutdown"}));

    recording_driver::calls.clear();
    recording_driver::init_succeeds = true;
    vantix_init();
    vantix_add_device_driver(&table);  // the new list does not hold it yet
    vantix_init();
    EXPECT_EQ(table.initialized, 1);
    vantix_destroy();
    EXPECT_EQ(recording_driver::calls, (std::vector<std::string>{"init", "destroy", "shutdown"}));
}

TEST_F(registry, DestroyFreesTheOpenDeviceListButNotItsRecords) {
    vantix_init();
    int record = 0;
    vantix_list *open = vantix_create_list();
    vantix_list_add(open, &record);
    vantix_set_open_devices(open);
    vantix_destroy();
    EXPECT_EQ(vantix_get_open_devices(), nullptr);
}

TEST(version, NumbersTextAndBuildDate) {
    EXPECT_EQ(vantix_get_zelnar_version_major(), 2u);
    EXPECT_EQ(vantix_get_zelnar_version_minor(), 2u);
    EXPECT_EQ(vantix_get_zelnar_version_release(), 79u);
    EXPECT_STREQ(vantix_get_zelnar_version(), "2.2.79");
    EXPECT_TRUE(std::regex_match(vantix_get_zelnar_build_date(),
                                 std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\+0000)")))
        << vantix_get_zelnar_build_date();
}

TEST(legacy, SwitchIgnoresTheVersionArgument) {
    vantix_set_legacy_firmware(99, 1);
    EXPECT_TRUE(vantix::legacy_firmware.load());
    vantix_set_legacy_firmware(0, 0);
    EXPECT_FALSE(vantix::legacy_firmware.load());
}

}  // namespace
