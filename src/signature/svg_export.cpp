// SPDX-License-Identifier: Apache-2.0
// SVG: one path per stroke, smoothed with Catmull-Rom curves through the
// points. With pressure width a stroke is a filled outline whose width
// follows the pen; without, a stroked centre line of one width.
#include <algorithm>
#include <cmath>

#include "exporters.hpp"
#include "stroke_geometry.hpp"
#include "text.hpp"

namespace vantix::signature {
namespace {

void append_position(std::string &out, position p) {
    out.push_back(' ');
    append_number(out, p.x);
    out.push_back(' ');
    append_number(out, p.y);
}

// Cubic segments through every point after the first, which the path is at.
void append_smooth(std::string &out, const std::vector<position> &points) {
    const std::size_t n = points.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const position p0 = points[i ? i - 1 : 0], p1 = points[i], p2 = points[i + 1];
        const position p3 = points[std::min(i + 2, n - 1)];
        out += " C";
        append_position(out, {p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6});
        append_position(out, {p2.x - (p3.x - p1.x) / 6, p2.y - (p3.y - p1.y) / 6});
        append_position(out, p2);
    }
}

// A half circle round the end of a stroke. Both caps turn the same way on
// screen, so one sweep direction serves.
void append_cap(std::string &out, double radius, position to) {
    out += " A";
    append_position(out, {radius, radius});
    out += " 0 0 0";
    append_position(out, to);
}

position direction_at(const std::vector<placed_point> &stroke, std::size_t i) {
    const position a = stroke[i ? i - 1 : 0].at, b = stroke[std::min(i + 1, stroke.size() - 1)].at;
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    return length > 0 ? position{dx / length, dy / length} : position{1, 0};
}

void append_centre_line(std::string &out, const std::vector<placed_point> &stroke) {
    std::vector<position> points;
    for (const placed_point &p : stroke)
        points.push_back(p.at);
    out += "<path d=\"M";
    append_position(out, points.front());
    // A lone point still needs a segment for its round cap to show.
    if (points.size() == 1)
        out += " L", append_position(out, points.front());
    append_smooth(out, points);
    out += "\"/>\n";
}

void append_outline(std::string &out, const std::vector<placed_point> &stroke) {
    std::vector<position> left, right;
    for (std::size_t i = 0; i < stroke.size(); ++i) {
        const position t = direction_at(stroke, i), at = stroke[i].at;
        const double half = stroke[i].width / 2;
        left.push_back({at.x - t.y * half, at.y + t.x * half});
        right.push_back({at.x + t.y * half, at.y - t.x * half});
    }
    std::reverse(right.begin(), right.end());
    out += "<path d=\"M";
    append_position(out, left.front());
    append_smooth(out, left);
    append_cap(out, stroke.back().width / 2, right.front());
    append_smooth(out, right);
    append_cap(out, stroke.front().width / 2, left.front());
    out += " Z\"/>\n";
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
        if (options.pressure_width)
            append_outline(out, stroke);
        else
            append_centre_line(out, stroke);
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace vantix::signature
