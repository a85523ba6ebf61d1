// SPDX-License-Identifier: Apache-2.0
// Calibration data and calibration runs of the pad firmware.
#include "calibration.hpp"

#include <algorithm>
#include <array>

#include "padsim/transfer.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::uint8_t start = 0x00, cancel = 0xFD;
// Centre, upper left, lower left, lower right, upper right.
constexpr std::array<std::uint8_t, 5> points{0, 2, 4, 6, 8};
constexpr std::uint8_t running_bit = 0x01, point_shift = 3;
constexpr std::uint8_t calibrated_bit = 0x01;
// Fixed-point one of the scale and multiplier fields.
constexpr std::uint16_t unity = 1u << 14;

// A factory calibration that maps the calibrated area of the digitizer
// onto itself without rotation.
wire::bytes factory_data(const model &m) {
    wire::bytes r = wire::blank(VANTIX_FEATURE_CALIBRATION_DATA, VANTIX_FEATURE_CALIBRATION_DATA_SIZE);
    r[1] = m.calibration_type;
    r[2] = m.calibration_required ? 0 : calibrated_bit;
    wire::put16(r, 3, unity);   // rotation scale
    wire::put16(r, 5, unity);   // local multiplier scale
    wire::put16(r, 7, unity);   // host multiplier scale
    wire::put16(r, 11, unity);  // cosine; the sine at 9 stays 0
    wire::put16(r, 13, static_cast<std::uint16_t>(m.calibration_x_max - m.calibration_x_min));
    wire::put16(r, 15, static_cast<std::uint16_t>(m.calibration_y_max - m.calibration_y_min));
    // Offsets are signed; the field carries their two's complement.
    wire::put32(r, 17, unity);
    wire::put32(r, 21, static_cast<std::uint32_t>(-std::int32_t{m.calibration_x_min}));
    wire::put32(r, 25, unity);
    wire::put32(r, 29, static_cast<std::uint32_t>(-std::int32_t{m.calibration_y_min}));
    wire::put32(r, 33, unity);
    wire::put32(r, 41, unity);  // host offsets at 37 and 45 stay 0
    return r;
}

}  // namespace

calibration::calibration(const model &m) : data_(factory_data(m)) {}

wire::bytes calibration::state() const {
    const calibration_progress now = progress();
    return {VANTIX_FEATURE_CALIBRATE,
            static_cast<std::uint8_t>((now.running ? running_bit : 0) | now.point << point_shift)};
}

calibration_progress calibration::progress() const {
    return step_ ? calibration_progress{true, points[*step_]} : calibration_progress{};
}

void calibration::set_data(const wire::bytes &report) {
    std::copy_n(report.begin(), data_.size(), data_.begin());
}

outcome calibration::command(std::uint8_t value, device_status &status) {
    if (value == start) {
        step_ = 0;
        pen_down_ = false;
        status.set_calibration(status.calibration_required(), true);
    } else if (value == cancel) {
        stop(status);
    } else {
        return refusal{pad_error::bad_value, "Unknown calibrate command.\n"};
    }
    return std::nullopt;
}

bool calibration::pen(bool down, device_status &status) {
    const bool lifted = pen_down_ && !down;
    pen_down_ = down;
    if (!step_ || !lifted)
        return false;
    if (++*step_ == points.size()) {
        data_[2] |= calibrated_bit;
        status.set_calibration(false, false);
        stop(status);
    }
    return true;
}

void calibration::stop(device_status &status) {
    step_.reset();
    pen_down_ = false;
    status.set_calibration(status.calibration_required(), false);
}

}  // namespace padsim
