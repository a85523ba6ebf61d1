// SPDX-License-Identifier: Apache-2.0
// Register file, error-correction table and firmware download log of the
// pad firmware.
#include "tuning.hpp"

#include <algorithm>

#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::size_t register_window = 8;
constexpr std::uint8_t hardware_reset_bit = 0x01;

// Each pad leaves the factory with its own table, reproducible from its
// serial number: FNV-1a of the serial seeds a xorshift generator.
void factory_table(const std::string &serial, std::array<std::uint8_t, 2048> &table) {
    std::uint32_t state = 2166136261u;
    for (unsigned char c : serial)
        state = (state ^ c) * 16777619u;
    if (state == 0)
        state = 1;
    for (std::uint8_t &byte : table) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
}

}  // namespace

tuning_state::tuning_state(const model &m) : asic_signature_(m.asic_signature) {
    power_on_registers();
    factory_table(m.serial_number, table_);
}

// The chip identifies itself in registers 0 and 1; the rest start at 0.
void tuning_state::power_on_registers() {
    registers_.fill(0);
    wire::put16(registers_.data(), asic_signature_);
    window_ = 0;
}

std::optional<wire::bytes> tuning_state::read(std::uint8_t id) const {
    if (id == VANTIX_FEATURE_REGISTERGET) {
        wire::bytes r = wire::blank(id, VANTIX_FEATURE_REGISTERGET_SIZE);
        for (std::size_t i = 0; i < register_window; ++i)
            r[1 + i] = registers_[(window_ + i) % registers_.size()];
        return r;
    }
    if (id == VANTIX_FEATURE_ERRORCORRECTION) {
        wire::bytes r = wire::blank(id, VANTIX_FEATURE_ERRORCORRECTION_SIZE);
        std::copy(table_.begin(), table_.end(), r.begin() + 1);
        return r;
    }
    return std::nullopt;
}

void tuning_state::accept(const wire::bytes &report) {
    switch (report.at(0)) {
    case VANTIX_FEATURE_ASICRESET:
        if (report.at(1) & hardware_reset_bit)
            power_on_registers();
        window_ = 0;
        break;
    case VANTIX_FEATURE_REGISTERSET:
        window_ = report.at(1);
        registers_[window_] = report.at(2);
        break;
    case VANTIX_FEATURE_ERRORCORRECTION:
        std::copy_n(report.begin() + 1, table_.size(), table_.begin());
        break;
    case VANTIX_FEATURE_FIRMWAREDOWNLOAD: blocks_.push_back({wire::get32(report, 1), report[133]}); break;
    case VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS: download_status_ = wire::get16(report, 1); break;
    default: break;
    }
}

}  // namespace padsim
