// SPDX-License-Identifier: Apache-2.0
#include "feed.hpp"

#include <chrono>
#include <cmath>

#include "errors.hpp"

namespace vantix::signature {
namespace {

std::uint64_t now_us() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

bool button_event(std::uint8_t type) {
    switch (type) {
    case VANTIX_INPUT_BUTTONDOWN:
    case VANTIX_INPUT_BUTTONMOVE:
    case VANTIX_INPUT_BUTTONUP:
    case VANTIX_INPUT_BUTTONPRESS: return true;
    default: return false;
    }
}

vantix_error_code add_sample(capture &target, std::uint16_t x, std::uint16_t y, bool down) {
    return add_point(target, x, y, VANTIX_SIGNATURE_DEFAULT_PRESSURE, down, now_us());
}

}  // namespace

vantix_error_code add_point(capture &target, std::uint16_t x, std::uint16_t y, float pressure, bool down,
                            std::uint64_t time_us) {
    // NaN passes every comparison, so clamping would let it through.
    if (!std::isfinite(pressure))
        return fail("The pressure of a signature point must be a finite number.");
    if (!target.add(x, y, pressure, down, time_us))
        return fail("Signature capture is full (at most 100000 points).");
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code feed(vantix_signature_capture &capture, const vantix_input_report &report,
                       std::uint8_t type) {
    switch (type) {
    case VANTIX_INPUT_COORDINATE: {
        const auto &c = report.coordinate;
        return add_sample(capture, c.x, c.y, c.sample_info.common.down != 0);
    }
    case VANTIX_INPUT_EXTENDEDCOORDINATE: {
        const auto &c = report.extended_coordinate;
        return add_sample(capture, c.x, c.y, c.sample_info.common.down != 0);
    }
    default: break;
    }
    // A button event takes the place of the pen's sample: the pen is on a
    // button, not writing, so the stroke ends there as the pad's own ink
    // does. Without this, the next stroke would join on to it.
    if (button_event(type))
        capture.end_stroke();
    if (button_event(type) || type == VANTIX_INPUT_MAGCARDDATA) {
        // Called without the capture's lock so the callback may use the capture.
        const capture::event_sink sink = capture.sink();
        if (sink.callback)
            sink.callback(&capture, &report, type, sink.user_data);
    }
    return VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::signature
