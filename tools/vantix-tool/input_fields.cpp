// SPDX-License-Identifier: Apache-2.0
#include "input_fields.hpp"

#include <algorithm>
#include <cstring>
#include <cstring>

#include "json.hpp"

namespace tool {
namespace {

// Track bytes are not terminated: stop at the field's end or a zero.
template <std::size_t N>
std::string track(const std::uint8_t (&bytes)[N]) {
    const auto *end = std::find(bytes, bytes + N, 0);
    return std::string(bytes, end);
}

const char *button_type(std::uint8_t type) {
    switch (type) {
    case VANTIX_INPUT_BUTTONDOWN: return "button_down";
    case VANTIX_INPUT_BUTTONMOVE: return "button_move";
    case VANTIX_INPUT_BUTTONUP: return "button_up";
    default: return "button_press";
    }
}

input_fields button(const vantix_hid_input_button &b, std::uint8_t type) {
    input_fields f{button_type(type), {{"x", b.x}, {"y", b.y}}};
    if (b.region) {
        f.values.emplace_back("region", b.region->common.region_number);
        const char *caption = b.region->button.caption;
        f.values.emplace_back("caption",
                              std::string(caption, strnlen(caption, sizeof b.region->button.caption)));
    }
    return f;
}

}  // namespace

input_fields decode_input(const vantix_input_report &report, std::uint8_t type,
                          std::span<const unsigned char> raw) {
    switch (type) {
    case VANTIX_INPUT_COORDINATE: {
        const auto &c = report.coordinate;
        return {"pen", {{"x", c.x}, {"y", c.y}, {"down", c.sample_info.common.down != 0}}};
    }
    case VANTIX_INPUT_EXTENDEDCOORDINATE: {
        const auto &c = report.extended_coordinate;
        return {"pen",
                {{"x", c.x}, {"y", c.y}, {"down", c.sample_info.common.down != 0}, {"region", c.region}}};
    }
    case VANTIX_INPUT_DEBUGCOORDINATE: {
        const auto &c = report.debug_coordinate;
        return {"debug",
                {{"x", c.x_mapped},
                 {"y", c.y_mapped},
                 {"down", c.sample_info.common.down != 0},
                 {"region", c.region}}};
    }
    case VANTIX_INPUT_ADCVALUES:
        return {"adc", {{"data_type", static_cast<long long>(report.adc_values.data_type)}}};
    case VANTIX_INPUT_MAGCARDDATA: {
        const auto &s = report.card_swipe;
        return {"card",
                {{"format", static_cast<long long>(s.card_format)},
                 {"track1", track(s.track1)},
                 {"track2", track(s.track2)},
                 {"track3", track(s.track3)}}};
    }
    case VANTIX_INPUT_BUTTONDOWN:
    case VANTIX_INPUT_BUTTONMOVE:
    case VANTIX_INPUT_BUTTONUP:
    case VANTIX_INPUT_BUTTONPRESS: return button(report.button_press, type);
    default: return {"report", {{"id", type}, {"length", static_cast<long long>(raw.size())}}};
    }
}

const field_value *find_field(const input_fields &fields, std::string_view key) {
    for (const auto &[name, value] : fields.values)
        if (name == key)
            return &value;
    return nullptr;
}

std::string as_text(const input_fields &fields) {
    std::string line = fields.type;
    for (const auto &[key, value] : fields.values) {
        line += " " + key + "=";
        if (const auto *number = std::get_if<long long>(&value))
            line += std::to_string(*number);
        else if (const auto *flag = std::get_if<bool>(&value))
            line += *flag ? "1" : "0";
        else
            line += json_quote(std::get<std::string>(value));
    }
    return line;
}

std::string as_json(const input_fields &fields) {
    json_object line;
    line.field("type", fields.type);
    for (const auto &entry : fields.values)
        std::visit([&](const auto &v) { line.field(entry.first, v); }, entry.second);
    return line.str();
}

}  // namespace tool
