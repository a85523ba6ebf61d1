// SPDX-License-Identifier: Apache-2.0
// Where a point lands in an output space: digitizer units as reported, or
// display pixels by mapping the pad's active area onto its display.
#pragma once

#include "capture.hpp"

namespace vantix::signature {

struct position {
    double x;
    double y;
};

// The rectangle of a space that every point lands in.
struct frame {
    double left;
    double top;
    double width;
    double height;
};

// Whether a caller's space is one of ours. C callers may store any value,
// so it is read as its bytes, not loaded as the enumeration.
bool known_space(const vantix_signature_space &space);

frame frame_of(const vantix_signature_pad_info &info, vantix_signature_space space);
position place(const vantix_signature_pad_info &info, vantix_signature_space space, const sample &point);

}  // namespace vantix::signature
