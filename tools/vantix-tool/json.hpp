// SPDX-License-Identifier: Apache-2.0
// A small JSON writer: enough for the tool's records and event lines.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace tool {

std::string json_quote(std::string_view text);

// One JSON object, built field by field.
class json_object {
public:
    json_object &field(std::string_view key, std::string_view text);
    json_object &field(std::string_view key, const char *text) { return field(key, std::string_view(text)); }
    json_object &field(std::string_view key, const std::string &text) {
        return field(key, std::string_view(text));
    }
    json_object &field(std::string_view key, bool value) { return raw(key, value ? "true" : "false"); }
    template <std::integral Number>
    requires(!std::same_as<Number, bool>) json_object &field(std::string_view key, Number value) {
        return raw(key, std::to_string(value));
    }
    // A value that is already JSON (an object or array).
    json_object &raw(std::string_view key, std::string_view json);
    std::string str() const { return body_ + "}"; }

private:
    std::string body_ = "{";
};

}  // namespace tool
