// SPDX-License-Identifier: Apache-2.0
#include "text.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tool {

std::string lower_extension(const std::string &path) {
    const auto dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

std::string hex_of(const unsigned char *bytes, std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i < size; ++i)
        out += hex(bytes[i], 2);
    return out;
}

}  // namespace tool
