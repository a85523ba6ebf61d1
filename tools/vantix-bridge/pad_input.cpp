// SPDX-License-Identifier: Apache-2.0
#include "pad_input.hpp"

#include <algorithm>
#include <cmath>

#include "prompt.hpp"

namespace bridge {
namespace {

json sample_event(const input_state &in, const vantix::zelnar::input_event &e, std::uint64_t seq) {
    const bool ext = e.type == VANTIX_INPUT_EXTENDEDCOORDINATE;
    const unsigned x = ext ? e.report.extended_coordinate.x : e.report.coordinate.x;
    const unsigned y = ext ? e.report.extended_coordinate.y : e.report.coordinate.y;
    const bool down = (ext ? e.report.extended_coordinate.sample_info.common.down
                           : e.report.coordinate.sample_info.common.down) != 0;
    const vantix_signature_pad_info &info = in.info;
    const double dx = to_display(x, info.active_x_min, info.active_x_max, info.display_width);
    const double dy = to_display(y, info.active_y_min, info.active_y_max, info.display_height);
    return {{"type", "sample"},
            {"seq", seq},
            {"x", x},
            {"y", y},
            {"dx", std::round(dx * 100) / 100},
            {"dy", std::round(dy * 100) / 100},
            {"down", down},
            {"t", now_us()}};
}

}  // namespace

double to_display(unsigned value, unsigned active_min, unsigned active_max, unsigned size) {
    const double span = static_cast<double>(active_max) - active_min + 1;
    const double out = (static_cast<double>(value) - active_min) * size / span;
    return std::clamp(out, 0.0, static_cast<double>(size));
}

int to_digitizer(double pixel, unsigned active_min, unsigned active_max, unsigned size) {
    const double span = static_cast<double>(active_max) - active_min + 1;
    const double out = active_min + (pixel + 0.5) * span / size;
    return static_cast<int>(
        std::clamp(out, static_cast<double>(active_min), static_cast<double>(active_max)));
}

void input_state::on_input(const vantix::zelnar::input_event &e) noexcept {
    try {
        if (e.type == VANTIX_INPUT_COORDINATE || e.type == VANTIX_INPUT_EXTENDEDCOORDINATE) {
            if (!capturing.load(std::memory_order_acquire))
                return;
            vantix_signature_feed(capture, &e.report, e.type);
            stream->push(sample_event(*this, e, seq.fetch_add(1)).dump());
        } else if (e.type == VANTIX_INPUT_BUTTONPRESS) {
            const unsigned region =
                e.report.button_press.region ? e.report.button_press.region->common.region_number : 0;
            json event = {{"type", "button"}, {"region", region}, {"t", now_us()}};
            std::lock_guard guard(lock);
            if (region >= first_button_region && region - first_button_region < captions.size()) {
                event["index"] = region - first_button_region;
                event["caption"] = captions[region - first_button_region];
            }
            stream->push(event.dump());
        }
    } catch (...) {
        // Out of memory at worst: the sample is lost, the reading goes on.
    }
}

void input_state::set_captions(std::vector<std::string> now) {
    std::lock_guard guard(lock);
    captions = std::move(now);
}

}  // namespace bridge
