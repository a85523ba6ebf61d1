// SPDX-License-Identifier: Apache-2.0
// Text helpers the text exporters share: locale-independent numbers and
// escaping for XML and JSON.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantix::signature {

// Each helper appends to a std::string or to a secret_string (pen data of
// a signature record); text.cpp instantiates both.

// `value` with at most `decimals` decimals, trailing zeros dropped.
template <class String>
void append_number(String &out, double value, int decimals = 2);
// `value` with exactly `decimals` decimals, so equal values read alike.
template <class String>
void append_fixed(String &out, double value, int decimals);
// Integers are written from their own digits, never through a double,
// which would round those above 2^53.
template <class String>
void append_integer(String &out, std::uint64_t value);
// `value` / 1000 exactly (microseconds as milliseconds), trailing zeros dropped.
template <class String>
void append_thousandths(String &out, std::uint64_t value);
template <class String>
void append_xml_escaped(String &out, std::string_view text);
template <class String>
void append_json_string(String &out, std::string_view text);
// Lower-case hexadecimal digits of `bytes`.
std::string hex(std::string_view bytes);

}  // namespace vantix::signature
