// SPDX-License-Identifier: Apache-2.0
// InkML: one trace per stroke with X and Y in digitizer units (the pad's
// coordinate range as the channels' bounds), T in milliseconds since the
// first point and F, the pressure from 0 to 1.
#include "exporters.hpp"
#include "text.hpp"

namespace vantix::signature {
namespace {

using number_writer = void (*)(std::string &, std::uint64_t);

void append_channel(std::string &out, const char *name, const char *type, number_writer number,
                    std::uint64_t min, std::uint64_t max, const char *units) {
    out += "          <channel name=\"";
    out += name;
    out += "\" type=\"";
    out += type;
    out += "\" min=\"";
    number(out, min);
    out += "\" max=\"";
    number(out, max);
    out += "\"";
    if (units)
        out += " units=\"", out += units, out += "\"";
    out += "/>\n";
}

void append_attribute(std::string &out, const char *name, const char *value) {
    out += ' ';
    out += name;
    out += "=\"";
    append_xml_escaped(out, value);
    out += '"';
}

}  // namespace

std::string render_inkml(const snapshot &shot, const vantix_signature_export_options &) {
    const vantix_signature_pad_info &info = shot.info;
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ink xmlns=\"http://www.w3.org/2003/InkML\">\n";
    out += "  <definitions>\n    <context xml:id=\"pad\">\n      <inkSource xml:id=\"source\"";
    append_attribute(out, "manufacturer", info.manufacturer);
    append_attribute(out, "model", info.model);
    append_attribute(out, "serialNo", info.serial_number);
    out += ">\n        <traceFormat xml:id=\"format\">\n";
    append_channel(out, "X", "integer", append_integer, info.x_min, info.x_max, nullptr);
    append_channel(out, "Y", "integer", append_integer, info.y_min, info.y_max, nullptr);
    // T: microseconds since the first point, written as milliseconds.
    const std::uint64_t start = shot.points.empty() ? 0 : shot.points.front().time_us;
    const std::uint64_t last = shot.points.empty() ? 0 : shot.points.back().time_us - start;
    append_channel(out, "T", "decimal", append_thousandths, 0, last, "ms");
    append_channel(out, "F", "decimal", append_integer, 0, 1, nullptr);
    out += "        </traceFormat>\n      </inkSource>\n    </context>\n  </definitions>\n";
    for (std::size_t i = 0; i < shot.stroke_count(); ++i) {
        out += "  <trace contextRef=\"#pad\">";
        bool first = true;
        for (const sample &s : shot.stroke(i)) {
            if (!first)
                out += ", ";
            first = false;
            append_integer(out, s.x);
            out.push_back(' ');
            append_integer(out, s.y);
            out.push_back(' ');
            append_thousandths(out, s.time_us - start);
            out.push_back(' ');
            append_number(out, s.pressure, 3);
        }
        out += "</trace>\n";
    }
    out += "</ink>\n";
    return out;
}

}  // namespace vantix::signature
