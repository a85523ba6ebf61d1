// SPDX-License-Identifier: Apache-2.0
#include "sim_script.hpp"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string_view>

#include "vantix-padsim.h"

namespace tool {
namespace {

// The signature as control points on a handwriting grid: y grows downwards,
// the baseline is at 36, capitals reach up to about 4, the J's loop down to
// 45. A smooth curve runs through each stroke's points.
struct grid_point {
    int x, y;
};
constexpr grid_point letter_j[] = {{6, 17},  {11, 8},  {22, 3}, {33, 5},  {30, 14}, {26, 26}, {22, 37},
                                   {17, 44}, {10, 45}, {7, 41}, {11, 36}, {20, 34}, {29, 32}};
constexpr grid_point full_stop[] = {{37, 35}, {38, 36}};
constexpr grid_point letter_d[] = {{56, 7},  {54, 20}, {52, 36}, {48, 38}, {46, 35}, {51, 33}, {62, 36},
                                   {73, 31}, {79, 20}, {75, 9},  {62, 4},  {50, 6},  {45, 11}};
constexpr grid_point letters_oe[] = {{92, 25},  {86, 27},  {84, 33},  {88, 37},  {94, 34},  {95, 28},
                                     {91, 24},  {97, 31},  {105, 31}, {110, 27}, {107, 23}, {102, 26},
                                     {102, 34}, {109, 37}, {118, 35}, {127, 29}};
constexpr grid_point underline[] = {{38, 43}, {60, 41}, {100, 40}, {140, 38}, {158, 34}, {162, 31}};
constexpr std::span<const grid_point> strokes[] = {letter_j, full_stop, letter_d, letters_oe, underline};

// Grid to digitizer: 12 units across and 10 down per grid step, slanted
// right by 0.3 of the height above the baseline.
constexpr double origin_x = 1000, origin_y = 300, step_x = 12, step_y = 10, slant = 0.3, baseline = 36;

struct spot {
    double x, y;
};

spot on_grid(const grid_point &p) { return {p.x + slant * (baseline - p.y), double(p.y)}; }

pen_point to_digitizer(spot s) {
    return {static_cast<int>(origin_x + step_x * s.x + 0.5), static_cast<int>(origin_y + step_y * s.y + 0.5)};
}

// Catmull-Rom between b and c, with a and d the points around them.
spot between(spot a, spot b, spot c, spot d, double t) {
    const auto blend = [t](double p0, double p1, double p2, double p3) {
        return 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                      (3 * p1 - p0 - 3 * p2 + p3) * t * t * t);
    };
    return {blend(a.x, b.x, c.x, d.x), blend(a.y, b.y, c.y, d.y)};
}

// A pen samples at a steady rate, so the gaps between samples are its
// speed. The same number of samples per segment makes long sweeps fast and
// tight turns slow, and the pen starts and stops gently.
std::vector<pen_point> sample(std::span<const grid_point> control) {
    constexpr int per_segment = 4;
    const std::size_t last = control.size() - 1;
    const auto at = [&](std::size_t i) { return on_grid(control[std::min(i, last)]); };
    std::vector<pen_point> out;
    for (std::size_t i = 0; i < last; ++i)
        for (int k = 0; k < per_segment; ++k) {
            double t = double(k) / per_segment;
            if (i == 0)
                t *= t;
            else if (i + 1 == last)
                t = 1 - (1 - t) * (1 - t);
            out.push_back(to_digitizer(between(at(i == 0 ? 0 : i - 1), at(i), at(i + 1), at(i + 2), t)));
        }
    out.push_back(to_digitizer(at(last)));
    return out;
}

void play(int index, const std::vector<pen_point> &points) {
    std::vector<int> xy;
    for (const auto &[x, y] : points)
        xy.insert(xy.end(), {x, y});
    vantix_padsim_stroke(index, xy.data(), static_cast<int>(points.size()));
}

}  // namespace

int sim_index(const vantix_device &device) {
    constexpr std::string_view prefix = "sim:";
    const std::string_view path = device.path ? device.path : "";
    return path.starts_with(prefix) ? std::atoi(path.data() + prefix.size()) : 0;
}

std::vector<std::vector<pen_point>> scripted_signature() {
    std::vector<std::vector<pen_point>> out;
    for (std::span<const grid_point> control : strokes)
        out.push_back(sample(control));
    return out;
}

void play_stroke(int index) { play(index, sample(strokes[0])); }

void play_signature(int index) {
    for (const std::vector<pen_point> &stroke : scripted_signature())
        play(index, stroke);
}

}  // namespace tool
