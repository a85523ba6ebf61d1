// SPDX-License-Identifier: Apache-2.0
// Refusals of the region, screen and resource store.
#include "store_checks.hpp"

#include <cstdio>

namespace padsim {

refusal refuse(std::uint16_t code, const char *fmt, unsigned a, unsigned b) {
    char text[64];
    std::snprintf(text, sizeof text, fmt, a, b);
    return {code, text};
}

outcome check_number(const char *what, std::uint16_t code, unsigned number, unsigned count) {
    if (number >= 1 && number <= count)
        return std::nullopt;
    char text[64];
    std::snprintf(text, sizeof text, "%s %u out of range 1..%u.\n", what, number, count);
    return refusal{code, text};
}

}  // namespace padsim
