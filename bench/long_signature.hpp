// SPDX-License-Identifier: Apache-2.0
// The signature the sealing and document benchmarks sign with: 2,000
// points at 200 a second in strokes of 100, on an 800 x 480 display.
#pragma once

#include <cstdint>

#include "vantix-signature.h"

inline vantix_signature_capture *long_signature() {
    vantix_signature_pad_info info{};
    info.x_max = 4095, info.y_max = 4095, info.active_x_max = 4095, info.active_y_max = 4095;
    info.display_width = 800, info.display_height = 480;
    vantix_signature_capture *capture = vantix_signature_capture_new_with_info(&info);
    for (unsigned i = 0; i < 2000; ++i)
        vantix_signature_add_point(capture, static_cast<uint16_t>(i * 2), static_cast<uint16_t>(i % 400), 0.5f,
                                   i % 100 != 99, 5000u * i);
    return capture;
}
