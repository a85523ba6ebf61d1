// SPDX-License-Identifier: Apache-2.0
// The uhid front-end: a pad without a USB parent. The listing cannot find
// it, so the scenario builds the record an application would get for its
// node; open, feature reports, input and hotplug then work as for a pad on
// a cable.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "padsim/uhid.hpp"
#include "scenario.hpp"

namespace vm {
namespace {

std::mutex lock;
std::vector<std::pair<vantix_hotplug_type, std::string>> events;
int inputs = 0;

void on_hotplug(vantix_hotplug_type type, const char *path) {
    std::lock_guard guard(lock);
    events.emplace_back(type, path);
}

bool saw(vantix_hotplug_type type, const std::string &path) {
    std::lock_guard guard(lock);
    for (const auto &[t, p] : events)
        if (t == type && p == path)
            return true;
    return false;
}

void on_input(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) { ++inputs; }

TEST(VmUhid, PadOnUhidOpensTransfersReadsAndReportsHotplug) {
    vantix_init();
    vantix_register_hotplug_callback(on_hotplug);
    const std::set<std::string> before = hidraw_nodes();
    padsim::pad pad;
    auto uhid = std::make_unique<padsim::uhid_device>(pad);
    const std::string node = new_hidraw_node(before);
    ASSERT_FALSE(node.empty());
    EXPECT_TRUE(wait_until([&] { return saw(VANTIX_HOTPLUG_ATTACHED, node); })) << node;

    vantix_device *device = record_for_node(node);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << vantix_get_last_error();
    EXPECT_EQ(device->display_info.width, pad.config().display_width);

    std::vector<unsigned char> table(2049);
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<unsigned char>(i * 13);
    table[0] = VANTIX_FEATURE_ERRORCORRECTION;
    EXPECT_EQ(vantix_hid_set_feature_report(device, table.data(), 2049), VANTIX_CODE_SUCCESS);
    std::vector<unsigned char> back(2049);
    back[0] = VANTIX_FEATURE_ERRORCORRECTION;
    EXPECT_EQ(vantix_hid_get_feature_report(device, back.data(), 2049), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(back, table);

    vantix_register_input_callback(device, on_input);
    pad.tap({2000, 500});
    for (int i = 0; i < 5 && inputs < 2; ++i)
        vantix_device_read(device);
    EXPECT_EQ(inputs, 2) << "pen down and pen up";
    vantix_close_device(device);
    vantix_real_free_device(device);

    uhid.reset();
    EXPECT_TRUE(wait_until([&] { return saw(VANTIX_HOTPLUG_DETACHED, node); })) << node;
    vantix_destroy();
}

}  // namespace
}  // namespace vm
