// SPDX-License-Identifier: Apache-2.0
// Byte order of the virtual pad, written once: report fields and USB
// descriptors are little-endian; only the display chunk header and the USB
// IDs of a recording are big-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
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

// The low `width` bytes of `value` from `at`, low byte first.
inline void put_le(std::uint8_t *at, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint32_t get_le(const std::uint8_t *at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return value;
}

inline void append_le(bytes &out, std::uint32_t value, std::size_t width) {
    out.resize(out.size() + width);
    put_le(out.data() + out.size() - width, value, width);
}

// Fields of a record its caller has already bounded.
inline void put16(std::uint8_t *at, std::uint16_t value) { put_le(at, value, 2); }

inline std::uint16_t get16(const std::uint8_t *at) { return static_cast<std::uint16_t>(get_le(at, 2)); }

// Fields of a whole report: one that does not fit throws std::out_of_range.
inline std::size_t fits(const bytes &report, std::size_t at, std::size_t width) {
    if (at > report.size() || width > report.size() - at)
        throw std::out_of_range("report field past the end");
    return at;
}

inline void put16(bytes &report, std::size_t at, std::uint16_t value) {
    put_le(report.data() + fits(report, at, 2), value, 2);
}

inline std::uint16_t get16(const bytes &report, std::size_t at) {
    return static_cast<std::uint16_t>(get_le(report.data() + fits(report, at, 2), 2));
}

inline void put32(bytes &report, std::size_t at, std::uint32_t value) {
    put_le(report.data() + fits(report, at, 4), value, 4);
}

inline std::uint32_t get32(const bytes &report, std::size_t at) {
    return get_le(report.data() + fits(report, at, 4), 4);
}

inline std::uint16_t get_be16(const bytes &report, std::size_t at) {
    const std::uint8_t *field = report.data() + fits(report, at, 2);
    return static_cast<std::uint16_t>(field[0] << 8 | field[1]);
}

}  // namespace padsim::wire
