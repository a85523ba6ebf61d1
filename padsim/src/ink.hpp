// SPDX-License-Identifier: Apache-2.0
// Ink, as the pad firmware lays it: while the pen is down inside a container
// region that takes ink, each sample joins the previous one with a line of
// the region's ink width in its foreground colour, kept inside the region.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "padsim/pad.hpp"
#include "padsim/region.hpp"
#include "padsim/screen.hpp"

namespace padsim {

class ink_trail {
public:
    // One pen sample at display pixel `at` (nothing: off the display) over
    // region number `hit` of `regions` (0: none).
    void sample(screen &display, const std::vector<region> &regions, std::uint8_t hit,
                std::optional<point> at, bool down);

private:
    std::optional<point> last_;
    std::uint8_t region_ = 0;
};

}  // namespace padsim
