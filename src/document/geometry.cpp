// SPDX-License-Identifier: Apache-2.0
#include "geometry.hpp"

#include <algorithm>

namespace vantix::document {

box normalized(double x1, double y1, double x2, double y2) {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

double page_view::visible_width() const { return rotation % 180 ? crop.height() : crop.width(); }
double page_view::visible_height() const { return rotation % 180 ? crop.width() : crop.height(); }

int normal_rotation(long long rotate) {
    if (rotate % 90)
        return 0;
    return static_cast<int>(((rotate % 360) + 360) % 360);
}

namespace {

struct point {
    double x, y;
};

// One visible point (u, v) in user space. Turning the page clockwise by 90
// shows its user x' = W - v, y' = u (relative to the crop box's corner).
point user_point(const page_view &page, double u, double v) {
    const double w = page.crop.width(), h = page.crop.height();
    point relative{u, v};
    switch (page.rotation) {
    case 90: relative = {w - v, u}; break;
    case 180: relative = {w - u, h - v}; break;
    case 270: relative = {v, h - u}; break;
    }
    return {page.crop.left + relative.x, page.crop.bottom + relative.y};
}

}  // namespace

box to_user(const page_view &page, const box &visible) {
    const point a = user_point(page, visible.left, visible.bottom);
    const point b = user_point(page, visible.right, visible.top);
    return normalized(a.x, a.y, b.x, b.y);
}

bool on_page(const page_view &page, const box &visible) {
    return visible.left >= 0 && visible.bottom >= 0 && visible.right <= page.visible_width() &&
           visible.top <= page.visible_height();
}

std::array<double, 6> upright_matrix(int rotation) {
    switch (rotation) {
    case 90: return {0, 1, -1, 0, 0, 0};
    case 180: return {-1, 0, 0, -1, 0, 0};
    case 270: return {0, -1, 1, 0, 0, 0};
    default: return {1, 0, 0, 1, 0, 0};
    }
}

std::array<double, 6> fit_matrix(const box &ink, double width, double height) {
    const double ink_width = std::max(ink.width(), 1e-6), ink_height = std::max(ink.height(), 1e-6);
    const double scale = std::min(width / ink_width, height / ink_height);
    const double left = (width - ink_width * scale) / 2, top = height - (height - ink_height * scale) / 2;
    // x' = left + (x - ink.left) * scale, y' = top - (y - ink.bottom) * scale,
    // where ink.bottom is the smaller y: the ink's top edge in the export.
    return {scale, 0, 0, -scale, left - ink.left * scale, top + ink.bottom * scale};
}

}  // namespace vantix::document
