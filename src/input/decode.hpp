// SPDX-License-Identifier: Apache-2.0
// Decoding one raw input report into a caller's record.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::input {

// Fills `out` from the report (button events synthesised with `device`, as
// vantix_parse_input_report describes); false, with the last-error text
// set, for a report that is empty, unknown or too short. Allocates nothing,
// so the read path decodes every report into a record on its stack.
bool decode_input_report(vantix_device *device, const unsigned char *buffer, unsigned int length,
                         vantix_input_report &out);

}  // namespace vantix::input
