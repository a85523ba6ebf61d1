// SPDX-License-Identifier: Apache-2.0
// The installed udev rule in a real udevd: the pad's hidraw node carries
// the uaccess tag, which lets the user at the seat open it. The guest has
// no seat, so the node stays root's: the permission scenario still refuses
// an ordinary user with the rule in place.
#include <cstdio>
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

TEST_F(Vm, PadNodeCarriesTheUaccessTagOfTheRule) {
    const std::string node = device->path;
    EXPECT_TRUE(wait_until([&] { return udev_tags(node).find(":uaccess:") != std::string::npos; }, 5000ms))
        << node << ": " << udev_tags(node);
}

}  // namespace
}  // namespace vm
