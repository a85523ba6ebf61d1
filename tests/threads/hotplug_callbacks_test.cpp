// SPDX-License-Identifier: Apache-2.0
// The hotplug callback list is read by the hotplug thread from vantix_init
// on, so registering after init (the documented order) must not race it.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/hotplug_callbacks.hpp"
#include "support/scoped_env.hpp"

namespace {

void first(vantix_hotplug_type, const char *) {}
void second(vantix_hotplug_type, const char *) {}

TEST(hotplug_callbacks, RegisteringWhileTheHotplugThreadReadsTheList) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_init();
    std::atomic<bool> stop{false};
    std::atomic<long> seen{0};
    // Stands in for the hotplug thread delivering events.
    std::thread reader([&] {
        while (!stop.load())
            for (vantix_hotplug_callback callback : vantix::hotplug_callbacks_snapshot()) {
                EXPECT_TRUE(callback == first || callback == second);
                ++seen;
            }
    });
    for (int round = 0; round < 5000; ++round) {
        vantix_register_hotplug_callback(first);
        vantix_register_hotplug_callback(second);
        vantix_unregister_hotplug_callback(first);
        vantix_unregister_hotplug_callback(second);
    }
    vantix_register_hotplug_callback(second);
    while (seen.load() == 0)
        std::this_thread::yield();
    stop.store(true);
    reader.join();
    EXPECT_EQ(vantix::hotplug_callbacks_snapshot().size(), 1u);
    vantix_destroy();
    EXPECT_TRUE(vantix::hotplug_callbacks_snapshot().empty());
}

}  // namespace
