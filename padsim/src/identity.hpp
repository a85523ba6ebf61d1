// SPDX-License-Identifier: Apache-2.0
// The identity and configuration reports a pad of a model answers with
// before anything was written to it.
#pragma once

#include <cstdint>
#include <map>

#include "padsim/model.hpp"
#include "wire.hpp"

namespace padsim {

std::map<std::uint8_t, wire::bytes> identity_reports(const model &m);

// The reverse for a recorded pad: takes the display geometry of a display
// information report, or the digitizer geometry of a capabilities report,
// into the model where it lies within what a model supports (a pad that
// lies about them keeps the defaults). Other reports change nothing.
void adopt_identity(model &m, const wire::bytes &report);

}  // namespace padsim
