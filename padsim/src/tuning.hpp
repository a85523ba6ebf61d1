// SPDX-License-Identifier: Apache-2.0
// Sensing-chip state the pad keeps beyond plain stored reports: the
// register file behind reports 43/44/42, the error-correction table (26),
// and the firmware download log (25, 29).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "padsim/model.hpp"
#include "padsim/pad.hpp"
#include "wire.hpp"

namespace padsim {

class tuning_state {
public:
    explicit tuning_state(const model &m);

    // What a get of 43 or 26 returns; nothing for other reports.
    std::optional<wire::bytes> read(std::uint8_t id) const;
    // Reports 42, 44, 26, 25 and 29 (of the fixed length); others are not ours.
    void accept(const wire::bytes &report);

    const std::array<std::uint8_t, 256> &registers() const { return registers_; }
    const std::array<std::uint8_t, 2048> &error_correction() const { return table_; }
    const std::vector<firmware_block> &firmware_blocks() const { return blocks_; }
    std::uint16_t download_status() const { return download_status_; }

private:
    void power_on_registers();

    std::uint16_t asic_signature_;
    std::array<std::uint8_t, 256> registers_{};
    // Register get reads the eight registers from the one register set last
    // wrote (0 after power-up and reset), so a write reads back in byte 1.
    std::uint8_t window_ = 0;
    std::array<std::uint8_t, 2048> table_{};
    std::vector<firmware_block> blocks_;
    std::uint16_t download_status_ = 0;
};

}  // namespace padsim
