// SPDX-License-Identifier: Apache-2.0
// What a whole session through the public API finds on a pad: its
// identity, regions and store, what drawing leaves on its display, and the
// signature its input makes. Written as JSON, so a recording's results can
// be kept beside it and compared; every failure is a result too (its text),
// so a lying pad has results like any other.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "vantix-zelnar.h"

namespace vantix::testing {

// Runs the session on `device`, the listed record of virtual pad `index`
// (opened and closed here), reading its input until the pad has none left.
nlohmann::ordered_json session_report(vantix_device *device, std::size_t index);

}  // namespace vantix::testing
