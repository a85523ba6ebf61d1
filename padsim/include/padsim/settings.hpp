// SPDX-License-Identifier: Apache-2.0
// What a virtual pad tells tests about its configuration, calibration and
// tuning beyond the bytes of its reports.
#pragma once

#include <cstdint>
#include <vector>

namespace padsim {

// An output or peripheral configuration report (91, 92): the settings in
// use and those the pad powers up with, as report bytes with the flag byte 0.
struct saved_configuration {
    std::vector<std::uint8_t> current, power_up;
    bool operator==(const saved_configuration &) const = default;
};

// A calibration run: whether one runs and the point it waits at (0 centre,
// 2 upper left, 4 lower left, 6 lower right, 8 upper right).
struct calibration_progress {
    bool running = false;
    std::uint8_t point = 0;
    bool operator==(const calibration_progress &) const = default;
};

// A stylus tuning: whether one runs, whether the last one was aborted, the
// step it waits for (0 stylus down at location 1, 1 up there, 2 down at
// location 2, 3 up there) and the gain in use (0 while being measured).
struct tuning_progress {
    bool running = false, aborted = false;
    std::uint8_t step = 0, gain = 0;
    bool operator==(const tuning_progress &) const = default;
};

}  // namespace padsim
