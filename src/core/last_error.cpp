// SPDX-License-Identifier: Apache-2.0
// The process-wide last-error text and the library's single failure helper.
#include <cstdarg>
#include <cstdio>

#include "core/failure.hpp"
#include "debug/log.hpp"

namespace {

// 1024 bytes; formatting is limited to 1023 so the final byte stays zero.
char error_buffer[1024];
constexpr size_t format_capacity = sizeof(error_buffer) - 1;

void format_error(const char *fmt, va_list args) {
    std::vsnprintf(error_buffer, format_capacity, fmt ? fmt : "", args);
}

}  // namespace

extern "C" {

void vantix_report_error_internal(const char *fmt, ...) {
    va_list args;
    va_start(args, fmt);
    format_error(fmt, args);
    va_end(args);
}

char *vantix_get_last_error_internal(void) { return error_buffer; }
char *vantix_get_last_error(void) { return error_buffer; }

}  // extern "C"

namespace vantix {

void report_failure(const char *function, const char *file, int line, const char *fmt, ...) {
    va_list args;
    va_start(args, fmt);
    format_error(fmt, args);
    va_end(args);
    if (debug::wanted(VANTIX_DEBUG_LEVEL_WARNING))
        vantix_debug_report_message(function, file, line, VANTIX_DEBUG_LEVEL_WARNING, "Error reported: %s",
                                    error_buffer);
}

}  // namespace vantix
