// SPDX-License-Identifier: Apache-2.0
// What a kernel-facing front-end needs to know of the pad's reports: the
// wire length of each feature report its descriptor declares. A host may
// ask for more bytes than a report has; like firmware, the front-ends
// answer with the report's own length.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "padsim/descriptor.hpp"

namespace padsim::frontend {

class feature_lengths {
public:
    explicit feature_lengths(const std::vector<std::uint8_t> &descriptor) {
        if (auto reports = parse_descriptor(descriptor))
            for (const declared_report &r : *reports)
                if (r.kind == report_kind::feature)
                    lengths_[r.id] = r.length;
    }
    // 0 for an ID the descriptor does not declare as a feature report.
    unsigned of(std::uint8_t id) const { return lengths_[id]; }

private:
    std::array<unsigned, 256> lengths_{};
};

}  // namespace padsim::frontend
