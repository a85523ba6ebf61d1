// SPDX-License-Identifier: Apache-2.0
// JSON: the pad's identity and ranges, the wall-clock (UTC) time of the
// first point, then the strokes' points with their position in the chosen
// space, their digitizer position, the time since the first point in
// microseconds (steady clock) and the pressure.
#include "exporters.hpp"
#include "mapping.hpp"
#include "text.hpp"

namespace vantix::signature {
namespace {

void append_key(std::string &out, const char *key) {
    append_json_string(out, key);
    out.push_back(':');
}

void append_field(std::string &out, const char *key, double value, bool last = false) {
    append_key(out, key);
    append_number(out, value, 3);
    if (!last)
        out.push_back(',');
}

void append_integer_field(std::string &out, const char *key, std::uint64_t value, bool last = false) {
    append_key(out, key);
    append_integer(out, value);
    if (!last)
        out.push_back(',');
}

void append_range(std::string &out, const char *key, unsigned x_min, unsigned x_max, unsigned y_min,
                  unsigned y_max) {
    append_key(out, key);
    out.push_back('{');
    append_integer_field(out, "x_min", x_min);
    append_integer_field(out, "x_max", x_max);
    append_integer_field(out, "y_min", y_min);
    append_integer_field(out, "y_max", y_max, true);
    out += "},";
}

void append_pad(std::string &out, const vantix_signature_pad_info &info) {
    append_key(out, "pad");
    out.push_back('{');
    append_integer_field(out, "vendor_id", info.vendor_id);
    append_integer_field(out, "product_id", info.product_id);
    for (const auto &[key, value] :
         {std::pair{"manufacturer", info.manufacturer}, std::pair{"model", info.model},
          std::pair{"serial_number", info.serial_number}}) {
        append_key(out, key);
        append_json_string(out, value);
        out.push_back(',');
    }
    append_range(out, "coordinate_range", info.x_min, info.x_max, info.y_min, info.y_max);
    append_range(out, "active_area", info.active_x_min, info.active_x_max, info.active_y_min,
                 info.active_y_max);
    append_key(out, "display");
    out.push_back('{');
    append_integer_field(out, "width", info.display_width);
    append_integer_field(out, "height", info.display_height, true);
    out += "}},\n";
}

}  // namespace

std::string render_json(const snapshot &shot, const vantix_signature_export_options &options) {
    std::string out = "{";
    append_integer_field(out, "version", 1);
    append_key(out, "space");
    append_json_string(out, options.space == VANTIX_SIGNATURE_SPACE_DIGITIZER ? "digitizer" : "display");
    out += ",\n";
    append_pad(out, shot.info);
    const std::uint64_t start = shot.points.empty() ? 0 : shot.points.front().time_us;
    append_integer_field(out, "start_time_us", shot.start_utc_us);
    append_key(out, "strokes");
    out.push_back('[');
    for (std::size_t i = 0; i < shot.stroke_count(); ++i) {
        out += i ? ",\n[" : "\n[";
        bool first = true;
        for (const sample &s : shot.stroke(i)) {
            out += first ? "{" : ",{";
            first = false;
            const position p = place(shot.info, options.space, s);
            append_field(out, "x", p.x);
            append_field(out, "y", p.y);
            append_integer_field(out, "digitizer_x", s.x);
            append_integer_field(out, "digitizer_y", s.y);
            append_integer_field(out, "t_us", s.time_us - start);
            append_field(out, "pressure", s.pressure, true);
            out.push_back('}');
        }
        out.push_back(']');
    }
    out += "]}\n";
    return out;
}

}  // namespace vantix::signature
