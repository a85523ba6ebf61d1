// SPDX-License-Identifier: Apache-2.0
// Reading a record back, strictly: a record comes out of an envelope that
// anyone holding a recipient certificate can make, so every key and type is
// checked, every size bounded and the nesting depth limited while parsing.
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "pad_info.hpp"
#include "record.hpp"

namespace vantix::signature {
namespace {

using json = nlohmann::json;

constexpr int max_depth = 4;                                            // record, pen, samples, sample
constexpr std::size_t max_samples = 2 * VANTIX_SIGNATURE_MAX_POINTS;    // a pen-up per stroke at most
constexpr std::uint64_t max_t_us = std::uint64_t{1000000} * 3600 * 24;  // a day of writing

[[noreturn]] void malformed(const std::string &what) {
    throw record_error("The signature record is malformed: " + what + ".");
}

// `value`, an object holding exactly `keys`.
const json &exact(const json &value, const char *name, std::initializer_list<const char *> keys) {
    if (!value.is_object() || value.size() != keys.size())
        malformed(std::string("\"") + name + "\" is not an object of " + std::to_string(keys.size()) +
                  " keys");
    for (const char *key : keys)
        if (!value.contains(key))
            malformed(std::string("\"") + name + "\" has no \"" + key + "\"");
    return value;
}

const json &object(const json &parent, const char *name, std::initializer_list<const char *> keys) {
    const auto found = parent.find(name);
    if (found == parent.end())
        malformed(std::string("it has no \"") + name + "\"");
    return exact(*found, name, keys);
}

std::string text(const json &parent, const char *name, std::size_t max) {
    const json &value = parent.at(name);
    if (!value.is_string() || value.get_ref<const std::string &>().size() > max)
        malformed(std::string("\"") + name + "\" is not a text of at most " + std::to_string(max) + " bytes");
    return value.get<std::string>();
}

std::uint64_t integer(const json &parent, const char *name, std::uint64_t max) {
    const json &value = parent.at(name);
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > max)
        malformed(std::string("\"") + name + "\" is not an integer from 0 to " + std::to_string(max));
    return value.get<std::uint64_t>();
}

template <std::size_t N>
void copy_text(char (&to)[N], const json &parent, const char *name) {
    const std::string value = text(parent, name, N - 1);
    std::memcpy(to, value.c_str(), value.size() + 1);
}

sha256_digest digest(const json &parent) {
    const std::string value = text(parent, "sha256", 64);
    sha256_digest out;
    if (value.size() != 64 || value.find_first_not_of("0123456789abcdef") != std::string::npos)
        malformed("a \"sha256\" is not 64 lower-case hexadecimal digits");
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<unsigned char>(std::stoul(value.substr(2 * i, 2), nullptr, 16));
    return out;
}

void read_range(const json &pad, const char *name, std::uint16_t &x_min, std::uint16_t &x_max,
                std::uint16_t &y_min, std::uint16_t &y_max) {
    const json &range = object(pad, name, {"x_min", "x_max", "y_min", "y_max"});
    x_min = static_cast<std::uint16_t>(integer(range, "x_min", 65535));
    x_max = static_cast<std::uint16_t>(integer(range, "x_max", 65535));
    y_min = static_cast<std::uint16_t>(integer(range, "y_min", 65535));
    y_max = static_cast<std::uint16_t>(integer(range, "y_max", 65535));
}

void read_pad(const json &root, record_header &header) {
    const json &pad = object(root, "pad",
                             {"vendor_id", "product_id", "manufacturer", "model", "serial_number", "uuid",
                              "firmware", "coordinate_range", "active_area", "display"});
    vantix_signature_pad_info &info = header.pad;
    info.vendor_id = static_cast<std::uint16_t>(integer(pad, "vendor_id", 65535));
    info.product_id = static_cast<std::uint16_t>(integer(pad, "product_id", 65535));
    copy_text(info.manufacturer, pad, "manufacturer");
    copy_text(info.model, pad, "model");
    copy_text(info.serial_number, pad, "serial_number");
    header.pad_uuid = text(pad, "uuid", 128);
    header.pad_firmware = text(pad, "firmware", 128);
    read_range(pad, "coordinate_range", info.x_min, info.x_max, info.y_min, info.y_max);
    read_range(pad, "active_area", info.active_x_min, info.active_x_max, info.active_y_min,
               info.active_y_max);
    const json &display = object(pad, "display", {"width", "height"});
    info.display_width = static_cast<std::uint16_t>(integer(display, "width", 65535));
    info.display_height = static_cast<std::uint16_t>(integer(display, "height", 65535));
    if (const std::string problem = check_pad_info(info); !problem.empty())
        malformed("its pad: " + problem);
}

double number(const json &value, double max, const char *what) {
    if (!value.is_number() || !(value.get<double>() >= 0.0 && value.get<double>() <= max))
        malformed(std::string("a sample's ") + what + " is out of range");
    return value.get<double>();
}

// A sample is [t_ms, x, y, pressure, down, stroke]; strokes are numbered
// from 0 in order, each a run of pen-down samples ended by one pen-up.
std::vector<pen_sample> read_samples(const json &pen) {
    if (pen.at("channels") != json::array({"t_ms", "x", "y", "pressure", "down", "stroke"}))
        malformed("unknown pen channels");
    const json &samples = pen.at("samples");
    if (!samples.is_array() || samples.empty() || samples.size() > max_samples)
        malformed("\"samples\" is not an array of 1 to " + std::to_string(max_samples) + " samples");
    std::vector<pen_sample> out;
    out.reserve(samples.size());
    bool down = false;
    std::uint32_t strokes = 0;
    std::size_t points = 0;
    for (const json &item : samples) {
        if (!item.is_array() || item.size() != 6 || !item[1].is_number_unsigned() ||
            !item[2].is_number_unsigned() || !item[4].is_number_unsigned() || !item[5].is_number_unsigned())
            malformed("a sample is not [t_ms, x, y, pressure, down, stroke]");
        pen_sample s{};
        s.t_us =
            static_cast<std::uint64_t>(std::llround(number(item[0], max_t_us / 1000.0, "time") * 1000.0));
        s.x = static_cast<std::uint16_t>(number(item[1], 65535, "x"));
        s.y = static_cast<std::uint16_t>(number(item[2], 65535, "y"));
        s.pressure = static_cast<float>(number(item[3], 1.0, "pressure"));
        s.down = number(item[4], 1, "pen state") == 1;
        s.stroke = static_cast<std::uint32_t>(number(item[5], max_samples, "stroke"));
        if (!out.empty() && s.t_us < out.back().t_us)
            malformed("sample times go back");
        if (s.down && !down)
            ++strokes;
        if ((!s.down && !down) || s.stroke + 1 != strokes)
            malformed("the samples' strokes are out of order");
        if (s.down && ++points > VANTIX_SIGNATURE_MAX_POINTS)
            malformed("it holds over " + std::to_string(VANTIX_SIGNATURE_MAX_POINTS) + " points");
        down = s.down;
        out.push_back(s);
    }
    if (down)
        malformed("its last stroke has no pen-up sample");
    return out;
}

json parse(std::string_view text) {
    if (text.size() > VANTIX_SIGNATURE_MAX_SEALED_SIZE)
        malformed("it is over " + std::to_string(VANTIX_SIGNATURE_MAX_SEALED_SIZE) + " bytes");
    const json::parser_callback_t limit_depth = [](int depth, json::parse_event_t, json &) {
        if (depth > max_depth)
            malformed("it nests deeper than a record does");
        return true;
    };
    try {
        json root = json::parse(text.begin(), text.end(), limit_depth);
        if (!root.is_object())
            malformed("it is not a JSON object");
        return root;
    } catch (const json::exception &) {
        malformed("it is not JSON");
    }
}

}  // namespace

record read_record(std::string_view json_text) {
    const json root = parse(json_text);
    if (root.value("format", json()) != "vantix-signature-record")
        malformed("it is not a signature record");
    const auto version = root.find("version");
    if (version == root.end() || !version->is_number_unsigned() ||
        version->get<std::uint64_t>() != VANTIX_SIGNATURE_RECORD_VERSION)
        throw record_error("Unsupported record version.");
    const json &top =
        exact(root, "record",
              {"format", "version", "document", "prompt", "capture", "pad", "library", "image", "pen"});

    record out;
    record_header &header = out.header;
    const json &document = object(top, "document", {"sha256", "name"});
    header.document = digest(document);
    header.document_name = text(document, "name", VANTIX_SIGNATURE_MAX_RECORD_TEXT);
    header.prompt = text(top, "prompt", VANTIX_SIGNATURE_MAX_RECORD_TEXT);
    const json &when = object(top, "capture", {"start_utc_us", "end_utc_us", "start_utc", "end_utc"});
    // Up to the year 9999, which the written date can hold.
    header.start_utc_us = integer(when, "start_utc_us", 253402300799999999);
    header.end_utc_us = integer(when, "end_utc_us", 253402300799999999);
    if (text(when, "start_utc", 32) != utc_text(header.start_utc_us) ||
        text(when, "end_utc", 32) != utc_text(header.end_utc_us))
        malformed("its written dates differ from its times");
    read_pad(top, header);
    const json &library = object(top, "library", {"name", "version"});
    if (text(library, "name", 64) != "libvantix-signature")
        malformed("it names another library");
    header.library_version = text(library, "version", 32);
    const json &image = object(top, "image", {"format", "sha256"});
    if (text(image, "format", 8) != "svg")
        malformed("its picture digest is not of an SVG");
    header.image = digest(image);
    out.samples = read_samples(object(top, "pen", {"channels", "samples"}));
    if (header.end_utc_us < header.start_utc_us ||
        header.end_utc_us - header.start_utc_us != out.samples.back().t_us)
        malformed("its end time is not its last sample's");
    return out;
}

}  // namespace vantix::signature
