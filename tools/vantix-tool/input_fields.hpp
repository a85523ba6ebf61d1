// SPDX-License-Identifier: Apache-2.0
// Input reports as named fields, written as a text line or a JSON line from
// the one decoding.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "vantix-zelnar.h"

namespace tool {

using field_value = std::variant<long long, bool, std::string>;

struct input_fields {
    std::string type;
    std::vector<std::pair<std::string, field_value>> values;
};

input_fields decode_input(const vantix_input_report &report, std::uint8_t type,
                          std::span<const unsigned char> raw);
// The value of `key`, or null.
const field_value *find_field(const input_fields &fields, std::string_view key);
std::string as_text(const input_fields &fields);
std::string as_json(const input_fields &fields);

}  // namespace tool
