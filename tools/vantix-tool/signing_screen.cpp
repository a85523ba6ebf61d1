#include "signing_screen.hpp"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace tool {
namespace {

constexpr vantix_gcolor black = 0x000000FF;
constexpr unsigned first_button_region = 2;

vantix_device_region_info button_region(const screen_button &b) {
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
    std::snprintf(r.button.caption, sizeof r.button.caption, "%s", b.caption);
    return r;
}

void send_button(vantix::zelnar::pad &pad, const screen_button &b) {
    vantix::zelnar::bitmap picture(static_cast<std::int32_t>(b.x2 - b.x1 + 1),
                                   static_cast<std::int32_t>(b.y2 - b.y1 + 1));
    vantix_bitmap *bmp = picture.get();
    std::vector<std::int32_t> caption(b.caption, b.caption + std::char_traits<char>::length(b.caption));
    caption.push_back(0);
    vantix_draw_rectangle(bmp, 0, 0, bmp->width - 1, bmp->height - 1, black);
    enhanced_draw_string_aligned(bmp, &vantix_default, caption.data(), 0, 0, bmp->width, bmp->height,
                                 VANTIX_ALIGN_MIDDLE, VANTIX_ALIGN_MIDDLE, black);
    pad.show(picture, b.x1, b.y1, 1);
}

}  // namespace

std::array<screen_button, 3> button_layout(unsigned width, unsigned height) {
    const unsigned strip = height / 4, top = height - strip, third = width / 3;
    return {{{choice::ok, 2, "OK", 0, top, third - 1, height - 1},
             {choice::clear, 4, "Clear", third, top, 2 * third - 1, height - 1},
             {choice::cancel, 3, "Cancel", 2 * third, top, width - 1, height - 1}}};
}

signing_screen::signing_screen(vantix::zelnar::pad &pad, std::string prompt)
    : pad_(pad),
      prompt_(std::move(prompt)),
      buttons_(button_layout(pad.display().width, pad.display().height)) {
    if (pad.display().width < 60 || pad.display().height < 32)
        throw std::runtime_error("the pad's display is too small for a signing screen");
    if (pad.display().region_count < first_button_region + buttons_.size() - 1)
        throw std::runtime_error("the pad has too few regions for OK, Clear and Cancel");
    for (const screen_button &b : buttons_)
        pad.set_region(button_region(b));
    draw();
}

signing_screen::~signing_screen() {
    // The pad may be closed or gone by now; nothing more to do then.
    if (pad_.is_open())
        vantix_set_region_commit(&pad_.record(), VANTIX_REGION_DISCARD_CHANGES);
}

void signing_screen::draw() {
    const unsigned width = pad_.display().width;
    const unsigned line_y = buttons_[0].y1 - 4;
    pad_.clear_screen();
    pad_.draw_text(prompt_, width / 2, 1, VANTIX_ALIGN_CENTER);
    vantix::zelnar::bitmap line(static_cast<std::int32_t>(width - 20), 1);
    line.clear(black);
    pad_.show(line, 10, line_y, 1);
    for (const screen_button &b : buttons_)
        send_button(pad_, b);
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
