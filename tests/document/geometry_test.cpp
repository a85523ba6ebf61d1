// SPDX-License-Identifier: Apache-2.0
// Page geometry: a rectangle given as the page is shown lands where a
// reader shows it, for every rotation and a crop box off the origin.
#include <gtest/gtest.h>

#include "document/geometry.hpp"

namespace vantix::document {
namespace {

void expect_box(const box &got, const box &want) {
    EXPECT_DOUBLE_EQ(got.left, want.left);
    EXPECT_DOUBLE_EQ(got.bottom, want.bottom);
    EXPECT_DOUBLE_EQ(got.right, want.right);
    EXPECT_DOUBLE_EQ(got.top, want.top);
}

TEST(document_geometry, VisibleRectanglesLandInUserSpace) {
    // A crop box of 400 x 600 at (50, 100); the rectangle 10,20 30 x 40 as shown.
    const box crop{50, 100, 450, 700}, visible{10, 20, 40, 60};
    const struct {
        long long rotate;
        box user;
        double shown_width, shown_height;
    } cases[] = {
        {0, {60, 120, 90, 160}, 400, 600},
        {90, {390, 110, 430, 140}, 600, 400},    // shown x runs up the page, shown y from its right edge
        {-270, {390, 110, 430, 140}, 600, 400},  // the same turn, written negative
        {180, {410, 640, 440, 680}, 400, 600},
        {270, {70, 660, 110, 690}, 600, 400},
        {45, {60, 120, 90, 160}, 400, 600},  // not a quarter turn: readers show it upright
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rotate);
        const page_view page{crop, normal_rotation(c.rotate)};
        expect_box(to_user(page, visible), c.user);
        EXPECT_DOUBLE_EQ(page.visible_width(), c.shown_width);
        EXPECT_DOUBLE_EQ(page.visible_height(), c.shown_height);
        EXPECT_TRUE(on_page(page, visible));
        EXPECT_FALSE(on_page(page, {c.shown_width - 10, 0, c.shown_width + 1, 10}));
        EXPECT_FALSE(on_page(page, {-1, 0, 10, 10}));
    }
}

TEST(document_geometry, InkFitsCentredKeepingItsAspect) {
    // Ink 100 x 20 (y down) into 50 x 50: scale 0.5, centred vertically.
    const std::array<double, 6> m = fit_matrix({10, 30, 110, 50}, 50, 50);
    const auto apply = [&m](double x, double y) {
        return std::array<double, 2>{m[0] * x + m[4], m[3] * y + m[5]};
    };
    EXPECT_DOUBLE_EQ(apply(10, 30)[0], 0);  // the ink's top left corner
    EXPECT_DOUBLE_EQ(apply(10, 30)[1], 30);
    EXPECT_DOUBLE_EQ(apply(110, 50)[0], 50);  // its bottom right
    EXPECT_DOUBLE_EQ(apply(110, 50)[1], 20);
}

}  // namespace
}  // namespace vantix::document
