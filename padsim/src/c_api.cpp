// SPDX-License-Identifier: Apache-2.0
// The C entry points of the virtual pad.
#include <limits>
#include <stdexcept>
#include <vector>

#include "padsim/replay.hpp"
#include "padsim/sim_driver.hpp"
#include "vantix-padsim.h"

namespace {

// Shared, so a reset on another thread cannot pull the pad away mid-call.
std::shared_ptr<padsim::pad> pad_at(int index) {
    if (index < 0)
        return nullptr;
    try {
        return padsim::pad_ptr(static_cast<std::size_t>(index));
    } catch (const std::out_of_range &) {
        return nullptr;
    }
}

bool to_point(int x, int y, padsim::point &at) {
    constexpr int top = std::numeric_limits<std::uint16_t>::max();
    if (x < 0 || y < 0 || x > top || y > top)
        return false;
    at = {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)};
    return true;
}

// Runs `use` with the pad and the point; 0 when either is not valid.
template <typename Use>
int with_point(int index, int x, int y, Use use) {
    auto pad = pad_at(index);
    padsim::point at;
    return pad && to_point(x, y, at) && use(*pad, at) ? 1 : 0;
}

}  // namespace

extern "C" {

vantix_device_driver *vantix_padsim_driver(void) { return padsim::sim_driver(); }

void vantix_padsim_register(void) { padsim::register_sim_driver(); }

int vantix_padsim_add_pad(void) { return static_cast<int>(padsim::add_pad()); }

int vantix_padsim_add_replay(const char *path, int paced) {
    if (!path) {
        vantix_report_error_internal("No recording given.\n");
        return -1;
    }
    try {
        const padsim::recording recorded = padsim::load_recording(path);
        return static_cast<int>(
            padsim::add_replay(recorded, paced ? padsim::pacing::recorded : padsim::pacing::fast));
    } catch (const std::exception &e) {
        vantix_report_error_internal("%s\n", e.what());
        return -1;
    }
}

int vantix_padsim_pad_count(void) { return static_cast<int>(padsim::pad_count()); }

int vantix_padsim_queue_input(int index, const unsigned char *report, unsigned int length) {
    auto pad = pad_at(index);
    if (!pad || !report)
        return 0;
    pad->queue_input(std::vector<std::uint8_t>(report, report + length));
    return 1;
}

int vantix_padsim_pen_sample(int index, int x, int y, int down) {
    return with_point(index, x, y, [down](padsim::pad &pad, padsim::point at) {
        pad.pen_sample(at, down != 0);
        return true;
    });
}

int vantix_padsim_stroke(int index, const int *xy_pairs, int point_count) {
    auto pad = pad_at(index);
    if (!pad || !xy_pairs || point_count <= 0)
        return 0;
    std::vector<padsim::point> points(static_cast<std::size_t>(point_count));
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!to_point(xy_pairs[2 * i], xy_pairs[2 * i + 1], points[i]))
            return 0;
    pad->stroke(points);
    return 1;
}

int vantix_padsim_tap(int index, int x, int y) {
    return with_point(index, x, y, [](padsim::pad &pad, padsim::point at) {
        pad.tap(at);
        return true;
    });
}

int vantix_padsim_tap_display(int index, int x, int y) {
    return with_point(index, x, y, [](padsim::pad &pad, padsim::point at) {
        if (at.x >= pad.config().display_width || at.y >= pad.config().display_height)
            return false;
        pad.tap(pad.to_digitizer(at));
        return true;
    });
}

int vantix_padsim_swipe_card(int index, const char *track1, const char *track2, const char *track3) {
    auto pad = pad_at(index);
    auto text = [](const char *track) { return std::string(track ? track : ""); };
    return pad && pad->swipe_card(text(track1), text(track2), text(track3)) ? 1 : 0;
}

int vantix_padsim_write_png(int index, const char *path) {
    auto pad = pad_at(index);
    return pad && path && pad->write_png(path) ? 1 : 0;
}

void vantix_padsim_reset(void) { padsim::reset(); }

}  // extern "C"
