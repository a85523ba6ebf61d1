// SPDX-License-Identifier: Apache-2.0
// Screens and resources as the pad keeps them in its store, beside the
// regions of padsim/region.hpp.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace padsim {

// The most regions one screen report carries.
inline constexpr unsigned screen_report_regions = 30;

// A region a screen shows, and the screen a touch on it switches to (0: stay).
struct screen_entry {
    std::uint8_t region = 0;
    std::uint8_t next_screen = 0;
    bool operator==(const screen_entry &) const = default;
};

struct store_screen {
    std::uint8_t number = 0;
    bool reset_timeout_on_activity = false;
    std::array<std::uint8_t, 14> reserved{};  // carried through unchanged
    std::uint8_t timeout = 0;
    std::uint8_t timeout_screen_next = 0;  // 0: no timeout switch
    std::vector<screen_entry> regions;     // in the order the host gave them
    bool operator==(const store_screen &) const = default;
};

// One numbered resource slot. An empty slot has the invalid type and no
// data; a stored resource is `data.size()` bytes long.
struct resource {
    static constexpr std::uint8_t empty_type = 255;  // the invalid resource type
    std::uint8_t number = 0;
    std::uint8_t type = empty_type;  // 0 text, 1 graphic
    std::uint32_t crc = 0;           // the host's, kept as given
    std::vector<std::uint8_t> data;
    bool empty() const { return type == empty_type; }
    bool operator==(const resource &) const = default;
};

}  // namespace padsim
