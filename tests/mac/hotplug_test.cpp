// SPDX-License-Identifier: Apache-2.0
// Hotplug events derived from listing differences, and stopping the
// hotplug thread promptly whatever it is doing.
#include <condition_variable>
#include <mutex>

#include "mac/mac_fixture.hpp"

namespace {

struct event {
    vantix_hotplug_type type;
    std::string path;
    bool operator==(const event &) const = default;
};

struct hotplug : vantix::test::mac_driver_test {
    hotplug() {
        vantix::mac::hotplug_settle_ms = 10;
        std::lock_guard lock(seen_lock);
        seen.clear();
    }
    ~hotplug() override { vantix::mac::hotplug_settle_ms = 1000; }

    static void record(vantix_hotplug_type type, const char *path) {
        std::lock_guard lock(seen_lock);
        seen.push_back({type, path});
        arrived.notify_all();
    }
    // The events once `n` have arrived (or after a generous bound).
    static std::vector<event> events(size_t n) {
        std::unique_lock lock(seen_lock);
        arrived.wait_for(lock, std::chrono::seconds(30), [n] { return seen.size() >= n; });
        return seen;
    }

    static inline std::mutex seen_lock;
    static inline std::condition_variable arrived;
    static inline std::vector<event> seen;
};

TEST_F(hotplug, PadsArrivingAndLeavingAreReportedByPath) {
    vantix_register_hotplug_callback(record);
    list();  // the listing the first event is compared with
    padsim::model foreign = quick_pad();
    foreign.vendor_id = 0x046D;
    attach(foreign, {.location_id = 1});  // a USB device, but no pad
    const auto pad = attach(quick_pad(), {.location_id = 2});
    const std::string path = "USB_1209_0240_ff00_00_2";
    EXPECT_EQ(events(1), (std::vector<event>{{VANTIX_HOTPLUG_ATTACHED, path}}));
    standin::unplug(pad);
    EXPECT_EQ(events(2),
              (std::vector<event>{{VANTIX_HOTPLUG_ATTACHED, path}, {VANTIX_HOTPLUG_DETACHED, path}}));
}

TEST_F(hotplug, StopWakesTheThreadWhileItWaits) {
    EXPECT_EQ(vantix_mac_driver.thread_running(), 1);
    vantix_destroy();  // the thread sits in its run loop
    EXPECT_EQ(vantix_mac_driver.thread_running(), 0);
    vantix_mac_driver.wait_thread();
    vantix_init();
}

TEST_F(hotplug, StopEndsTheSettleWaitAndCallsNothingMore) {
    vantix::mac::hotplug_settle_ms = 600000;
    vantix_register_hotplug_callback(record);
    list();
    attach();  // the thread now waits for the HID layer
    vantix_destroy();
    vantix_init();
    EXPECT_TRUE(seen.empty());
}

}  // namespace
