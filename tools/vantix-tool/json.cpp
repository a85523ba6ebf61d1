// SPDX-License-Identifier: Apache-2.0
#include "json.hpp"

#include <cstdio>

namespace tool {

std::string json_quote(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

json_object &json_object::field(std::string_view key, std::string_view text) {
    return raw(key, json_quote(text));
}

json_object &json_object::raw(std::string_view key, std::string_view json) {
    if (body_.size() > 1)
        body_ += ",";
    body_ += json_quote(key);
    body_ += ":";
    body_ += json;
    return *this;
}

}  // namespace tool
