// SPDX-License-Identifier: Apache-2.0
// Pieces the legacy and the store wire forms of a region record share: the
// box and colours (the same 16 bytes at a different offset), flag bytes,
// captions and the reserved bytes carried through.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <utility>

#include "padsim/region.hpp"
#include "wire.hpp"

namespace padsim::region_fields {

using wire::get16;
using wire::put16;

// A byte of flag bits from (set, bit) pairs.
inline std::uint8_t pack(std::initializer_list<std::pair<bool, std::uint8_t>> fields) {
    std::uint8_t byte = 0;
    for (auto [set, bit] : fields)
        if (set)
            byte |= bit;
    return byte;
}

// x1, x2, y1, y2, foreground, background: 16 bytes from `at`.
inline void put_box(std::uint8_t *at, const region &r) {
    put16(at, r.x1);
    put16(at + 2, r.x2);
    put16(at + 4, r.y1);
    put16(at + 6, r.y2);
    std::copy(r.foreground.begin(), r.foreground.end(), at + 8);
    std::copy(r.background.begin(), r.background.end(), at + 12);
}

inline void get_box(const std::uint8_t *at, region &r) {
    r.x1 = get16(at);
    r.x2 = get16(at + 2);
    r.y1 = get16(at + 4);
    r.y2 = get16(at + 6);
    std::copy_n(at + 8, 4, r.foreground.begin());
    std::copy_n(at + 12, 4, r.background.begin());
}

// At most `length` caption bytes; the text ends at the first zero.
inline void put_caption(std::uint8_t *at, const std::string &caption, unsigned length) {
    std::copy_n(caption.begin(), std::min<std::size_t>(caption.size(), length), at);
}

inline std::string get_caption(const std::uint8_t *at, unsigned length) {
    return std::string(at, std::find(at, at + length, 0));
}

// Offsets of a type's reserved bytes in one wire form, in the order of
// region::type_reserved; 0 ends the list (no reserved byte sits at 0).
using reserved_offsets = std::array<std::uint8_t, 3>;

inline void put_reserved(std::uint8_t *record, const reserved_offsets &offsets,
                         std::span<const std::uint8_t> values) {
    for (std::size_t i = 0; i < offsets.size() && offsets[i] != 0; ++i)
        record[offsets[i]] = values[i];
}

inline void get_reserved(const std::uint8_t *record, const reserved_offsets &offsets,
                         std::span<std::uint8_t> values) {
    for (std::size_t i = 0; i < offsets.size() && offsets[i] != 0; ++i)
        values[i] = record[offsets[i]];
}

}  // namespace padsim::region_fields
