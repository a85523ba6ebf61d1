// SPDX-License-Identifier: Apache-2.0
// The pad's HID report descriptor: built from the reports it declares, and
// walked back into those reports (what a host learns from it).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace padsim {

enum class report_kind { input, feature };

struct declared_report {
    std::uint8_t id;
    report_kind kind;
    unsigned length;  // bytes on the wire, the ID byte included

    bool operator==(const declared_report &) const = default;
};

std::vector<std::uint8_t> build_descriptor(const std::vector<declared_report> &reports);

// The reports a descriptor declares, or nothing when it is malformed
// (truncated item, long item, unbalanced collection, main item before
// Report Size and Report Count, a report that is not whole bytes).
std::optional<std::vector<declared_report>> parse_descriptor(const std::vector<std::uint8_t> &descriptor);

// Entry n is 1 when the descriptor declares report ID n (0 to 254).
std::array<unsigned char, 255> report_id_map(const std::vector<std::uint8_t> &descriptor);

}  // namespace padsim
