// SPDX-License-Identifier: Apache-2.0
#include "request_fields.hpp"

namespace bridge {

void bad_field(const char *name, const char *expected) {
    throw protocol_error("bad_field", std::string("field '") + name + "' must be " + expected);
}

const json *field(const json &message, const char *name) {
    auto it = message.find(name);
    return it == message.end() || it->is_null() ? nullptr : &*it;
}

std::optional<std::string> opt_string(const json &message, const char *name, std::size_t max_length) {
    const json *value = field(message, name);
    if (!value)
        return std::nullopt;
    if (!value->is_string())
        bad_field(name, "a string");
    std::string text = value->get<std::string>();
    if (text.size() > max_length)
        throw protocol_error("bad_field", std::string("field '") + name + "' is longer than " +
                                              std::to_string(max_length) + " bytes");
    return text;
}

double opt_number(const json &message, const char *name, double fallback, double min, double max) {
    const json *value = field(message, name);
    if (!value)
        return fallback;
    if (!value->is_number())
        bad_field(name, "a number");
    const double number = value->get<double>();
    if (!(number >= min && number <= max))
        throw protocol_error("bad_field", std::string("field '") + name + "' must be between " +
                                              std::to_string(min) + " and " + std::to_string(max));
    return number;
}

bool opt_bool(const json &message, const char *name, bool fallback) {
    const json *value = field(message, name);
    if (!value)
        return fallback;
    if (!value->is_boolean())
        bad_field(name, "true or false");
    return value->get<bool>();
}

std::optional<std::vector<std::string>> opt_strings(const json &message, const char *name,
                                                    std::size_t max_count, std::size_t max_length) {
    const json *value = field(message, name);
    if (!value)
        return std::nullopt;
    if (!value->is_array() || value->size() > max_count)
        bad_field(name, ("an array of at most " + std::to_string(max_count) + " strings").c_str());
    std::vector<std::string> out;
    for (const json &item : *value) {
        if (!item.is_string() || item.get_ref<const std::string &>().size() > max_length)
            bad_field(name,
                      ("an array of strings of at most " + std::to_string(max_length) + " bytes").c_str());
        out.push_back(item.get<std::string>());
    }
    return out;
}

bool display_space(const json &message) {
    const std::string space = opt_string(message, "space", 16).value_or("display");
    if (space != "display" && space != "digitizer")
        bad_field("space", "\"display\" or \"digitizer\"");
    return space == "display";
}

}  // namespace bridge
