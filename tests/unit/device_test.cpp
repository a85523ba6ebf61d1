// SPDX-License-Identifier: Apache-2.0
// Device lists across drivers, raw reports through the driver, callback
// registries and the unplug notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/log_capture.hpp"
#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace {

// A test driver that lists a configurable set of pads and records the raw
// transfers it is asked for.
struct fake_pads {
    static inline std::vector<std::string> paths;
    static inline bool listing_fails = false;
    static inline std::vector<std::string> transfers;
    static inline int freed = 0;

    static vantix_error_code init() { return VANTIX_CODE_SUCCESS; }
    static const char *name() { return "FAKE"; }
    static vantix_error_code list(vantix_device_driver *driver, vantix_device **start) {
        if (listing_fails) {
            vantix_report_error_internal("fake listing failed");
            return VANTIX_CODE_ERROR;
        }
        vantix_device **link = start;
        for (const std::string &path : paths) {
            auto *record = static_cast<vantix_device *>(std::calloc(1, sizeof(vantix_device)));
            record->path = strdup(path.c_str());
            record->driver = driver;
            *link = record;
            link = &record->next;
        }
        return VANTIX_CODE_SUCCESS;
    }
    static vantix_error_code free_device(vantix_device *device) {
        ++freed;
        return vantix_real_free_device(device);
    }
    static vantix_error_code record(const char *what, unsigned char *buffer, unsigned int length) {
        transfers.push_back(std::string(what) + ":" + std::to_string(buffer[0]) + "/" +
                            std::to_string(length));
        return VANTIX_CODE_SUCCESS;
    }
    static vantix_device_driver table() {
        vantix_device_driver t{};
        t.driver_init = init;
        t.get_name = name;
        t.list_devices = list;
        t.free_device = free_device;
        t.get_feature_report = [](vantix_device *, unsigned char *b, unsigned int n) {
            return record("get", b, n);
        };
        t.set_feature_report = [](vantix_device *, unsigned char *b, unsigned int n) {
            return record("set", b, n);
        };
        t.set_output_report = [](vantix_device *, unsigned char *b, unsigned int n) {
            return record("out", b, n);
        };
        t.device_read = [](vantix_device *) { return VANTIX_CODE_SUCCESS; };
        return t;
    }
};

struct devices : ::testing::Test {
    vantix::test::scoped_env env;
    vantix_device_driver first = fake_pads::table();
    vantix_device_driver second = fake_pads::table();

    devices() {
        env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
        fake_pads::paths.clear();
        fake_pads::transfers.clear();
        fake_pads::listing_fails = false;
        fake_pads::freed = 0;
        vantix_init();
    }
    ~devices() override { vantix_destroy(); }

    void start(vantix_device_driver &table) {
        vantix_add_device_driver(&table);
        table.initialized = table.driver_init() ? 1 : 0;
    }
};

TEST_F(devices, ChainsEveryStartedDriverInRegistrationOrder) {
    vantix_device *list = reinterpret_cast<vantix_device *>(0x1);
    ASSERT_EQ(vantix_list_devices(&list), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(list, nullptr);  // no pads on this machine's REAL driver
    EXPECT_EQ(vantix_count_device_list(nullptr), 0u);

    start(first);
    start(second);
    fake_pads::paths = {"fake:0"};
    ASSERT_EQ(vantix_list_devices(&list), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_count_device_list(list), 2u);
    EXPECT_EQ(list->driver, &first);
    EXPECT_EQ(list->next->driver, &second);
    vantix_free_device_list(list);
    EXPECT_EQ(fake_pads::freed, 2);
}

TEST_F(devices, FailingOrStoppedDriversAreSkipped) {
    start(first);
    vantix_add_device_driver(&second);  // registered, never started
    fake_pads::paths = {"fake:0", "fake:1"};
    vantix_device *list = nullptr;
    ASSERT_EQ(vantix_list_devices(&list), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_count_device_list(list), 2u);
    vantix_free_device_list(list);

    fake_pads::listing_fails = true;
    ASSERT_EQ(vantix_list_devices(&list), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(list, nullptr);
    EXPECT_STREQ(vantix_get_last_error(), "fake listing failed");
}

TEST_F(devices, FreeingTakesRecordsOffTheOpenList) {
    start(first);
    fake_pads::paths = {"fake:0"};
    vantix_device *list = nullptr;
    vantix_list_devices(&list);
    vantix_list *open = vantix_create_list();
    vantix_list_add(open, list);
    vantix_set_open_devices(open);
    vantix_free_device_list(list);
    EXPECT_EQ(vantix_list_count(vantix_get_open_devices()), 0u);
}

TEST_F(devices, RawReportsPassThroughTheDeviceDriverUnchanged) {
    start(first);
    fake_pads::paths = {"fake:0"};
    vantix_device *pad = nullptr;
    vantix_list_devices(&pad);
    unsigned char buffer[73] = {42};
    EXPECT_EQ(vantix_hid_get_feature_report(pad, buffer, 73), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_hid_set_feature_report(pad, buffer, 2), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_hid_set_output_report(pad, buffer, 5), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_device_read(pad), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(fake_pads::transfers, (std::vector<std::string>{"get:42/73", "set:42/2", "out:42/5"}));
    vantix_free_device_list(pad);
}

TEST_F(devices, NullDeviceOrMissingEntryIsRefused) {
    unsigned char buffer[2] = {1, 0};
    EXPECT_EQ(vantix_hid_get_feature_report(nullptr, buffer, 2), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "No device given.");
    vantix_device bare{};
    EXPECT_EQ(vantix_device_read(&bare), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device has no driver for this operation.");
}

void input_a(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {}
void input_b(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {}
void hotplug_a(vantix_hotplug_type, const char *) {}

// The INFO records of the callback registries, in order.
std::vector<std::string> registry_records(const vantix::test::log_capture &log) {
    std::vector<std::string> out;
    for (const vantix::test::log_record &r : log.records())
        if (r.level == VANTIX_DEBUG_LEVEL_INFO && r.function.find("register_") != std::string::npos)
            out.push_back(r.function + ": " + r.message);
    return out;
}

TEST_F(devices, InputCallbacksNeedAnOpenPadAndDuplicatesCount) {
    vantix::test::log_capture log;
    vantix_device pad{};
    vantix_register_input_callback(&pad, input_a);  // not open: nothing to add to
    EXPECT_EQ(pad.input_callbacks, nullptr);

    pad.open = 1;
    pad.input_callbacks = vantix_create_list();
    vantix_register_input_callback(&pad, input_a);
    vantix_register_input_callback(&pad, input_b);
    vantix_register_input_callback(&pad, input_a);
    EXPECT_EQ(vantix_list_count(pad.input_callbacks), 3u);
    vantix_unregister_input_callback(&pad, input_a);
    ASSERT_EQ(vantix_list_count(pad.input_callbacks), 2u);
    EXPECT_EQ(pad.input_callbacks->first->ptr, reinterpret_cast<void *>(input_b));
    vantix_unregister_input_callback(&pad, input_b);
    vantix_unregister_input_callback(&pad, input_a);
    EXPECT_EQ(vantix_list_count(pad.input_callbacks), 0u);
    vantix_unregister_input_callback(&pad, input_a);  // empty: logged, harmless
    vantix_list_free(pad.input_callbacks);
    vantix_unregister_input_callback(nullptr, input_a);

    const std::string added = "vantix_register_input_callback: Successfully added input callback to list.";
    const std::string removed = "vantix_unregister_input_callback: Successfully removed callback.";
    const std::string empty = "vantix_unregister_input_callback: Callbacks list is empty, nothing to remove.";
    EXPECT_EQ(registry_records(log),
              (std::vector<std::string>{added, added, added, removed, removed, removed, empty, empty}));
}

TEST_F(devices, HotplugRegistryLivesBetweenInitAndDestroy) {
    ASSERT_NE(vantix_get_device_callbacks(), nullptr);
    {
        vantix::test::log_capture log;
        vantix_register_hotplug_callback(hotplug_a);
        vantix_register_hotplug_callback(hotplug_a);
        EXPECT_EQ(vantix_list_count(vantix_get_device_callbacks()), 2u);
        vantix_unregister_hotplug_callback(hotplug_a);
        EXPECT_EQ(vantix_list_count(vantix_get_device_callbacks()), 1u);
        const std::string added =
            "vantix_register_hotplug_callback: Successfully added hotplug callback to list.";
        EXPECT_EQ(registry_records(log),
                  (std::vector<std::string>{
                      added, added, "vantix_unregister_hotplug_callback: Successfully removed callback."}));
    }
    vantix_destroy();
    EXPECT_EQ(vantix_get_device_callbacks(), nullptr);
    vantix_register_hotplug_callback(hotplug_a);  // no list: nothing happens
    vantix_unregister_hotplug_callback(hotplug_a);
    vantix_init();
    EXPECT_EQ(vantix_list_count(vantix_get_device_callbacks()), 0u);
}

TEST_F(devices, UnplugNoticeReachesOnlyOpenRecordsWithTheExactPath) {
    vantix_device pads[3]{};
    char a[] = "/dev/hidraw1", b[] = "/dev/hidraw10";
    pads[0].path = a;
    pads[1].path = b;
    pads[2].path = nullptr;
    vantix_list *open = vantix_create_list();
    for (vantix_device &pad : pads)
        vantix_list_add(open, &pad);
    vantix_set_open_devices(open);

    vantix::test::log_capture log;
    auto notices = [&] {
        const auto records = log.records();
        return std::count_if(records.begin(), records.end(), [](const vantix::test::log_record &r) {
            return r.function == "vantix_device_notify_close" && r.message == "==> Entering Function";
        });
    };
    vantix_handle_device_unplug("/dev/hidraw1");
    EXPECT_EQ(notices(), 1);
    vantix_handle_device_unplug("/dev/hidraw");
    vantix_handle_device_unplug("/dev/hidraw100");
    vantix_handle_device_unplug(nullptr);
    EXPECT_EQ(notices(), 1);
    vantix_handle_device_unplug("/dev/hidraw10");
    EXPECT_EQ(notices(), 2);
}

}  // namespace
