// SPDX-License-Identifier: Apache-2.0
// Reading the optional fields of a request: each reader returns the field,
// or the fallback when it is absent or null, and refuses a field of the
// wrong kind or range with protocol_error bad_field.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "bridge.hpp"

namespace bridge {

[[noreturn]] void bad_field(const char *name, const char *expected);

// The field, or null when absent or null.
const json *field(const json &message, const char *name);

std::optional<std::string> opt_string(const json &message, const char *name, std::size_t max_length = 256);
double opt_number(const json &message, const char *name, double fallback, double min, double max);
bool opt_bool(const json &message, const char *name, bool fallback);
std::optional<std::vector<std::string>> opt_strings(const json &message, const char *name,
                                                    std::size_t max_count, std::size_t max_length);

// "space": "display" (the default, true) or "digitizer" (false).
bool display_space(const json &message);

}  // namespace bridge
