// SPDX-License-Identifier: Apache-2.0
// The prompt a page puts on its open pad: text, a signing line and up to
// four buttons along the bottom, button i being region first_button_region + i.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vantix-zelnar.hpp"

namespace bridge {

constexpr std::uint8_t first_button_region = 2;
constexpr std::size_t max_buttons = 4;

struct button {
    std::string caption;
    std::uint8_t region;
    unsigned x1, y1, x2, y2;
};

// Buttons of equal width in the bottom quarter of a display of this size.
std::vector<button> button_layout(const std::vector<std::string> &captions, unsigned width, unsigned height);

// How many buttons the pad has regions for (one region is the display's own).
std::size_t button_room(const vantix::zelnar::pad &pad);

// Defines the buttons' regions and draws the screen; the caller has dropped
// the last prompt's regions.
void show_prompt(vantix::zelnar::pad &pad, const std::string &text, const std::vector<button> &buttons);

}  // namespace bridge
