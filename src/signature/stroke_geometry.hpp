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

// A stroke's points in `space`, each with the line width it draws.
std::vector<placed_point> place_stroke(const snapshot &shot, std::size_t stroke, vantix_signature_space space,
                                       const vantix_signature_export_options &options);

}  // namespace vantix::signature
