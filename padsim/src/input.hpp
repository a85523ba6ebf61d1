// SPDX-License-Identifier: Apache-2.0
// Input reports as the pad firmware builds them, and the mapping from
// digitizer coordinates to display pixels that hit-testing uses.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "padsim/model.hpp"
#include "padsim/pad.hpp"
#include "wire.hpp"

namespace padsim::input {

// Status byte of pen reports: bit 0 pen down, bit 4 data source (set for
// the pen, as in the engineering test report's simulated samples).
inline constexpr std::uint8_t pen_down = 0x01, pen_source = 0x10;
inline std::uint8_t pen_status(bool down) { return pen_source | (down ? pen_down : 0); }

// The display covers the calibrated part of the digitizer; samples outside
// it lie on no pixel.
std::optional<point> to_display(const model &m, point digitizer);
// The digitizer coordinate at the middle of a display pixel.
point to_digitizer(const model &m, point display);

// Report 1 or 2 (`id`); `region` is sent only in report 2.
wire::bytes coordinate(std::uint8_t id, std::uint8_t status, point at, std::uint8_t region);
wire::bytes adc_scan(std::uint8_t status, const std::array<std::uint16_t, 4> &extremes);
wire::bytes adc_channel(std::uint8_t channel, const std::array<std::uint16_t, 4> &samples);
wire::bytes debug_coordinate(const model &m, std::uint8_t status, point at, std::optional<point> mapped,
                             std::uint8_t region);
wire::bytes card(std::uint8_t format, const std::array<std::uint8_t, 3> &statuses, const std::string &track1,
                 const std::string &track2, const std::string &track3);

// A simulated sample written with the engineering test report (sub-command
// 0x64): byte 2 the coordinate type, byte 6 the status byte (bit 0 pen down,
// bit 4 data source, sent on as it is), x and y at 7 and 9. We read the
// coordinate type as the input report the sample becomes, 1 or 2; any other
// value gives the pad's own pen report. Other sub-commands yield nothing.
struct simulated_sample {
    std::uint8_t coordinate_type;
    std::uint8_t status;
    point at;
};
std::optional<simulated_sample> engineering_sample(const wire::bytes &report);

}  // namespace padsim::input
