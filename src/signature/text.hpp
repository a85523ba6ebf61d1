// SPDX-License-Identifier: Apache-2.0
// Text helpers the text exporters share: locale-independent numbers and
// escaping for XML and JSON.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantix::signature {

// `value` with at most `decimals` decimals, trailing zeros dropped.
void append_number(std::string &out, double value, int decimals = 2);
// Integers are written from their own digits, never through a double,
// which would round those above 2^53.
void append_integer(std::string &out, std::uint64_t value);
// `value` / 1000 exactly (microseconds as milliseconds), trailing zeros dropped.
void append_thousandths(std::string &out, std::uint64_t value);
void append_xml_escaped(std::string &out, std::string_view text);
void append_json_string(std::string &out, std::string_view text);

}  // namespace vantix::signature
