// SPDX-License-Identifier: Apache-2.0
// The smoothed path of a stroke, shared by the vector exporters (SVG and
// PDF content): Catmull-Rom curves through the points, as a centre line or,
// with pressure width, as a closed outline with round caps.
#pragma once

#include <vector>

#include "stroke_geometry.hpp"

namespace vantix::signature {

struct path_step {
    enum kind { move, line, cubic, cap } what;
    position c1{}, c2{};  // cubic: the control points
    position to{};
    double radius = 0;  // cap: a half circle of this radius, turning like SVG's sweep flag 0
};

// The centre line of a stroke (drawn with a stroked pen) or, with
// `outline`, its filled outline.
std::vector<path_step> stroke_path(const std::vector<placed_point> &stroke, bool outline);

}  // namespace vantix::signature
