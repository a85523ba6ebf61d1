// SPDX-License-Identifier: Apache-2.0
#include "stroke_path.hpp"

#include <algorithm>
#include <cmath>

namespace vantix::signature {
namespace {

// Cubic segments through every point after the first, which the path is at.
void append_smooth(std::vector<path_step> &out, const std::vector<position> &points) {
    const std::size_t n = points.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const position p0 = points[i ? i - 1 : 0], p1 = points[i], p2 = points[i + 1];
        const position p3 = points[std::min(i + 2, n - 1)];
        out.push_back({path_step::cubic,
                       {p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6},
                       {p2.x - (p3.x - p1.x) / 6, p2.y - (p3.y - p1.y) / 6},
                       p2});
    }
}

position direction_at(const std::vector<placed_point> &stroke, std::size_t i) {
    const position a = stroke[i ? i - 1 : 0].at, b = stroke[std::min(i + 1, stroke.size() - 1)].at;
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    return length > 0 ? position{dx / length, dy / length} : position{1, 0};
}

std::vector<path_step> centre_line(const std::vector<placed_point> &stroke) {
    std::vector<position> points;
    for (const placed_point &p : stroke)
        points.push_back(p.at);
    std::vector<path_step> out{{path_step::move, {}, {}, points.front()}};
    // A lone point still needs a segment for its round cap to show.
    if (points.size() == 1)
        out.push_back({path_step::line, {}, {}, points.front()});
    append_smooth(out, points);
    return out;
}

std::vector<path_step> outline(const std::vector<placed_point> &stroke) {
    std::vector<position> left, right;
    for (std::size_t i = 0; i < stroke.size(); ++i) {
        const position t = direction_at(stroke, i), at = stroke[i].at;
        const double half = stroke[i].width / 2;
        left.push_back({at.x - t.y * half, at.y + t.x * half});
        right.push_back({at.x + t.y * half, at.y - t.x * half});
    }
    std::reverse(right.begin(), right.end());
    std::vector<path_step> out{{path_step::move, {}, {}, left.front()}};
    append_smooth(out, left);
    out.push_back({path_step::cap, {}, {}, right.front(), stroke.back().width / 2});
    append_smooth(out, right);
    out.push_back({path_step::cap, {}, {}, left.front(), stroke.front().width / 2});
    return out;
}

}  // namespace

std::vector<path_step> stroke_path(const std::vector<placed_point> &stroke, bool outlined) {
    return outlined ? outline(stroke) : centre_line(stroke);
}

}  // namespace vantix::signature
