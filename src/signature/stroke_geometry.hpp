// SPDX-License-Identifier: Apache-2.0
// Stroke geometry shared by the vector and raster exporters: where each
// point of a stroke lands and how wide the line is there.
#pragma once

#include <vector>

#include "mapping.hpp"

namespace vantix::signature {

struct placed_point {
    position at;
    double width;
};

// The x-range of the points of segment a-b that lie within `reach` of the
// row at height `y`, widened by `reach` on both sides: every point within
// `reach` of the segment on that row lies inside it. Empty (left > right)
// when the segment stays farther than `reach` from the row.
struct row_span {
    double left;
    double right;
};
row_span span_on_row(position a, position b, double y, double reach);

// A stroke's points in `space`, each with the line width it draws.
std::vector<placed_point> place_stroke(const snapshot &shot, std::size_t stroke, vantix_signature_space space,
                                       const vantix_signature_export_options &options);

}  // namespace vantix::signature
