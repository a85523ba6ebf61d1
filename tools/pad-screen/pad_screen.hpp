// SPDX-License-Identifier: Apache-2.0
// A prompt screen on a pad: a line of text at the top, a line to sign on
// and buttons along the bottom. The buttons are pad regions, so the pad
// reports presses on them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "vantix-zelnar.hpp"

namespace vantix::screen {

// A button: its region number, caption and box in display pixels (inclusive).
struct button_box {
    std::uint8_t region;
    std::string_view caption;
    unsigned x1, y1, x2, y2;
};

// The region that makes the pad decode touches on the button.
vantix_device_region_info button_region(const button_box &b);
// Sets every button's region (dropped again by discarding the region edits).
void define_buttons(vantix::zelnar::pad &pad, std::span<const button_box> buttons);

// Clears the display and draws the text (if any), the detail line under it
// (if any), the signing line above the buttons and their framed captions.
void draw_prompt_screen(vantix::zelnar::pad &pad, std::string_view text, std::span<const button_box> buttons,
                        std::string_view detail = {});

}  // namespace vantix::screen
