// SPDX-License-Identifier: Apache-2.0
// The buttons the pad paints itself.
#include "caption.hpp"
#include "display.hpp"
#include "vantix-zelnar.h"

namespace padsim::display {

rgb colour_of(const std::array<std::uint8_t, 4> &rgba, rgb when_transparent) {
    return rgba[3] == 0 ? when_transparent : rgb{rgba[0], rgba[1], rgba[2]};
}

void show_buttons(screen &display, const std::vector<region> &regions) {
    display.clear();
    for (const region &r : regions) {
        if (r.type != VANTIX_REGION_TYPE_BUTTON || !r.in_use || !r.visible || r.use_resource ||
            r.caption.empty() || r.x2 < r.x1 || r.y2 < r.y1)
            continue;
        const rgb ink = colour_of(r.foreground, black);
        pixel_box inside{r.x1, r.y1, r.x2, r.y2};
        if (r.has_frame) {
            // Four one-pixel sides.
            for (pixel_box side : {pixel_box{r.x1, r.y1, r.x2, r.y1}, pixel_box{r.x1, r.y2, r.x2, r.y2},
                                   pixel_box{r.x1, r.y1, r.x1, r.y2}, pixel_box{r.x2, r.y1, r.x2, r.y2}})
                display.fill(side, ink);
            inside = {inside.x1 + 1, inside.y1 + 1, inside.x2 - 1, inside.y2 - 1};
        }
        caption::draw_centred(display, r.caption, inside, ink);
    }
}

}  // namespace padsim::display
