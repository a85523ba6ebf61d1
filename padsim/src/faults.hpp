// SPDX-License-Identifier: Apache-2.0
// Scripted transport faults: transfers that fail and gets that come back
// short, per report ID.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace padsim {

class faults {
public:
    void fail(std::uint8_t id, unsigned count);
    void short_reply(std::uint8_t id, unsigned bytes, unsigned count);
    void clear();

    // Whether this transfer of `id` fails; uses up one scripted failure.
    bool take_failure(std::uint8_t id);
    // How many bytes this get of `id` returns, when scripted short.
    std::optional<unsigned> take_short_reply(std::uint8_t id);

private:
    struct shortened {
        unsigned bytes;
        unsigned remaining;
    };
    std::map<std::uint8_t, unsigned> failures_;
    std::map<std::uint8_t, shortened> short_replies_;
};

}  // namespace padsim
