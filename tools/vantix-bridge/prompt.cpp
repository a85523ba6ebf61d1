// SPDX-License-Identifier: Apache-2.0
#include "prompt.hpp"

#include "pad_screen.hpp"

namespace bridge {

std::vector<button> button_layout(const std::vector<std::string> &captions, unsigned width, unsigned height) {
    std::vector<button> out;
    if (captions.empty())
        return out;
    const unsigned strip = height / 4, top = height - strip;
    const unsigned each = width / static_cast<unsigned>(captions.size());
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const unsigned x1 = static_cast<unsigned>(i) * each;
        const unsigned x2 = i + 1 == captions.size() ? width - 1 : x1 + each - 1;
        out.push_back(
            {captions[i], static_cast<std::uint8_t>(first_button_region + i), x1, top, x2, height - 1});
    }
    return out;
}

std::size_t button_room(const vantix::zelnar::pad &pad) {
    const unsigned regions = pad.display().region_count;
    return regions > 1 ? regions - 1u : 0u;
}

void show_prompt(vantix::zelnar::pad &pad, const std::string &text, const std::vector<button> &buttons) {
    std::vector<vantix::screen::button_box> boxes;
    for (const button &b : buttons)
        boxes.push_back({b.region, b.caption, b.x1, b.y1, b.x2, b.y2});
    vantix::screen::define_buttons(pad, boxes);
    vantix::screen::draw_prompt_screen(pad, text, boxes);
}

}  // namespace bridge
