// SPDX-License-Identifier: Apache-2.0
// What the legacy and the store region printers share: the list around the
// records and the placement lines.
#pragma once

#include <cstdio>

#include "vantix-zelnar.h"

namespace vantix::display {

// The lines from "Reserved 1" to the colours, alike in both records
// (colours print as #AARRGGBB).
template <typename Common>
void print_placement(const Common &c, const vantix_color &f, const vantix_color &b) {
    std::printf("         Reserved 1: %hhu\n", c.reserved_1);
    std::printf("         Reserved 2: %u\n", static_cast<unsigned int>(c.reserved_2));
    std::printf("                 X1: %hu\n", c.x1);
    std::printf("                 Y1: %hu\n", c.y1);
    std::printf("                 X2: %hu\n", c.x2);
    std::printf("                 Y2: %hu\n", c.y2);
    std::printf("         Foreground: #%02x%02x%02x%02x\n", f.alpha, f.red, f.green, f.blue);
    std::printf("         Background: #%02x%02x%02x%02x\n", b.alpha, b.red, b.green, b.blue);
}

template <typename Region>
void print_region_list(const Region *regions, unsigned int count, void (*print)(const Region &)) {
    std::printf("vantix_device_region_info structure:\n");
    if (!regions) {
        std::printf("  NULL\n");
        return;
    }
    for (unsigned int i = 0; i < count; ++i)
        print(regions[i]);
}

}  // namespace vantix::display
