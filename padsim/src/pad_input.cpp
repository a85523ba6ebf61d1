// SPDX-License-Identifier: Apache-2.0
// The virtual pad's input side: pen samples, strokes, taps, analogue and
// debug reports and card swipes become input reports on the queue the
// driver's read takes from.
#include "input.hpp"
#include "pad_state.hpp"
#include "vantix-zelnar.h"

namespace padsim {

void pad::state::push_input(wire::bytes report) {
    inputs.push_back(std::move(report));
    input_ready.notify_all();
}

void pad::state::pen_sample(point digitizer, std::uint8_t status, std::uint8_t report_id) {
    const auto pixel = input::to_display(config, digitizer);
    const std::uint8_t region = pixel ? regions.hit(pixel->x, pixel->y) : 0;
    ink.sample(framebuffer, regions.current(), region, pixel, status & input::pen_down);
    pen_moved(status & input::pen_down);
    push_input(input::coordinate(report_id, status, digitizer,
                                 report_id == VANTIX_INPUT_EXTENDEDCOORDINATE ? region : 0));
}

void pad::pen_sample(point digitizer, bool down) {
    std::lock_guard lock(state_->mutex);
    state_->pen_sample(digitizer, input::pen_status(down), state_->pen_report);
}

void pad::stroke(std::span<const point> digitizer) {
    if (digitizer.empty())
        return;
    // One lock for the whole stroke, so a reader never sees it interleaved
    // with another producer's reports.
    std::lock_guard lock(state_->mutex);
    for (point at : digitizer)
        state_->pen_sample(at, input::pen_status(true), state_->pen_report);
    state_->pen_sample(digitizer.back(), input::pen_status(false), state_->pen_report);
}

void pad::tap(point digitizer) {
    const point once[] = {digitizer};
    stroke(once);
}

void pad::set_pen_report(std::uint8_t id) {
    std::lock_guard lock(state_->mutex);
    state_->pen_report = id;
}

std::optional<point> pad::to_display(point digitizer) const { return input::to_display(config(), digitizer); }

point pad::to_digitizer(point display) const { return input::to_digitizer(config(), display); }

void pad::adc_scan(bool down, const std::array<std::uint16_t, 4> &extremes) {
    std::lock_guard lock(state_->mutex);
    state_->push_input(input::adc_scan(input::pen_status(down), extremes));
}

void pad::adc_channel(std::uint8_t channel, const std::array<std::uint16_t, 4> &samples) {
    std::lock_guard lock(state_->mutex);
    state_->push_input(input::adc_channel(channel, samples));
}

void pad::debug_sample(point digitizer, bool down) {
    std::lock_guard lock(state_->mutex);
    const auto pixel = input::to_display(state_->config, digitizer);
    const std::uint8_t region = pixel ? state_->regions.hit(pixel->x, pixel->y) : 0;
    state_->push_input(
        input::debug_coordinate(state_->config, input::pen_status(down), digitizer, pixel, region));
}

bool pad::swipe_card(const std::string &track1, const std::string &track2, const std::string &track3,
                     const std::array<std::uint8_t, 3> &statuses, std::uint8_t format) {
    std::lock_guard lock(state_->mutex);
    if (state_->config.mag_reader_id == 0)
        return false;
    state_->push_input(input::card(format, statuses, track1, track2, track3));
    return true;
}

}  // namespace padsim
