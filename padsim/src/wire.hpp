// SPDX-License-Identifier: Apache-2.0
// Little-endian fields of pad reports, as the pad writes and reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace padsim::wire {

using bytes = std::vector<std::uint8_t>;

// A zero report of `length` bytes carrying its ID in byte 0.
inline bytes blank(std::uint8_t id, std::size_t length) {
    bytes report(length, 0);
    if (length > 0)
        report[0] = id;
    return report;
}

inline void put16(bytes &report, std::size_t at, std::uint16_t value) {
    report.at(at) = static_cast<std::uint8_t>(value & 0xFF);
    report.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}

inline std::uint16_t get16(const bytes &report, std::size_t at) {
    return static_cast<std::uint16_t>(report.at(at) | (report.at(at + 1) << 8));
}

}  // namespace padsim::wire
