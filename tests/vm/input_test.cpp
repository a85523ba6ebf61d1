// SPDX-License-Identifier: Apache-2.0
// Input reports, unplug, hotplug, permissions and shutdown: the real
// driver's reading and udev paths against a real kernel and udevd.
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "scenario.hpp"

namespace vm {
namespace {

using namespace std::chrono_literals;

struct seen_input {
    std::uint8_t type;
    std::uint16_t x, y;
    std::vector<unsigned char> raw;
};

std::mutex input_lock;
std::vector<seen_input> inputs;

void on_input(vantix_device *, vantix_input_report *report, uint8_t type, unsigned char *buffer,
              unsigned int length) {
    std::lock_guard lock(input_lock);
    inputs.push_back({type, report->extended_coordinate.x, report->extended_coordinate.y,
                      std::vector<unsigned char>(buffer, buffer + length)});
}

std::size_t input_count() {
    std::lock_guard lock(input_lock);
    return inputs.size();
}

struct hotplug_event {
    vantix_hotplug_type type;
    std::string path;
};

std::mutex hotplug_lock;
std::vector<hotplug_event> hotplug_events;

void on_hotplug(vantix_hotplug_type type, const char *path) {
    std::lock_guard lock(hotplug_lock);
    hotplug_events.push_back({type, path});
}

bool saw_hotplug(vantix_hotplug_type type, const std::string &path) {
    std::lock_guard lock(hotplug_lock);
    for (const auto &e : hotplug_events)
        if (e.type == type && (path.empty() ? e.path.rfind("/dev/hidraw", 0) == 0 : e.path == path))
            return true;
    return false;
}

class VmInput : public Vm {
protected:
    void SetUp() override {
        Vm::SetUp();
        std::lock_guard lock(input_lock);
        inputs.clear();
    }
    // Plugs the pad back in after a scenario that unplugged it.
    void replug() {
        if (!gadget().plugged())
            gadget().plug();
        ASSERT_TRUE(wait_until([] { return hidraw_count() == 3; })) << "the pad came back";
    }
};

TEST_F(VmInput, PenSamplesReachCallbacksThroughDeviceRead) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    vantix_register_input_callback(device, on_input);
    pad().pen_sample({1234, 567}, true);
    for (int i = 0; i < 5 && input_count() == 0; ++i)
        ASSERT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS) << last_error();
    std::lock_guard lock(input_lock);
    ASSERT_EQ(inputs.size(), 1u);
    EXPECT_EQ(inputs[0].type, VANTIX_INPUT_EXTENDEDCOORDINATE);
    EXPECT_EQ(inputs[0].raw.size(), 7u);
    EXPECT_EQ(inputs[0].x, 1234);
    EXPECT_EQ(inputs[0].y, 567);
}

TEST_F(VmInput, StrokeReachesCallbacksThroughTheReadThreadInOrder) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    vantix_register_input_callback(device, on_input);
    vantix_device_read_until_done(device);
    std::vector<padsim::point> points;
    for (std::uint16_t i = 0; i < 20; ++i)
        points.push_back(
            {static_cast<std::uint16_t>(100 + 50 * i), static_cast<std::uint16_t>(200 + 10 * i)});
    pad().stroke(points);
    // Pen down at every point, then pen up: one report more than points.
    EXPECT_TRUE(wait_until([&] { return input_count() >= points.size() + 1; })) << input_count();
    vantix_device_read_done(device);
    EXPECT_EQ(device->open, 0);
    std::lock_guard lock(input_lock);
    ASSERT_GE(inputs.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(inputs[i].x, points[i].x) << i;
        EXPECT_EQ(inputs[i].y, points[i].y) << i;
    }
}

TEST_F(VmInput, UnplugDuringReadClosesThePadWithTheReadError) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    std::thread unplug([this] {
        std::this_thread::sleep_for(300ms);
        gadget().unplug();
    });
    vantix_error_code result = VANTIX_CODE_SUCCESS;
    for (int i = 0; i < 10 && result == VANTIX_CODE_SUCCESS; ++i)
        result = vantix_device_read(device);
    unplug.join();
    EXPECT_EQ(result, VANTIX_CODE_ERROR);
    EXPECT_EQ(last_error().rfind("Problem reading from the device (", 0), 0u) << last_error();
    EXPECT_EQ(device->open, 0);
    replug();
}

TEST_F(VmInput, HotplugCallbacksSeeDetachAndAttachWithTheNode) {
    {
        std::lock_guard lock(hotplug_lock);
        hotplug_events.clear();
    }
    vantix_register_hotplug_callback(on_hotplug);
    const std::string node = device->path;
    // udevd takes a moment to start its monitor for a new client.
    std::this_thread::sleep_for(200ms);
    gadget().unplug();
    EXPECT_TRUE(wait_until([&] { return saw_hotplug(VANTIX_HOTPLUG_DETACHED, node); })) << node;
    gadget().plug();
    EXPECT_TRUE(wait_until([&] { return saw_hotplug(VANTIX_HOTPLUG_ATTACHED, ""); }));
    replug();
    vantix_unregister_hotplug_callback(on_hotplug);
}

TEST_F(VmInput, NodeWithoutPermissionFailsOpenWithTheExactMessage) {
    // Root passes every permission check; an ordinary user does not. The
    // saved user ID stays root so the later scenarios get it back.
    ASSERT_EQ(seteuid(1000), 0);
    const vantix_error_code opened = vantix_open_device(device);
    const std::string error = last_error();
    ASSERT_EQ(seteuid(0), 0);
    EXPECT_EQ(opened, VANTIX_CODE_ERROR);
    EXPECT_EQ(error, "Problem opening device (13): Permission denied\n");
    EXPECT_EQ(device->open, 0);
}

int thread_count() { return entry_count("/proc/self/task"); }

// udevd running means the hotplug thread's monitor is live; destroy must
// still end the thread at once rather than at the next udev event.
TEST(VmShutdown, DestroyEndsTheHotplugThreadPromptly) {
    const int before = thread_count();
    vantix_init();
    EXPECT_EQ(thread_count(), before + 1) << "the hotplug thread runs";
    std::this_thread::sleep_for(100ms);
    const auto start = std::chrono::steady_clock::now();
    vantix_destroy();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, 500ms);
    EXPECT_TRUE(wait_until([&] { return thread_count() == before; }, 1000ms)) << thread_count();
}

}  // namespace
}  // namespace vm
