// SPDX-License-Identifier: Apache-2.0
// Page geometry: what a reader of the page sees (its crop box turned by its
// /Rotate) against the page's own user space, where annotations live.
#pragma once

#include <array>

namespace vantix::document {

struct box {
    double left, bottom, right, top;
    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

// The edges of `a`, `b` in order, whichever corner a file names first.
box normalized(double x1, double y1, double x2, double y2);

struct page_view {
    box crop;      // in user space
    int rotation;  // 0, 90, 180 or 270, clockwise as shown
    double visible_width() const;
    double visible_height() const;
};

// A multiple of 90 in [0, 360) for any /Rotate a file holds; other values
// (which readers ignore) read as 0.
int normal_rotation(long long rotate);

// A rectangle given in visible coordinates, in user space.
box to_user(const page_view &page, const box &visible);
// Whether the visible rectangle lies on the visible page.
bool on_page(const page_view &page, const box &visible);

// The appearance /Matrix that turns content drawn upright (as seen) into
// user space for a page turned by `rotation`.
std::array<double, 6> upright_matrix(int rotation);

// The ink's box (in the export's units, y down) fitted into a width x height
// box (y up), centred, keeping its aspect: the cm matrix for the ink.
std::array<double, 6> fit_matrix(const box &ink, double width, double height);

}  // namespace vantix::document
