// SPDX-License-Identifier: Apache-2.0
// A bitmap with its own buffer for graphics tests, and ways to look at it.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "vantix-zelnar.h"

namespace vantix::test {

struct canvas {
    static constexpr vantix_gcolor paper = 0xFFFFFFFF;
    using point = std::pair<int, int>;

    std::vector<unsigned char> buffer;
    vantix_bitmap bmp{};

    canvas(int32_t w, int32_t h) : buffer(54 + static_cast<size_t>((24 * w + 31) / 32 * 4 * h)) {
        vantix_bitmap_init(&bmp, buffer.data(), w, h);
    }

    // Every pixel in row order.
    std::vector<vantix_gcolor> pixels() const {
        std::vector<vantix_gcolor> out;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x)
                out.push_back(vantix_get_pixel(&bmp, x, y));
        return out;
    }

    // Every pixel that is no longer white, with its colour.
    std::map<point, vantix_gcolor> marked() const {
        std::map<point, vantix_gcolor> out;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x)
                if (vantix_get_pixel(&bmp, x, y) != paper)
                    out[{x, y}] = vantix_get_pixel(&bmp, x, y);
        return out;
    }

    // The positions of those pixels, optionally within columns [x_from, x_to).
    std::set<point> inked(int x_from = 0, int x_to = INT_MAX) const {
        std::set<point> out;
        for (const auto &[p, colour] : marked())
            if (p.first >= x_from && p.first < x_to)
                out.insert(p);
        return out;
    }
};

}  // namespace vantix::test
