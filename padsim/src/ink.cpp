// SPDX-License-Identifier: Apache-2.0
// Pen ink on the virtual pad's display.
#include "ink.hpp"

#include "vantix-zelnar.h"

namespace padsim {

void ink_trail::sample(screen &display, const std::vector<region> &regions, std::uint8_t hit,
                       std::optional<point> at, bool down) {
    const region *inking = nullptr;
    if (down && at && hit >= 1 && hit <= regions.size()) {
        const region &r = regions[hit - 1u];
        if (r.in_use && r.type == VANTIX_REGION_TYPE_CONTAINER && r.ink_enable)
            inking = &r;
    }
    if (!inking) {
        last_.reset();  // lifting the pen or leaving the region ends the line
        return;
    }
    // A stroke entering the region starts afresh rather than joining a
    // point outside it.
    const point from = last_ && region_ == hit ? *last_ : *at;
    const rgb colour{inking->foreground[0], inking->foreground[1], inking->foreground[2]};
    display.line(from.x, from.y, at->x, at->y, inking->ink_width, colour,
                 {inking->x1, inking->y1, inking->x2, inking->y2});
    last_ = at;
    region_ = hit;
}

}  // namespace padsim
