// SPDX-License-Identifier: Apache-2.0
#include "sim_script.hpp"

#include <cstdlib>
#include <span>
#include <string_view>

#include "vantix-padsim.h"

namespace tool {
namespace {

// Digitizer coordinates between the prompt and the signature line.
constexpr int first[] = {300, 650, 420, 450, 540, 330, 660, 450, 780, 650, 900, 470};
constexpr int second[] = {1100, 350, 1150, 500, 1200, 650, 1300, 570, 1420, 410};
constexpr int third[] = {1700, 600, 1900, 580, 2100, 560, 2300, 550, 2500, 540, 2700, 530};

void stroke(int index, std::span<const int> xy) {
    vantix_padsim_stroke(index, xy.data(), static_cast<int>(xy.size() / 2));
}

}  // namespace

int sim_index(const vantix_device &device) {
    constexpr std::string_view prefix = "sim:";
    const std::string_view path = device.path ? device.path : "";
    return path.starts_with(prefix) ? std::atoi(path.data() + prefix.size()) : 0;
}

void play_stroke(int index) { stroke(index, first); }

void play_signature(int index, unsigned tap_x, unsigned tap_y) {
    stroke(index, first);
    stroke(index, second);
    stroke(index, third);
    vantix_padsim_tap_display(index, static_cast<int>(tap_x), static_cast<int>(tap_y));
}

}  // namespace tool
