// SPDX-License-Identifier: Apache-2.0
#include "pad_screen.hpp"

#include <cstdio>
#include <string>
#include <vector>

namespace vantix::screen {
namespace {

constexpr vantix_gcolor black = 0x000000FF;

void draw_button(vantix::zelnar::pad &pad, const button_box &b) {
    vantix::zelnar::bitmap picture(static_cast<std::int32_t>(b.x2 - b.x1 + 1),
                                   static_cast<std::int32_t>(b.y2 - b.y1 + 1));
    vantix_bitmap *bmp = picture.get();
    std::vector<std::int32_t> caption(b.caption.begin(), b.caption.end());
    caption.push_back(0);
    vantix_draw_rectangle(bmp, 0, 0, bmp->width - 1, bmp->height - 1, black);
    enhanced_draw_string_aligned(bmp, &vantix_default, caption.data(), 0, 0, bmp->width, bmp->height,
                                 VANTIX_ALIGN_MIDDLE, VANTIX_ALIGN_MIDDLE, black);
    pad.show(picture, b.x1, b.y1, 1);
}

}  // namespace

vantix_device_region_info button_region(const button_box &b) {
    vantix_device_region_info r{};
    vantix_device_region_common &c = r.common;
    c.region_number = b.region;
    c.region_type = VANTIX_REGION_TYPE_BUTTON;
    c.accept_touch = c.decode = c.visible = c.in_use = c.has_frame = 1;
    c.x1 = static_cast<std::uint16_t>(b.x1);
    c.x2 = static_cast<std::uint16_t>(b.x2);
    c.y1 = static_cast<std::uint16_t>(b.y1);
    c.y2 = static_cast<std::uint16_t>(b.y2);
    c.color_foreground = {255, 0, 0, 0};
    c.color_background = {255, 255, 255, 255};
    r.button.enable = r.button.highlight_on_select = 1;
    const std::string caption(b.caption);
    std::snprintf(r.button.caption, sizeof r.button.caption, "%s", caption.c_str());
    return r;
}

void define_buttons(vantix::zelnar::pad &pad, std::span<const button_box> buttons) {
    for (const button_box &b : buttons)
        pad.set_region(button_region(b));
}

void draw_prompt_screen(vantix::zelnar::pad &pad, std::string_view text, std::span<const button_box> buttons,
                        std::string_view detail) {
    const auto &display = pad.display();
    pad.clear_screen();
    unsigned y = 1;
    for (std::string_view line : {text, detail})
        if (!line.empty()) {
            pad.draw_text(line, display.width / 2, y, VANTIX_ALIGN_CENTER);
            y += pad.text_height(line) + 1;
        }
    const unsigned line_y = (buttons.empty() ? display.height : buttons.front().y1) - 4;
    vantix::zelnar::bitmap line(static_cast<std::int32_t>(display.width - 20), 1);
    line.clear(black);
    pad.show(line, 10, line_y, 1);
    for (const button_box &b : buttons)
        draw_button(pad, b);
}

}  // namespace vantix::screen
