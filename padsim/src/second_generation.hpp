// SPDX-License-Identifier: Apache-2.0
// The configuration and diagnostics commands of second-generation pad
// firmware, multiplexed over report 230: stylus tuning and its status, the
// product ID, the hardware configuration query and the hardware GUID.
#pragma once

#include <array>
#include <cstdint>

#include "padsim/model.hpp"
#include "padsim/settings.hpp"
#include "refusal.hpp"
#include "stylus_tuning.hpp"
#include "wire.hpp"

namespace padsim {

class second_generation {
public:
    explicit second_generation(const model &m);

    // A command in bytes 1 onward; unknown or malformed ones are refused
    // and change nothing.
    outcome command(const wire::bytes &report);
    // What a read answers: the last question asked (tuning status, hardware
    // configuration, GUID), answered with the values of the moment, its
    // command byte echoed in byte 1. Once a command without an answer
    // follows, reads answer zeros.
    wire::bytes answer() const;
    void pen(bool down) { tuning_.pen(down); }

    tuning_progress tuning() const { return tuning_.progress(); }
    // A new product ID takes effect at the pad's next enumeration.
    std::uint16_t product_id() const { return product_id_; }
    const std::array<std::uint8_t, 16> &guid() const { return guid_; }

private:
    enum class question { none, tuning_status, configuration, guid };

    outcome tuning_command(const wire::bytes &report);
    outcome product_command(const wire::bytes &report);
    outcome guid_command(const wire::bytes &report);

    stylus_tuning tuning_;
    std::uint16_t product_id_;
    const std::uint8_t configuration_;
    std::array<std::uint8_t, 16> guid_;
    question asked_ = question::none;
};

}  // namespace padsim
