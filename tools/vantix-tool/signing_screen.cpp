// SPDX-License-Identifier: Apache-2.0
#include "signing_screen.hpp"

#include <stdexcept>
#include <string>
#include <vector>

#include "pad_screen.hpp"

namespace tool {
namespace {

constexpr unsigned first_button_region = 2;

std::vector<vantix::screen::button_box> boxes_of(const std::array<screen_button, 3> &buttons) {
    std::vector<vantix::screen::button_box> out;
    for (const screen_button &b : buttons)
        out.push_back({b.region, b.caption, b.x1, b.y1, b.x2, b.y2});
    return out;
}

// "name  tag", the name cut (at a UTF-8 character) until the line fits.
std::string fitted(const vantix::zelnar::pad &pad, const signing_screen::document_line &document) {
    if (document.name.empty() && document.tag.empty())
        return {};
    const unsigned width = pad.display().width - 4;
    std::string name = document.name, line = name + "  " + document.tag;
    while (!name.empty() && pad.text_width(line) > width) {
        while ((static_cast<unsigned char>(name.back()) & 0xC0) == 0x80 && name.size() > 1)
            name.pop_back();  // continuation bytes, then their lead byte
        name.pop_back();
        line = name + "...  " + document.tag;
    }
    return line;
}

}  // namespace

std::array<screen_button, 3> button_layout(unsigned width, unsigned height) {
    const unsigned strip = height / 4, top = height - strip, third = width / 3;
    return {{{choice::ok, 2, "OK", 0, top, third - 1, height - 1},
             {choice::clear, 4, "Clear", third, top, 2 * third - 1, height - 1},
             {choice::cancel, 3, "Cancel", 2 * third, top, width - 1, height - 1}}};
}

signing_screen::signing_screen(vantix::zelnar::pad &pad, std::string prompt, const document_line &document)
    : pad_(pad),
      prompt_(std::move(prompt)),
      document_(fitted(pad, document)),
      buttons_(button_layout(pad.display().width, pad.display().height)) {
    if (pad.display().width < 60 || pad.display().height < 32)
        throw std::runtime_error("the pad's display is too small for a signing screen");
    if (pad.display().region_count < first_button_region + buttons_.size() - 1)
        throw std::runtime_error("the pad has too few regions for OK, Clear and Cancel");
    vantix::screen::define_buttons(pad, boxes_of(buttons_));
    draw();
}

signing_screen::~signing_screen() {
    // The pad may be closed or gone by now; nothing more to do then.
    if (pad_.is_open())
        vantix_set_region_commit(&pad_.record(), VANTIX_REGION_DISCARD_CHANGES);
}

void signing_screen::draw() {
    vantix::screen::draw_prompt_screen(pad_, prompt_, boxes_of(buttons_), document_);
}

choice signing_screen::pressed(std::uint8_t region) const {
    for (const screen_button &b : buttons_)
        if (b.region == region)
            return b.meaning;
    return choice::none;
}

const screen_button &signing_screen::button(choice meaning) const {
    for (const screen_button &b : buttons_)
        if (b.meaning == meaning)
            return b;
    return buttons_[0];
}

}  // namespace tool
