// SPDX-License-Identifier: Apache-2.0
// Input reports of the pad firmware.
#include "input.hpp"

#include <algorithm>

#include "vantix-zelnar.h"

namespace padsim::input {
namespace {

constexpr std::uint8_t simulate_pen = 0x64;

// Position of `value` in [low, high] scaled to `cells` cells, if inside.
std::optional<std::uint16_t> scale(unsigned value, unsigned low, unsigned high, unsigned cells) {
    if (value < low || value > high || high < low || cells == 0)
        return std::nullopt;
    const unsigned long span = high - low + 1ul;
    return static_cast<std::uint16_t>((value - low) * static_cast<unsigned long>(cells) / span);
}

std::uint16_t unscale(unsigned cell, unsigned low, unsigned high, unsigned cells) {
    if (cells == 0 || high < low)
        return static_cast<std::uint16_t>(low);
    const unsigned long span = high - low + 1ul;
    cell = std::min(cell, cells - 1);
    return static_cast<std::uint16_t>(low + (2ul * cell + 1) * span / (2ul * cells));
}

void put_track(wire::bytes &report, std::size_t at, std::size_t width, const std::string &track) {
    std::copy_n(track.begin(), std::min(track.size(), width),
                report.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::optional<point> to_display(const model &m, point digitizer) {
    auto x = scale(digitizer.x, m.calibration_x_min, m.calibration_x_max, m.display_width);
    auto y = scale(digitizer.y, m.calibration_y_min, m.calibration_y_max, m.display_height);
    if (!x || !y)
        return std::nullopt;
    return point{*x, *y};
}

point to_digitizer(const model &m, point display) {
    return {unscale(display.x, m.calibration_x_min, m.calibration_x_max, m.display_width),
            unscale(display.y, m.calibration_y_min, m.calibration_y_max, m.display_height)};
}

wire::bytes coordinate(std::uint8_t id, std::uint8_t status, point at, std::uint8_t region) {
    const bool extended = id == VANTIX_INPUT_EXTENDEDCOORDINATE;
    wire::bytes r =
        wire::blank(id, extended ? VANTIX_INPUT_EXTENDEDCOORDINATE_SIZE : VANTIX_INPUT_COORDINATE_SIZE);
    r[1] = status;
    wire::put16(r, 2, at.x);
    wire::put16(r, 4, at.y);
    if (extended)
        r[6] = region;
    return r;
}

namespace {

wire::bytes adc(std::uint8_t type, std::uint8_t byte2, const std::array<std::uint16_t, 4> &values) {
    wire::bytes r = wire::blank(VANTIX_INPUT_ADCVALUES, VANTIX_INPUT_ADCVALUES_SIZE);
    r[1] = type;
    r[2] = byte2;
    for (std::size_t i = 0; i < values.size(); ++i)
        wire::put16(r, 3 + 2 * i, values[i]);
    return r;
}

}  // namespace

wire::bytes adc_scan(std::uint8_t status, const std::array<std::uint16_t, 4> &extremes) {
    return adc(VANTIX_ADC_DATA_TYPE_SCAN, status, extremes);
}

wire::bytes adc_channel(std::uint8_t channel, const std::array<std::uint16_t, 4> &samples) {
    return adc(VANTIX_ADC_DATA_TYPE_CHANNEL, channel, samples);
}

wire::bytes debug_coordinate(const model &m, std::uint8_t status, point at, std::optional<point> mapped,
                             std::uint8_t region) {
    wire::bytes r = wire::blank(VANTIX_INPUT_DEBUGCOORDINATE, VANTIX_INPUT_DEBUGCOORDINATE_SIZE);
    r[2] = status;
    // No offset drift and no correction: the scan extremes are the
    // digitizer's range and the corrected sample is the raw one.
    const std::uint16_t fields[] = {0,
                                    m.x_max,
                                    m.x_min,
                                    m.y_max,
                                    m.y_min,
                                    at.x,
                                    at.y,
                                    mapped ? mapped->x : std::uint16_t{0},
                                    mapped ? mapped->y : std::uint16_t{0}};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        wire::put16(r, 3 + 2 * i, fields[i]);
    r[21] = region;
    return r;
}

wire::bytes card(std::uint8_t format, const std::array<std::uint8_t, 3> &statuses, const std::string &track1,
                 const std::string &track2, const std::string &track3) {
    wire::bytes r = wire::blank(VANTIX_INPUT_MAGCARDDATA, VANTIX_INPUT_MAGCARDDATA_SIZE);
    r[1] = format;
    std::copy(statuses.begin(), statuses.end(), r.begin() + 2);
    put_track(r, 5, 79, track1);
    put_track(r, 84, 40, track2);
    put_track(r, 124, 107, track3);
    return r;
}

std::optional<simulated_sample> engineering_sample(const wire::bytes &report) {
    if (report.size() < 11 || report[1] != simulate_pen)
        return std::nullopt;
    return simulated_sample{report[2], report[6], {wire::get16(report, 7), wire::get16(report, 9)}};
}

}  // namespace padsim::input
