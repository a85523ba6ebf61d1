// SPDX-License-Identifier: Apache-2.0
// Why the pad refuses a command: the code and text it leaves in its device
// status.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace padsim {

struct refusal {
    std::uint16_t code;
    std::string text;
};

using outcome = std::optional<refusal>;  // nothing: accepted

}  // namespace padsim
