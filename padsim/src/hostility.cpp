// SPDX-License-Identifier: Apache-2.0
#include "hostility.hpp"

#include <algorithm>

namespace padsim {

void hostility::noise(std::vector<std::uint8_t> &bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(random_());
}

// A few bytes (a lone byte or a 16-bit pair) claim the most they can.
void hostility::saturate_some(std::vector<std::uint8_t> &bytes) {
    for (int n = 1 + static_cast<int>(below(3)); n > 0 && bytes.size() > 1; --n) {
        const std::size_t at = 1 + below(bytes.size() - 1);
        bytes[at] = 0xFF;
        if (at + 1 < bytes.size() && chance(1, 2))
            bytes[at + 1] = 0xFF;
    }
}

void hostility::garble_reply(std::vector<std::uint8_t> &reply) {
    if (reply.size() < 2)
        return;
    switch (below(4)) {
    case 0:  // honest, this once
        break;
    case 1:  // cut short: the rest reads as zeros
        std::fill(reply.begin() + 1 + static_cast<std::ptrdiff_t>(below(reply.size() - 1)), reply.end(), 0);
        break;
    case 2:  // noise after the report ID
        noise(reply, 1);
        break;
    default:  // lying counts
        saturate_some(reply);
        break;
    }
}

void hostility::garble_input(std::vector<std::uint8_t> &report) {
    if (chance(1, 2))
        return;
    const std::uint8_t id = report.empty() ? 0 : report[0];
    report.resize(1 + below(64));
    report[0] = id;
    noise(report, 1 + below(report.size()));
    if (chance(1, 2))
        saturate_some(report);
}

}  // namespace padsim
