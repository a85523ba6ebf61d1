// SPDX-License-Identifier: Apache-2.0
// SVG: one path per stroke (stroke_path.hpp). With pressure width a stroke
// is a filled outline whose width follows the pen; without, a stroked
// centre line of one width.
#include "exporters.hpp"
#include "stroke_path.hpp"
#include "text.hpp"

namespace vantix::signature {
namespace {

void append_position(std::string &out, position p) {
    out.push_back(' ');
    append_number(out, p.x);
    out.push_back(' ');
    append_number(out, p.y);
}

void append_path(std::string &out, const std::vector<path_step> &path, bool closed) {
    out += "<path d=\"";
    for (const path_step &step : path) {
        switch (step.what) {
        case path_step::move: out += "M"; break;
        case path_step::line: out += " L"; break;
        case path_step::cubic:
            out += " C";
            append_position(out, step.c1);
            append_position(out, step.c2);
            break;
        case path_step::cap:
            // Both caps turn the same way on screen, so one sweep direction serves.
            out += " A";
            append_position(out, {step.radius, step.radius});
            out += " 0 0 0";
            break;
        }
        append_position(out, step.to);
    }
    out += closed ? " Z\"/>\n" : "\"/>\n";
}

}  // namespace

std::string render_svg(const snapshot &shot, const vantix_signature_export_options &options) {
    const frame f = frame_of(shot.info, options.space);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
    out += " version=\"1.1\" width=\"";
    append_number(out, f.width);
    out += "\" height=\"";
    append_number(out, f.height);
    out += "\" viewBox=\"";
    append_number(out, f.left);
    append_position(out, {f.top, f.width});
    out.push_back(' ');
    append_number(out, f.height);
    if (options.pressure_width) {
        out += "\">\n<g fill=\"#000\" stroke=\"none\">\n";
    } else {
        out +=
            "\">\n<g fill=\"none\" stroke=\"#000\" stroke-linecap=\"round\" stroke-linejoin=\"round\" "
            "stroke-width=\"";
        append_number(out, options.line_width);
        out += "\">\n";
    }
    for (std::size_t i = 0; i < shot.stroke_count(); ++i) {
        const std::vector<placed_point> stroke = place_stroke(shot, i, options.space, options);
        append_path(out, stroke_path(stroke, options.pressure_width != 0), options.pressure_width != 0);
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace vantix::signature
