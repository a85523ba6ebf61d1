// SPDX-License-Identifier: Apache-2.0
// Which steps of an error-term line walk can reach the bitmap, and the
// walk's state at any step without walking there: a line with far-away
// ends costs what its visible part costs, and draws the same pixels.
#pragma once

#include <cstdint>

#include "graphics/line_walk.hpp"

namespace vantix::graphics {

// The walks step on different thresholds of the error term: the one-pixel
// line takes its minor step when 2 err <= dx (x-major), the anti-aliased
// and thick walks when 2 err <= dy.
enum class step_rule { plain, blended };

struct walk_state {
    int64_t x, y, err;
};

class line_plan {
public:
    // `margin`: how far from its main pixel a step writes across the line;
    // `minor_runs`: whether a minor step also writes a run along the major
    // axis (the thick walk), which can reach the bitmap from far before it.
    line_plan(const vantix_bitmap &bmp, int64_t x0, int64_t y0, const line_terms &t, step_rule rule,
              int64_t margin, bool minor_runs);

    // The first step at or after `n` that can write a pixel on the bitmap,
    // or -1 when there is none.
    int64_t next(int64_t n) const;
    // Position and error term at the start of step `n`.
    walk_state at(int64_t n) const;

private:
    struct step_range {
        int64_t first, last;  // empty when first > last
    };
    int64_t minor_steps(int64_t n) const;
    int64_t first_with_minor_steps(int64_t count) const;
    step_range major_within(int64_t lo, int64_t hi) const;
    step_range minor_within(int64_t lo, int64_t hi) const;

    int64_t x0_, y0_;
    line_terms t_;
    step_rule rule_;
    bool x_major_;
    int64_t steps_;          // the walk's last step: the length of its major axis
    step_range near_;        // steps whose main pixel is within the margin of the bitmap
    step_range minor_rows_;  // steps whose minor coordinate is on the bitmap (with minor runs)
};

// Runs `step` on the walk's state for every step the plan keeps, taking up
// the state afresh after a jump; `step` moves the state on by one and
// returns false where the walk ends.
template <class Step>
void walk(const line_plan &plan, Step &&step) {
    walk_state s{};
    for (int64_t n = plan.next(0), expected = -1; n >= 0; expected = n + 1, n = plan.next(n + 1)) {
        if (n != expected)
            s = plan.at(n);
        if (!step(s))
            return;
    }
}

}  // namespace vantix::graphics
