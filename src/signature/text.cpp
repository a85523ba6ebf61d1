// SPDX-License-Identifier: Apache-2.0
#include "text.hpp"

#include <array>
#include <charconv>
#include <cstdio>

namespace vantix::signature {

void append_number(std::string &out, double value, int decimals) {
    std::array<char, 64> digits;
    auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, decimals);
    if (error != std::errc())
        return out.push_back('0');
    std::string_view text(digits.data(), static_cast<std::size_t>(end - digits.data()));
    if (text.find('.') != std::string_view::npos) {
        text.remove_suffix(text.size() - 1 - text.find_last_not_of('0'));
        if (text.back() == '.')
            text.remove_suffix(1);
    }
    // "-0" reads oddly and some readers reject it in integer channels.
    out += text == "-0" ? std::string_view("0") : text;
}

void append_integer(std::string &out, std::uint64_t value) {
    std::array<char, 24> digits;
    out.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr);
}

void append_thousandths(std::string &out, std::uint64_t value) {
    append_integer(out, value / 1000);
    if (unsigned fraction = value % 1000) {
        out.push_back('.');
        for (unsigned digit = 100; fraction; fraction %= digit, digit /= 10)
            out.push_back(static_cast<char>('0' + fraction / digit));
    }
}

void append_xml_escaped(std::string &out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            // XML 1.0 allows no control characters besides tab and line breaks.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out.push_back(c);
        }
    }
}

void append_json_string(std::string &out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            std::array<char, 8> escaped;
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned>(c));
            out += escaped.data();
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

}  // namespace vantix::signature
