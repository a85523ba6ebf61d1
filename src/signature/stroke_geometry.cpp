// SPDX-License-Identifier: Apache-2.0
#include "stroke_geometry.hpp"

namespace vantix::signature {

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
