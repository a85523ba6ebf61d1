// SPDX-License-Identifier: Apache-2.0
#include "json.hpp"

#include <nlohmann/json.hpp>

namespace tool {

// The same writer and settings as the signature library's JSON: UTF-8 kept
// as is, a byte that is not UTF-8 replaced by U+FFFD.
std::string json_quote(std::string_view text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
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
