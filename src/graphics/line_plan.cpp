// SPDX-License-Identifier: Apache-2.0
// Closed forms of the line walks. Every step moves one pixel along the
// major axis; after n steps the walk has taken j(n) minor steps, where
//   plain:   j(n) = floor((2 dm n + dM) / (2 dM))
//   blended: j(n) = floor(dm (2n + 1) / (2 dM))
// (dM, dm: the major and minor lengths), and the error term is
// dx - dy + dx * (y steps) - dy * (x steps). Products of two lengths and a
// step count need more than 64 bits.
#include "graphics/line_plan.hpp"

#include <algorithm>

namespace vantix::graphics {
namespace {

__extension__ typedef __int128 wide;

}  // namespace

line_plan::line_plan(const vantix_bitmap &bmp, int64_t x0, int64_t y0, const line_terms &t, step_rule rule,
                     int64_t margin, bool minor_runs)
    : x0_(x0), y0_(y0), t_(t), rule_(rule), x_major_(t.dx >= t.dy), steps_(std::max(t.dx, t.dy)) {
    const int64_t major_size = x_major_ ? bmp.width : bmp.height;
    const int64_t minor_size = x_major_ ? bmp.height : bmp.width;
    // Most lines lie near the bitmap from end to end: no search for them.
    auto near = [&](int64_t x, int64_t y) {
        return x >= -margin && y >= -margin && x < int64_t{bmp.width} + margin &&
               y < int64_t{bmp.height} + margin;
    };
    if (near(x0, y0) && near(x0 + t.sx * t.dx, y0 + t.sy * t.dy)) {
        near_ = {0, steps_};
        minor_rows_ = {0, -1};
        return;
    }
    const step_range major = major_within(-margin, major_size - 1 + margin);
    const step_range minor = minor_within(-margin, minor_size - 1 + margin);
    near_ = {std::max(major.first, minor.first), std::min(major.last, minor.last)};
    minor_rows_ = minor_runs ? minor_within(0, minor_size - 1) : step_range{0, -1};
}

int64_t line_plan::next(int64_t n) const {
    // Before the main pixel comes near, only a minor step on one of the
    // bitmap's rows (columns, for a steep line) can write: its run along
    // the major axis may reach the bitmap.
    if (n < near_.first && n <= minor_rows_.last) {
        const int64_t from = std::max(n, minor_rows_.first);
        const int64_t minor_step = first_with_minor_steps(minor_steps(from) + 1) - 1;
        if (minor_step < near_.first && minor_step <= minor_rows_.last)
            return minor_step;
    }
    n = std::max(n, near_.first);
    return n <= near_.last ? n : -1;
}

walk_state line_plan::at(int64_t n) const {
    const int64_t j = minor_steps(n);
    const int64_t x_steps = x_major_ ? n : j, y_steps = x_major_ ? j : n;
    const wide err = wide{t_.dx} - t_.dy + wide{t_.dx} * y_steps - wide{t_.dy} * x_steps;
    return {x0_ + t_.sx * x_steps, y0_ + t_.sy * y_steps, static_cast<int64_t>(err)};
}

int64_t line_plan::minor_steps(int64_t n) const {
    const int64_t major = x_major_ ? t_.dx : t_.dy, minor = x_major_ ? t_.dy : t_.dx;
    if (major == 0)
        return 0;
    const wide numerator =
        rule_ == step_rule::plain ? 2 * wide{minor} * n + major : wide{minor} * (2 * wide{n} + 1);
    return static_cast<int64_t>(numerator / (2 * wide{major}));
}

// The first step n in 0..steps_ with j(n) >= count, steps_ + 1 when none
// (j grows with n).
int64_t line_plan::first_with_minor_steps(int64_t count) const {
    int64_t lo = 0, hi = steps_ + 1;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (minor_steps(mid) >= count)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Steps whose major coordinate lies in lo..hi.
line_plan::step_range line_plan::major_within(int64_t lo, int64_t hi) const {
    const int64_t start = x_major_ ? x0_ : y0_, sign = x_major_ ? t_.sx : t_.sy;
    const int64_t first = sign > 0 ? lo - start : start - hi, last = sign > 0 ? hi - start : start - lo;
    return {std::max<int64_t>(first, 0), std::min(last, steps_)};
}

// Steps whose minor coordinate lies in lo..hi.
line_plan::step_range line_plan::minor_within(int64_t lo, int64_t hi) const {
    const int64_t start = x_major_ ? y0_ : x0_, sign = x_major_ ? t_.sy : t_.sx;
    const int64_t fewest = sign > 0 ? lo - start : start - hi, most = sign > 0 ? hi - start : start - lo;
    if (most < 0)
        return {0, -1};
    return {first_with_minor_steps(fewest), first_with_minor_steps(most + 1) - 1};
}

}  // namespace vantix::graphics
