// SPDX-License-Identifier: Apache-2.0
#include "pad_input.hpp"

#include <algorithm>
#include <cmath>

#include "prompt.hpp"

namespace bridge {
namespace {

bool is_pen(std::uint8_t type) {
    return type == VANTIX_INPUT_COORDINATE || type == VANTIX_INPUT_EXTENDEDCOORDINATE;
}

bool is_button(std::uint8_t type) {
    return type >= VANTIX_INPUT_BUTTONDOWN && type <= VANTIX_INPUT_BUTTONPRESS;
}

}  // namespace

json input_state::sample_event(std::uint16_t x, std::uint16_t y, bool down, std::uint64_t steady) {
    const display_mapping::position at = display(x, y);
    pen = {x, y, down};
    return {{"type", "sample"},
            {"seq", seq.fetch_add(1)},
            {"x", x},
            {"y", y},
            {"dx", std::round(at.x * 100) / 100},
            {"dy", std::round(at.y * 100) / 100},
            {"down", down},
            {"t", event_time_us(steady)}};
}

display_mapping::display_mapping(const vantix_signature_pad_info &info) : point_(new_capture(info)) {}

display_mapping::position display_mapping::operator()(std::uint16_t x, std::uint16_t y) const {
    vantix_signature_clear(point_.get());
    vantix_signature_box box{};
    if (vantix_signature_add_point(point_.get(), x, y, VANTIX_SIGNATURE_DEFAULT_PRESSURE, 1, 0) !=
            VANTIX_CODE_SUCCESS ||
        vantix_signature_bounding_box(point_.get(), VANTIX_SIGNATURE_SPACE_DISPLAY, &box) !=
            VANTIX_CODE_SUCCESS)
        throw protocol_error("library", "the signature library cannot place a point",
                             vantix_signature_last_error());
    return {box.left, box.top};
}

int to_digitizer(double pixel, unsigned active_min, unsigned active_max, unsigned size) {
    const double span = static_cast<double>(active_max) - active_min + 1;
    const double out = active_min + (pixel + 0.5) * span / size;
    return static_cast<int>(
        std::clamp(out, static_cast<double>(active_min), static_cast<double>(active_max)));
}

capture_ptr new_capture(const vantix_signature_pad_info &info) {
    capture_ptr out(vantix_signature_capture_new_with_info(&info), vantix_signature_capture_free);
    if (!out)
        throw protocol_error("library", "the signature capture cannot start", vantix_signature_last_error());
    return out;
}

void input_state::set_capture(capture_ptr now) {
    std::lock_guard guard(capture_lock_);
    capture_.swap(now);
}  // the old one goes with its last holder (a render, or this call's end)

capture_ptr input_state::current_capture() {
    std::lock_guard guard(capture_lock_);
    return capture_;
}

void input_state::on_input(const vantix::zelnar::input_event &e) noexcept {
    try {
        const bool capture_runs = capturing.load(std::memory_order_acquire);
        if (is_pen(e.type)) {
            if (!capture_runs)
                return;
            const bool ext = e.type == VANTIX_INPUT_EXTENDEDCOORDINATE;
            const auto &c = e.report.coordinate;
            const auto &x = e.report.extended_coordinate;
            const std::uint16_t at_x = ext ? x.x : c.x, at_y = ext ? x.y : c.y;
            const bool down = (ext ? x.sample_info.common.down : c.sample_info.common.down) != 0;
            // One reading stamps the sample, in the capture (as feeding it
            // would, on the steady clock) and in the stream.
            const std::uint64_t steady = steady_us();
            vantix_signature_add_point(current_capture().get(), at_x, at_y, VANTIX_SIGNATURE_DEFAULT_PRESSURE,
                                       down ? 1 : 0, steady);
            stream->push(sample_event(at_x, at_y, down, steady).dump());
            return;
        }
        if (!is_button(e.type))
            return;
        if (capture_runs) {
            // The pen on a button is not writing: the capture ends its stroke
            // here, and the stream says so with a pen-up where the ink ended.
            vantix_signature_feed(current_capture().get(), &e.report, e.type);
            if (pen.down)
                stream->push(sample_event(pen.x, pen.y, false, steady_us()).dump());
        }
        if (e.type == VANTIX_INPUT_BUTTONPRESS)
            push_button(e.report.button_press);
    } catch (...) {
        // Out of memory at worst: the sample is lost, the reading goes on.
    }
}

void input_state::push_button(const vantix_hid_input_button_press &press) {
    const unsigned region = press.region ? press.region->common.region_number : 0;
    json event = {{"type", "button"}, {"region", region}, {"t", event_time_us()}};
    std::lock_guard guard(lock);
    if (region >= first_button_region && region - first_button_region < captions.size()) {
        event["index"] = region - first_button_region;
        event["caption"] = captions[region - first_button_region];
    }
    stream->push(to_text(event));  // the caption is the page's text
}

void input_state::set_captions(std::vector<std::string> now) {
    std::lock_guard guard(lock);
    captions = std::move(now);
}

}  // namespace bridge
