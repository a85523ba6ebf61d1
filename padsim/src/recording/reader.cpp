// SPDX-License-Identifier: Apache-2.0
// Reading a recording. The file may come from anywhere (a user's mail, a
// fuzzer), so every line is bounded before it is parsed and every field is
// checked for its type and range; the first fault ends the read with a
// text naming the line.
#include <fstream>
#include <nlohmann/json.hpp>
#include <string_view>

#include "fields.hpp"
#include "hex.hpp"
#include "padsim/recording.hpp"
#include "wire.hpp"

namespace padsim {
namespace {

using json = nlohmann::json;

// No line of the format nests deeper than this; deeper nesting is refused
// before parsing, as freeing a deeply nested value recurses.
constexpr int max_nesting = 4;

bool nesting_within(std::string_view text, int limit) {
    int depth = 0;
    bool in_string = false, escaped = false;
    for (char c : text) {
        if (in_string) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '{' || c == '[') {
            if (++depth > limit)
                return false;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return true;
}

// One parsed line and its number, with checked access to its fields.
class line_fields {
public:
    line_fields(json object, std::size_t number) : object_(std::move(object)), number_(number) {}

    [[noreturn]] void fault(const std::string &what) const {
        throw recording_error("line " + std::to_string(number_) + ": " + what);
    }

    const json *find(const char *key) const {
        auto it = object_.find(key);
        return it == object_.end() ? nullptr : &*it;
    }

    const json &need(const char *key) const {
        if (const json *value = find(key))
            return *value;
        fault(std::string("no \"") + key + "\"");
    }

    std::string text(const char *key) const {
        const json &value = need(key);
        if (!value.is_string())
            fault(std::string("\"") + key + "\" is not a string");
        return value.get<std::string>();
    }

    std::uint64_t number(const char *key, std::uint64_t top) const {
        const json &value = need(key);
        if (!value.is_number_unsigned() || value.get<std::uint64_t>() > top)
            fault(std::string("\"") + key + "\" is not a whole number from 0 to " + std::to_string(top));
        return value.get<std::uint64_t>();
    }

    std::vector<std::uint8_t> bytes(const char *key, std::size_t limit) const {
        const std::string hex = text(key);
        if (hex.empty() || hex.size() > 2 * limit)
            fault(std::string("\"") + key + "\" must hold 1 to " + std::to_string(limit) + " bytes");
        auto decoded = recording_hex::decode(hex);
        if (!decoded)
            fault(std::string("\"") + key + "\" is not hex (two digits a byte)");
        return std::move(*decoded);
    }

    std::uint16_t usb_id(const char *key) const {
        const std::string hex = text(key);
        auto decoded = hex.size() == 4 ? recording_hex::decode(hex) : std::nullopt;
        if (!decoded)
            fault(std::string("\"") + key + "\" is not four hex digits");
        return wire::get_be16(*decoded, 0);
    }

private:
    json object_;
    std::size_t number_;
};

class reader {
public:
    explicit reader(std::istream &in) : in_(in) {}

    recording read() {
        std::string text;
        bool header_seen = false;
        while (next_line(text)) {
            if (text.empty() || text[0] == '#')
                continue;  // blank lines and comments, for recordings edited by hand
            line_fields line = parse(text, header_seen);
            if (!header_seen) {
                header(line);
                header_seen = true;
            } else {
                body(line);
            }
        }
        if (!header_seen)
            throw recording_error("not a pad recording: the file is empty");
        if (!device_seen_)
            throw recording_error("the recording has no \"device\" line");
        if (!descriptor_seen_)
            throw recording_error("the recording has no \"descriptor\" line");
        return std::move(result_);
    }

private:
    bool next_line(std::string &text) {
        text.clear();
        if (++number_ > max_recording_lines)
            throw recording_error("more than " + std::to_string(max_recording_lines) + " lines");
        char c;
        bool any = false;
        while (in_.get(c)) {
            any = true;
            if (c == '\n')
                break;
            if (text.size() == max_recording_line)
                throw recording_error("line " + std::to_string(number_) + ": longer than " +
                                      std::to_string(max_recording_line) + " bytes");
            text.push_back(c);
        }
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        return any;
    }

    line_fields parse(const std::string &text, bool header_seen) const {
        json object;
        if (nesting_within(text, max_nesting))
            object = json::parse(text, nullptr, false);
        if (object.is_discarded() || !object.is_object()) {
            if (!header_seen)
                throw recording_error("not a pad recording: its first line is not a vxrec header");
            throw recording_error("line " + std::to_string(number_) + ": not a JSON object");
        }
        return {std::move(object), number_};
    }

    void header(const line_fields &line) {
        const json *format = line.find("format");
        if (!format || !format->is_string() || format->get<std::string>() != recording_fields::format_name)
            throw recording_error("not a pad recording: its first line is not a vxrec header");
        const json &version = line.need("version");
        if (!version.is_number_unsigned() || version.get<std::uint64_t>() == 0)
            line.fault("\"version\" is not a format version");
        if (version.get<std::uint64_t>() > recording_version)
            throw recording_error("the recording is format version " + version.dump() +
                                  ", newer than this library reads (" + std::to_string(recording_version) +
                                  "); update the library");
        result_.library = line.text("library");
        result_.recorded_at = line.text("recorded_at");
        const json &system = line.need("system");
        if (!system.is_object())
            line.fault("\"system\" is not an object");
        const line_fields system_fields(system, number_);
        result_.operating_system = system_fields.text("os");
        result_.architecture = system_fields.text("architecture");
        const json &input = line.need("input");
        if (!input.is_boolean())
            line.fault("\"input\" is not true or false");
        result_.with_input = input.get<bool>();
    }

    void body(const line_fields &line) {
        const std::string kind = line.text("kind");
        if (kind == "device")
            device(line);
        else if (kind == "descriptor")
            descriptor(line);
        else if (kind == "feature")
            feature(line);
        else if (kind == "input")
            input(line);
        else if (kind == "header")
            line.fault("a second header");
        // Other kinds belong to later writers of this version: skipped.
    }

    void device(const line_fields &line) {
        if (device_seen_)
            line.fault("a second \"device\" line");
        device_seen_ = true;
        result_.path = line.text("path");
        result_.driver = line.text("driver");
        result_.vendor_id = line.usb_id("vendor_id");
        result_.product_id = line.usb_id("product_id");
        result_.manufacturer = line.text("manufacturer");
        result_.model = line.text("model");
    }

    void descriptor(const line_fields &line) {
        if (descriptor_seen_)
            line.fault("a second \"descriptor\" line");
        descriptor_seen_ = true;
        result_.descriptor = line.bytes("bytes", max_report_bytes);
    }

    void feature(const line_fields &line) {
        recorded_feature f;
        f.time_us = line.number("t", max_time_us);
        const auto phase = recording_fields::phase_named(line.text("phase"));
        if (!phase)
            line.fault("\"phase\" is not open, sweep or session");
        f.phase = *phase;
        if (line.find("error")) {
            f.id = static_cast<std::uint8_t>(line.number("id", 255));
            f.error = line.text("error");
            if (f.error.empty())
                line.fault("\"error\" is empty");
        } else {
            f.bytes = line.bytes("bytes", max_report_bytes);
            f.id = f.bytes[0];
        }
        result_.features.push_back(std::move(f));
    }

    void input(const line_fields &line) {
        recorded_input i;
        i.time_us = line.number("t", max_time_us);
        if (!result_.inputs.empty() && i.time_us < result_.inputs.back().time_us)
            line.fault("input goes back in time");
        i.bytes = line.bytes("bytes", max_report_bytes);
        result_.inputs.push_back(std::move(i));
    }

    // A recording of a few days at most: times stay far from overflow.
    static constexpr std::uint64_t max_time_us = std::uint64_t{1} << 40;

    std::istream &in_;
    std::size_t number_ = 0;
    bool device_seen_ = false;
    bool descriptor_seen_ = false;
    recording result_;
};

}  // namespace

recording read_recording(std::istream &in) { return reader(in).read(); }

recording load_recording(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw recording_error(path + ": cannot be opened");
    try {
        return read_recording(in);
    } catch (const recording_error &e) {
        throw recording_error(path + ": " + e.what());
    }
}

}  // namespace padsim
