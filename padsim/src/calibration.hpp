// SPDX-License-Identifier: Apache-2.0
// Calibration of the pad firmware: the stored calibration data (131) and a
// calibration run (130) walking the user through five points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "device_status.hpp"
#include "padsim/model.hpp"
#include "padsim/settings.hpp"
#include "refusal.hpp"
#include "wire.hpp"

namespace padsim {

class calibration {
public:
    explicit calibration(const model &m);

    // Report 131 as stored, and report 130: byte 1 bit 0 set while a run
    // goes on, bits 3-7 the point it waits at.
    const wire::bytes &data() const { return data_; }
    wire::bytes state() const;
    calibration_progress progress() const;

    // The host's calibration data, kept as sent.
    void set_data(const wire::bytes &report);
    // Report 130: 0 starts a run at the centre (again, if one runs), 0xFD
    // cancels it and keeps the data as it was; other values are refused.
    outcome command(std::uint8_t value, device_status &status);
    // A pen sample. While a run goes on, lifting the pen takes the point it
    // waits at, wherever the pen was: the pad moves to the next point, and
    // after the last one marks its data calibrated and stops asking for a
    // calibration. True when a point was taken.
    bool pen(bool down, device_status &status);

private:
    void stop(device_status &status);

    wire::bytes data_;
    std::optional<std::size_t> step_;  // index of the point a run waits at
    bool pen_down_ = false;
};

}  // namespace padsim
