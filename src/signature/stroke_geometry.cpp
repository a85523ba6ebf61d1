// SPDX-License-Identifier: Apache-2.0
#include "stroke_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vantix::signature {

row_span span_on_row(position a, position b, double y, double reach) {
    // The part of the segment inside the band y +- reach, as parameters t
    // from a (0) to b (1).
    double t0 = 0, t1 = 1;
    const double dy = b.y - a.y;
    if (dy == 0) {
        if (std::abs(a.y - y) > reach)
            return {1, 0};
    } else {
        t0 = (y - reach - a.y) / dy, t1 = (y + reach - a.y) / dy;
        if (t0 > t1)
            std::swap(t0, t1);
        t0 = std::max(t0, 0.0), t1 = std::min(t1, 1.0);
        if (t0 > t1)
            return {1, 0};
    }
    const double x0 = a.x + t0 * (b.x - a.x), x1 = a.x + t1 * (b.x - a.x);
    return {std::min(x0, x1) - reach, std::max(x0, x1) + reach};
}

std::vector<placed_point> place_stroke(const snapshot &shot, std::size_t stroke, vantix_signature_space space,
                                       const vantix_signature_export_options &options) {
    std::vector<placed_point> placed;
    placed.reserve(shot.stroke(stroke).size());
    for (const sample &s : shot.stroke(stroke)) {
        const double width = options.pressure_width ? options.line_width * s.pressure : options.line_width;
        placed.push_back({place(shot.info, space, s), width});
    }
    return placed;
}

}  // namespace vantix::signature
