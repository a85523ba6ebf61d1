// SPDX-License-Identifier: Apache-2.0
#include "errors.hpp"

namespace vantix::document {
namespace {
thread_local std::string error_text;
}

vantix_error_code fail(const std::string &text) {
    error_text = text;
    return VANTIX_CODE_ERROR;
}

const char *last_error() { return error_text.c_str(); }

}  // namespace vantix::document
