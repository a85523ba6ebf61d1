// SPDX-License-Identifier: Apache-2.0
// Refusals of the region, screen and resource store: the code and text the
// pad leaves in its device status.
#pragma once

#include <cstdint>

#include "refusal.hpp"

namespace padsim {

// A refusal whose text is `fmt` filled with up to two numbers.
refusal refuse(std::uint16_t code, const char *fmt, unsigned a, unsigned b = 0);

// Numbers of regions, screens and resources run from 1 to their count;
// `what` names the kind ("Region", ...) in the text.
outcome check_number(const char *what, std::uint16_t code, unsigned number, unsigned count);

}  // namespace padsim
