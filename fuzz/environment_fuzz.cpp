// SPDX-License-Identifier: Apache-2.0
// Environment values the log reads at start-up: the input is split at NUL
// bytes into the values of the variables below, in order.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>

#include "vantix-zelnar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const char *const variables[] = {
        "VANTIX_DEBUG",      "VANTIX_DEBUG_LEVEL",    "VANTIX_DEBUG_FILE",    "VANTIX_TRACE",
        "VANTIX_TRACE_FILE", "VANTIX_DEBUG_HANDLERS", "VANTIX_DEBUG_LOCATION"};
    // Our own "NAME=value" buffers through putenv: setenv would keep every
    // value it was ever given.
    static std::string entries[std::size(variables)];
    const std::string input(reinterpret_cast<const char *>(data), size);
    size_t start = 0;
    for (size_t i = 0; i < std::size(variables); ++i) {
        if (start > input.size()) {
            unsetenv(variables[i]);
            continue;
        }
        const size_t end = std::min(input.find('\0', start), input.size());
        entries[i] = std::string(variables[i]) + "=" + input.substr(start, end - start);
        putenv(entries[i].data());
        start = end + 1;
    }
    vantix_debug_setup();
    return 0;
}
