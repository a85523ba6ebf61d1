// SPDX-License-Identifier: Apache-2.0
// Fitting a picture to the pad's display and reducing it to one bit.
#include <algorithm>
#include <vector>

#include "image.hpp"

namespace tool {

// Output index o averages source indices [o * source / fitted, the next
// one's start), at least one; the ranges only grow with o, so the outputs
// a source index adds to are consecutive.
std::vector<fitter::cover> fitter::covers(unsigned source, unsigned fitted) {
    std::vector<cover> out(source, cover{1, 0});
    for (unsigned o = 0; o < fitted; ++o) {
        const unsigned from = static_cast<unsigned>(std::uint64_t{o} * source / fitted);
        const unsigned to = std::max(from + 1, static_cast<unsigned>(std::uint64_t{o + 1} * source / fitted));
        for (unsigned s = from; s < to; ++s) {
            if (out[s].first > out[s].last)
                out[s].first = o;
            out[s].last = o;
        }
    }
    return out;
}

void fitter::begin(unsigned width, unsigned height) {
    const unsigned w = out_.width, h = out_.height;
    if (width == 0 || height == 0 || w == 0 || h == 0)
        return;
    // The larger shrink of the two sides keeps the aspect.
    const double scale = std::min(double(w) / width, double(h) / height);
    fw_ = std::max(1u, unsigned(width * scale));
    fh_ = std::max(1u, unsigned(height * scale));
    left_ = (w - fw_) / 2;
    top_ = (h - fh_) / 2;
    columns_ = covers(width, fw_);
    rows_ = covers(height, fh_);
    column_weight_.assign(fw_, 0);
    row_weight_.assign(fh_, 0);
    for (const cover &c : columns_)
        for (unsigned o = c.first; o <= c.last; ++o)
            ++column_weight_[o];
    for (const cover &c : rows_)
        for (unsigned o = c.first; o <= c.last; ++o)
            ++row_weight_[o];
    sums_.assign(std::size_t{fw_} * fh_ * 3, 0);
}

void fitter::pixels(unsigned y, unsigned first, unsigned stride, const std::uint8_t *rgb, unsigned count) {
    if (sums_.empty() || y >= rows_.size())
        return;
    const cover rows = rows_[y];
    for (unsigned i = 0; i < count; ++i, rgb += 3) {
        const std::size_t x = first + std::size_t{i} * stride;
        if (x >= columns_.size())
            return;
        const cover columns = columns_[x];
        for (unsigned oy = rows.first; oy <= rows.last; ++oy)
            for (unsigned ox = columns.first; ox <= columns.last; ++ox) {
                std::uint64_t *sum = &sums_[(std::size_t{oy} * fw_ + ox) * 3];
                sum[0] += rgb[0], sum[1] += rgb[1], sum[2] += rgb[2];
            }
    }
}

image fitter::result() const {
    image out = out_;
    if (sums_.empty())
        return out;
    for (unsigned y = 0; y < fh_; ++y)
        for (unsigned x = 0; x < fw_; ++x) {
            const std::uint64_t count = std::uint64_t{column_weight_[x]} * row_weight_[y];
            const std::uint64_t *sum = &sums_[(std::size_t{y} * fw_ + x) * 3];
            std::uint8_t *px = out.at(left_ + x, top_ + y);
            for (int c = 0; c < 3; ++c)
                px[c] = static_cast<std::uint8_t>(sum[c] / count);
        }
    return out;
}

image fit(const image &picture, unsigned w, unsigned h) {
    fitter f(w, h);
    f.begin(picture.width, picture.height);
    for (unsigned y = 0; y < picture.height && picture.width > 0; ++y)
        f.pixels(y, 0, 1, picture.at(0, y), picture.width);
    return f.result();
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
