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

}  // namespace padsim
