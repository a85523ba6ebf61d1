// SPDX-License-Identifier: Apache-2.0
// Small text helpers shared by the subcommands.
#pragma once

#include <cstddef>
#include <string>

namespace tool {

// A file name's extension after the last dot, in lower case ("" for none).
std::string lower_extension(const std::string &path);
// `value` as `digits` lower-case hex digits.
std::string hex(unsigned value, int digits);
// The bytes as lower-case hex digits, two a byte.
std::string hex_of(const unsigned char *bytes, std::size_t size);

}  // namespace tool
