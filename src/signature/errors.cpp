// SPDX-License-Identifier: Apache-2.0
#include "errors.hpp"

namespace vantix::signature {
namespace {

thread_local std::string error_text;

}  // namespace

vantix_error_code fail(const std::string &text, const char *function, const char *file, int line) {
    error_text = text;
    vantix_debug_report_message(function, file, line, VANTIX_DEBUG_LEVEL_WARNING, "Error reported: %s",
                                error_text.c_str());
    return VANTIX_CODE_ERROR;
}

const char *last_error() { return error_text.c_str(); }

}  // namespace vantix::signature
