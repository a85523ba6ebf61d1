// SPDX-License-Identifier: Apache-2.0
// Failure reporting of the signature library: a per-thread text, so the
// read thread and an exporting thread never overwrite each other's.
#pragma once

#include <string>

#include "vantix-signature.h"

namespace vantix::signature {

// Sets this thread's error text, logs it at WARNING and returns
// VANTIX_CODE_ERROR, so a failing path is one statement. The builtins name
// the caller (std::source_location needs clang 15 with libstdc++).
vantix_error_code fail(const std::string &text, const char *function = __builtin_FUNCTION(),
                       const char *file = __builtin_FILE(), int line = __builtin_LINE());

const char *last_error();

}  // namespace vantix::signature
