// SPDX-License-Identifier: Apache-2.0
// Turning the library's decoded input records into capture points and
// passed-through events.
#pragma once

#include "capture.hpp"

namespace vantix::signature {

vantix_error_code add_point(capture &target, std::uint16_t x, std::uint16_t y, float pressure, bool down,
                            std::uint64_t time_us);
vantix_error_code feed(vantix_signature_capture &capture, const vantix_input_report &report,
                       std::uint8_t type);

}  // namespace vantix::signature
