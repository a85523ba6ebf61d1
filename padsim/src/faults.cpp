// SPDX-License-Identifier: Apache-2.0
// Scripted transport faults.
#include "faults.hpp"

#include "padsim/pad.hpp"

namespace padsim {
namespace {

// Uses up one of `remaining`; `always` never runs out.
bool use_one(unsigned &remaining) {
    if (remaining == 0)
        return false;
    if (remaining != always)
        --remaining;
    return true;
}

}  // namespace

void faults::fail(std::uint8_t id, unsigned count) { failures_[id] = count; }

void faults::short_reply(std::uint8_t id, unsigned bytes, unsigned count) {
    short_replies_[id] = {bytes, count};
}

void faults::clear() {
    failures_.clear();
    short_replies_.clear();
}

bool faults::take_failure(std::uint8_t id) {
    auto it = failures_.find(id);
    return it != failures_.end() && use_one(it->second);
}

std::optional<unsigned> faults::take_short_reply(std::uint8_t id) {
    auto it = short_replies_.find(id);
    if (it == short_replies_.end() || !use_one(it->second.remaining))
        return std::nullopt;
    return it->second.bytes;
}

}  // namespace padsim
