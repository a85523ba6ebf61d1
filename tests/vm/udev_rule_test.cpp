// SPDX-License-Identifier: Apache-2.0
// The installed udev rule in a real udevd: the pad's hidraw node carries
// the uaccess tag, which lets the user at the seat open it. The guest has
// no seat, so the node stays root's: the permission scenario still refuses
// an ordinary user with the rule in place.
#include <cstdio>
#include <fstream>
#include <string>

#include "scenario.hpp"

namespace vm {
namespace {

using namespace std::chrono_literals;

// The tags udevd recorded for a device node, as udevadm reports them.
std::string udev_tags(const std::string &node) {
    const std::string command = "udevadm info --query=property --name=" + node;
    std::string tags;
    if (FILE *out = popen(command.c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, out))
            if (std::string(line).rfind("TAGS=", 0) == 0)
                tags = line;
        pclose(out);
    }
    return tags;
}

// The hidraw node whose HID device has this vendor and product ("" when
// none has), from the HID_ID line of its uevent.
std::string node_of(std::uint16_t vendor, std::uint16_t product) {
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, ":%08X:%08X", vendor, product);
    for (const std::string &node : hidraw_nodes()) {
        std::ifstream uevent("/sys/class/hidraw/" + node.substr(node.rfind('/') + 1) + "/device/uevent");
        for (std::string line; std::getline(uevent, line);)
            if (line.rfind("HID_ID=", 0) == 0 && line.find(wanted) != std::string::npos)
                return node;
    }
    return "";
}

bool has_uaccess(const std::string &node) { return udev_tags(node).find(":uaccess:") != std::string::npos; }

TEST_F(Vm, PadNodeCarriesTheUaccessTagOfTheRule) {
    const std::string node = device->path;
    EXPECT_TRUE(wait_until([&] { return has_uaccess(node); }, 5000ms)) << node << ": " << udev_tags(node);
    // Another product of the same vendor ID is not a pad: the rule leaves it
    // alone. udevd has handled it by now, as it was plugged in before.
    const std::string other = node_of(device->vendor_id, excluded_product);
    ASSERT_FALSE(other.empty());
    EXPECT_FALSE(has_uaccess(other)) << other << ": " << udev_tags(other);
}

}  // namespace
}  // namespace vm
