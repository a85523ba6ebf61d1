// SPDX-License-Identifier: Apache-2.0
// The answer to capture.finish: the captured signature's counts and bounds
// and the formats the request asks for ("formats", "space", "width",
// "height", "line_width", "pressure_width"), PNG in base64.
#pragma once

#include "bridge.hpp"
#include "vantix-signature.h"

namespace bridge {

json export_signature(const vantix_signature_capture *capture, const json &message);

}  // namespace bridge
