// SPDX-License-Identifier: Apache-2.0
// PDF content: the strokes as path-painting operators, the same paths the
// SVG export draws. PDF has no arcs, so a round cap is two quarter circles
// of cubic curves.
#include "exporters.hpp"
#include "stroke_path.hpp"
#include "text.hpp"

namespace vantix::signature {
namespace {

// The control-point distance that makes a cubic curve follow a quarter circle.
constexpr double quarter_circle = 0.5522847498;

void append_point(std::string &out, position p) {
    append_number(out, p.x, 3);
    out.push_back(' ');
    append_number(out, p.y, 3);
    out.push_back(' ');
}

void append_cubic(std::string &out, position c1, position c2, position to) {
    append_point(out, c1);
    append_point(out, c2);
    append_point(out, to);
    out += "c\n";
}

// A half circle from `from` to `to`, turning as SVG's sweep flag 0 does on
// screen (y down): through the point a quarter turn from `from`.
void append_cap(std::string &out, position from, position to) {
    const position centre{(from.x + to.x) / 2, (from.y + to.y) / 2};
    const position a{from.x - centre.x, from.y - centre.y};
    const position turned{a.y, -a.x};
    const position middle{centre.x + turned.x, centre.y + turned.y};
    const double k = quarter_circle;
    append_cubic(out, {from.x + k * turned.x, from.y + k * turned.y},
                 {middle.x + k * a.x, middle.y + k * a.y}, middle);
    append_cubic(out, {middle.x - k * a.x, middle.y - k * a.y}, {to.x + k * turned.x, to.y + k * turned.y},
                 to);
}

void append_path(std::string &out, const std::vector<path_step> &path) {
    position at{};
    for (const path_step &step : path) {
        switch (step.what) {
        case path_step::move:
            append_point(out, step.to);
            out += "m\n";
            break;
        case path_step::line:
            append_point(out, step.to);
            out += "l\n";
            break;
        case path_step::cubic: append_cubic(out, step.c1, step.c2, step.to); break;
        case path_step::cap: append_cap(out, at, step.to); break;
        }
        at = step.to;
    }
}

}  // namespace

std::string render_pdf_paths(const snapshot &shot, const vantix_signature_export_options &options) {
    const bool outlined = options.pressure_width != 0;
    std::string out = "q\n";
    if (outlined) {
        out += "0 g\n";
    } else {
        out += "0 G 1 J 1 j ";
        append_number(out, options.line_width, 3);
        out += " w\n";
    }
    for (std::size_t i = 0; i < shot.stroke_count(); ++i) {
        append_path(out, stroke_path(place_stroke(shot, i, options.space, options), outlined));
        out += outlined ? "h f\n" : "S\n";
    }
    out += "Q\n";
    return out;
}

}  // namespace vantix::signature
