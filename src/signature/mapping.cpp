// SPDX-License-Identifier: Apache-2.0
#include "mapping.hpp"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace vantix::signature {
namespace {

// The pad's own mapping, kept continuous: its floor is the pixel the pad inks.
double to_display(unsigned value, unsigned low, unsigned high, unsigned cells) {
    const double span = static_cast<double>(high) - low + 1.0;
    const double offset = static_cast<double>(value) - low;
    return std::clamp(offset * cells / span, 0.0, static_cast<double>(cells));
}

}  // namespace

bool known_space(const vantix_signature_space &space) {
    std::underlying_type_t<vantix_signature_space> value;
    std::memcpy(&value, &space, sizeof value);
    return value == VANTIX_SIGNATURE_SPACE_DISPLAY || value == VANTIX_SIGNATURE_SPACE_DIGITIZER;
}

frame frame_of(const vantix_signature_pad_info &info, vantix_signature_space space) {
    if (space == VANTIX_SIGNATURE_SPACE_DIGITIZER)
        return {static_cast<double>(info.x_min), static_cast<double>(info.y_min),
                static_cast<double>(info.x_max) - info.x_min + 1.0,
                static_cast<double>(info.y_max) - info.y_min + 1.0};
    return {0.0, 0.0, static_cast<double>(info.display_width), static_cast<double>(info.display_height)};
}

position place(const vantix_signature_pad_info &info, vantix_signature_space space, const sample &point) {
    if (space == VANTIX_SIGNATURE_SPACE_DIGITIZER)
        return {static_cast<double>(point.x), static_cast<double>(point.y)};
    return {to_display(point.x, info.active_x_min, info.active_x_max, info.display_width),
            to_display(point.y, info.active_y_min, info.active_y_max, info.display_height)};
}

}  // namespace vantix::signature
