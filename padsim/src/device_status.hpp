// SPDX-License-Identifier: Apache-2.0
// Device status (report 13): start-up, calibration, the six lock bits and
// the pad's own error state.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "padsim/model.hpp"
#include "wire.hpp"

namespace padsim {

class device_status {
public:
    explicit device_status(const model &m);

    // The report as the next poll returns it; advances the start-up and
    // lock countdowns, as each poll of real firmware sees time pass.
    wire::bytes poll(bool idle);
    // The same bytes without advancing anything.
    wire::bytes peek(bool idle) const;
    unsigned polls() const { return polls_; }
    bool initialising() const { return stuck_initialising_ || initialising_polls_ > 0; }

    void hold(std::uint8_t bits, unsigned polls);
    void command_done(std::uint8_t groups);
    void set_busy_after_command(std::uint8_t bits, unsigned polls);
    void set_persistent_locks(std::uint8_t bits) { persistent_locks_ = bits; }
    std::uint8_t lock_bits() const;

    void stay_initialising(bool stuck) { stuck_initialising_ = stuck; }
    void set_calibration(bool required, bool calibrating);
    bool calibration_required() const { return calibration_required_; }

    void set_error(std::uint16_t code, const std::string &text);
    void clear_error() { set_error(0, ""); }
    std::uint16_t last_error() const { return last_error_; }
    std::string error_text() const;

private:
    static constexpr unsigned lock_count = 6;
    unsigned initialising_polls_;
    bool stuck_initialising_ = false;
    bool calibration_required_;
    bool calibrating_ = false;
    std::uint8_t persistent_locks_ = 0;
    std::array<unsigned, lock_count> held_polls_{};
    std::array<unsigned, lock_count> busy_after_command_;
    unsigned polls_ = 0;
    std::uint16_t last_error_ = 0;
    std::array<std::uint8_t, 64> error_info_{};
};

}  // namespace padsim
