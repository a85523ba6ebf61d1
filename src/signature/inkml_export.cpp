// SPDX-License-Identifier: Apache-2.0
// InkML: one trace per stroke with X and Y in digitizer units (the pad's
// coordinate range as the channels' bounds), T in milliseconds since the
// first point and F, the pressure from 0 to 1.
#include "exporters.hpp"
#include "text.hpp"

namespace vantix::signature {
namespace {

void append_channel(std::string &out, const char *name, const char *type, double min, double max,
                    const char *units) {
    out += "          <channel name=\"";
    out += name;
    out += "\" type=\"";
    out += type;
    out += "\" min=\"";
    append_number(out, min);
    out += "\" max=\"";
    append_number(out, max);
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
    append_channel(out, "X", "integer", info.x_min, info.x_max, nullptr);
    append_channel(out, "Y", "integer", info.y_min, info.y_max, nullptr);
    const double last_ms =
        shot.points.empty() ? 0.0 : (shot.points.back().time_us - shot.points.front().time_us) / 1e3;
    append_channel(out, "T", "decimal", 0, last_ms, "ms");
    append_channel(out, "F", "decimal", 0, 1, nullptr);
    out += "        </traceFormat>\n      </inkSource>\n    </context>\n  </definitions>\n";
    for (std::size_t i = 0; i < shot.stroke_count(); ++i) {
        out += "  <trace contextRef=\"#pad\">";
        bool first = true;
        for (const sample &s : shot.stroke(i)) {
            if (!first)
                out += ", ";
            first = false;
            append_number(out, s.x);
            out.push_back(' ');
            append_number(out, s.y);
            out.push_back(' ');
            append_number(out, (s.time_us - shot.points.front().time_us) / 1e3, 3);
            out.push_back(' ');
            append_number(out, s.pressure, 3);
        }
        out += "</trace>\n";
    }
    out += "</ink>\n";
    return out;
}

}  // namespace vantix::signature
