// SPDX-License-Identifier: Apache-2.0
// Small fields packed into one report byte.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace vantix::protocol {

// `width` bits of `byte` from bit `shift`; a width of 0 takes everything
// above `shift` (the top field of a byte is unmasked).
constexpr uint8_t bits(uint8_t byte, int shift, int width = 1) {
    const unsigned int value = static_cast<unsigned int>(byte) >> shift;
    return static_cast<uint8_t>(width ? value & ((1u << width) - 1u) : value);
}

// Shifts each field into place and ORs them without masking, so a value
// wider than its field spills into the fields above it.
inline uint8_t pack(std::initializer_list<std::pair<unsigned int, int>> fields) {
    unsigned int byte = 0;
    for (const auto &[value, shift] : fields)
        byte |= value << shift;
    return static_cast<uint8_t>(byte);
}

}  // namespace vantix::protocol
