// SPDX-License-Identifier: Apache-2.0
// One way to fail: set the last-error text and log it at WARNING.
#pragma once

#include "vantix-zelnar.h"

namespace vantix {

// Formats the error into the last-error buffer, then logs
// "Error reported: %s" with that text on behalf of `function`.
void report_failure(const char *function, const char *file, int line, const char *fmt, ...)
    VANTIX_PRINTF(4, 5);

}  // namespace vantix

#define VANTIX_FAIL(...) ::vantix::report_failure(__func__, __FILE__, __LINE__, __VA_ARGS__)
