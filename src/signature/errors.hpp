// Failure reporting of the signature library: a per-thread text, so the
// read thread and an exporting thread never overwrite each other's.
#pragma once

#include <source_location>
#include <string>

#include "vantix-signature.h"

namespace vantix::signature {

// Sets this thread's error text, logs it at WARNING and returns
// VANTIX_CODE_ERROR, so a failing path is one statement.
vantix_error_code fail(const std::string &text, std::source_location where = std::source_location::current());

const char *last_error();

}  // namespace vantix::signature
