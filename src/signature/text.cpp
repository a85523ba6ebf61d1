// SPDX-License-Identifier: Apache-2.0
#include "text.hpp"

#include <array>
#include <charconv>
#include <nlohmann/json.hpp>

#include "secret.hpp"

namespace vantix::signature {

template <class String>
void append_number(String &out, double value, int decimals) {
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
    out.append(text == "-0" ? std::string_view("0") : text);
}

template <class String>
void append_fixed(String &out, double value, int decimals) {
    std::array<char, 64> digits;
    auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, decimals);
    if (error != std::errc())
        return out.push_back('0');
    out.append(digits.data(), end);
}

template <class String>
void append_integer(String &out, std::uint64_t value) {
    std::array<char, 24> digits;
    out.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr);
}

template <class String>
void append_thousandths(String &out, std::uint64_t value) {
    append_integer(out, value / 1000);
    if (unsigned fraction = value % 1000) {
        out.push_back('.');
        for (unsigned digit = 100; fraction; fraction %= digit, digit /= 10)
            out.push_back(static_cast<char>('0' + fraction / digit));
    }
}

template <class String>
void append_xml_escaped(String &out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&': out.append("&amp;"); break;
        case '<': out.append("&lt;"); break;
        case '>': out.append("&gt;"); break;
        case '"': out.append("&quot;"); break;
        case '\'': out.append("&apos;"); break;
        default:
            // XML 1.0 allows no control characters besides tab and line breaks.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out.push_back(c);
        }
    }
}

template <class String>
void append_json_string(String &out, std::string_view text) {
    // nlohmann-json writes every JSON string of ours (and of vantix-tool, with
    // the same settings): UTF-8 kept as is, a byte that is not UTF-8 replaced
    // by U+FFFD so the output stays JSON a strict reader takes.
    const std::string quoted =
        nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    out.append(quoted.data(), quoted.size());
}

std::string hex(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out.push_back(digits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(digits[static_cast<unsigned char>(c) & 15]);
    }
    return out;
}

#define VANTIX_TEXT_INSTANCES(String)                             \
    template void append_number(String &, double, int);           \
    template void append_fixed(String &, double, int);            \
    template void append_integer(String &, std::uint64_t);        \
    template void append_thousandths(String &, std::uint64_t);    \
    template void append_xml_escaped(String &, std::string_view); \
    template void append_json_string(String &, std::string_view);
VANTIX_TEXT_INSTANCES(std::string)
VANTIX_TEXT_INSTANCES(secret_string)

}  // namespace vantix::signature
