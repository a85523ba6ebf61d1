// SPDX-License-Identifier: Apache-2.0
// Device status of the pad firmware.
#include "device_status.hpp"

#include <algorithm>

#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::uint8_t initialising_bit = 0x01, idle_bit = 0x10;
constexpr std::uint8_t calibration_required_bit = 0x01, calibrating_bit = 0x02;
constexpr std::size_t error_code_at = 7, error_info_at = 9;

}  // namespace

device_status::device_status(const model &m)
    : initialising_polls_(m.initialising_polls),
      calibration_required_(m.calibration_required),
      busy_after_command_(m.busy_polls_after_command) {}

wire::bytes device_status::peek(bool idle) const {
    wire::bytes report = wire::blank(VANTIX_FEATURE_DEVICE_STATUS, VANTIX_FEATURE_DEVICE_STATUS_SIZE);
    if (initialising())
        report[1] |= initialising_bit;
    else if (idle)
        report[1] |= idle_bit;
    if (calibration_required_)
        report[2] |= calibration_required_bit;
    if (calibrating_)
        report[2] |= calibrating_bit;
    report[3] = lock_bits();
    wire::put16(report, error_code_at, last_error_);
    std::copy(error_info_.begin(), error_info_.end(), report.begin() + error_info_at);
    return report;
}

wire::bytes device_status::poll(bool idle) {
    wire::bytes report = peek(idle);
    ++polls_;
    if (initialising_polls_ > 0)
        --initialising_polls_;
    for (unsigned &held : held_polls_)
        if (held > 0)
            --held;
    return report;
}

void device_status::hold(std::uint8_t bits, unsigned polls) {
    for (unsigned bit = 0; bit < lock_count; ++bit)
        if (bits & (1u << bit))
            held_polls_[bit] = std::max(held_polls_[bit], polls);
}

void device_status::command_done(std::uint8_t groups) {
    for (unsigned bit = 0; bit < lock_count; ++bit)
        if (groups & (1u << bit))
            hold(static_cast<std::uint8_t>(1u << bit), busy_after_command_[bit]);
}

void device_status::set_busy_after_command(std::uint8_t bits, unsigned polls) {
    for (unsigned bit = 0; bit < lock_count; ++bit)
        if (bits & (1u << bit))
            busy_after_command_[bit] = polls;
}

std::uint8_t device_status::lock_bits() const {
    std::uint8_t bits = persistent_locks_;
    for (unsigned bit = 0; bit < lock_count; ++bit)
        if (held_polls_[bit] > 0)
            bits |= static_cast<std::uint8_t>(1u << bit);
    return bits;
}

void device_status::set_calibration(bool required, bool calibrating) {
    calibration_required_ = required;
    calibrating_ = calibrating;
}

void device_status::set_error(std::uint16_t code, const std::string &text) {
    last_error_ = code;
    error_info_.fill(0);
    std::copy_n(text.begin(), std::min(text.size(), error_info_.size()), error_info_.begin());
}

std::string device_status::error_text() const {
    const auto end = std::find(error_info_.begin(), error_info_.end(), 0);
    return std::string(error_info_.begin(), end);
}

}  // namespace padsim
