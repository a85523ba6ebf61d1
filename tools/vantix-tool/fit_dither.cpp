// SPDX-License-Identifier: Apache-2.0
// Fitting a picture to the pad's display and reducing it to one bit.
#include <algorithm>
#include <vector>

#include "image.hpp"

namespace tool {

image fit(const image &picture, unsigned w, unsigned h) {
    image out(w, h);
    if (picture.width == 0 || picture.height == 0 || w == 0 || h == 0)
        return out;
    // The larger shrink of the two sides keeps the aspect.
    const double scale = std::min(double(w) / picture.width, double(h) / picture.height);
    const unsigned fw = std::max(1u, unsigned(picture.width * scale)),
                   fh = std::max(1u, unsigned(picture.height * scale));
    const unsigned left = (w - fw) / 2, top = (h - fh) / 2;
    // Each output pixel averages the source pixels it covers (box filter),
    // so thin lines survive a large reduction.
    for (unsigned y = 0; y < fh; ++y) {
        const unsigned sy0 = y * picture.height / fh, sy1 = std::max(sy0 + 1, (y + 1) * picture.height / fh);
        for (unsigned x = 0; x < fw; ++x) {
            const unsigned sx0 = x * picture.width / fw,
                           sx1 = std::max(sx0 + 1, (x + 1) * picture.width / fw);
            unsigned sum[3] = {0, 0, 0}, count = 0;
            for (unsigned sy = sy0; sy < sy1; ++sy)
                for (unsigned sx = sx0; sx < sx1; ++sx, ++count)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += picture.at(sx, sy)[c];
            for (int c = 0; c < 3; ++c)
                out.at(left + x, top + y)[c] = static_cast<std::uint8_t>(sum[c] / count);
        }
    }
    return out;
}

void dither_to_black_and_white(image &picture) {
    const unsigned w = picture.width;
    // Error of this row and the next, one guard column on each side.
    std::vector<int> current(w + 2, 0), next(w + 2, 0);
    for (unsigned y = 0; y < picture.height; ++y) {
        for (unsigned x = 0; x < w; ++x) {
            std::uint8_t *px = picture.at(x, y);
            const int luminance = (299 * px[0] + 587 * px[1] + 114 * px[2]) / 1000;
            const int wanted = luminance + current[x + 1] / 16;
            const int shown = wanted < 128 ? 0 : 255;
            const int error = wanted - shown;
            current[x + 2] += error * 7;
            next[x] += error * 3;
            next[x + 1] += error * 5;
            next[x + 2] += error * 1;
            px[0] = px[1] = px[2] = static_cast<std::uint8_t>(shown);
        }
        std::swap(current, next);
        std::fill(next.begin(), next.end(), 0);
    }
}

}  // namespace tool
