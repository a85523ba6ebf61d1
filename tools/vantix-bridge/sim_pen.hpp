// SPDX-License-Identifier: Apache-2.0
// The virtual pen (sim.* with --sim): points of a request in digitizer
// units, and strokes drawn sample by sample on the service's clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "bridge.hpp"
#include "vantix-signature.h"

namespace boost::asio {
class io_context;
}

namespace bridge {

using pen_point = std::pair<int, int>;  // digitizer units

// A point in display pixels (display) or digitizer units, refused with
// bad_field outside the display or the digitizer's range.
pen_point to_pen(const vantix_signature_pad_info &info, double x, double y, bool display);
// The point of a request's "x", "y" and "space".
pen_point pen_point_of(const vantix_signature_pad_info &info, const json &message);
// The points of a sim.stroke request ("points", "space").
std::vector<pen_point> stroke_points(const vantix_signature_pad_info &info, const json &message);

// sim.stroke's "rate": 0 (the default: all at once) or min_stroke_rate to
// max_stroke_rate samples a second; else bad_field.
constexpr double min_stroke_rate = 1;
constexpr double max_stroke_rate = 1000;
double stroke_rate(const json &message);

// A stroke the virtual pen draws: a pen-down sample at every point, then
// the pen-up at the last one; then sim.done goes to the client that asked.
class pen_stroke : public std::enable_shared_from_this<pen_stroke> {
public:
    // `rate` samples a second (stroke_rate's range), or all at once (before
    // this returns) when 0.
    static std::shared_ptr<pen_stroke> draw(boost::asio::io_context &io, int pad_index,
                                            std::vector<pen_point> points, double rate,
                                            std::weak_ptr<client> to, json id);
    ~pen_stroke();
    pen_stroke(const pen_stroke &) = delete;
    pen_stroke &operator=(const pen_stroke &) = delete;

    bool drawing() const;
    // No more samples, and no reply.
    void cancel();

private:
    struct timing;
    pen_stroke(boost::asio::io_context &io, int pad_index, std::vector<pen_point> points,
               std::weak_ptr<client> to, json id);
    void sample();  // the next sample
    void step();    // this sample, the next one at its time
    void finished();

    std::unique_ptr<timing> timing_;
    const int index_;
    const std::vector<pen_point> points_;
    std::size_t next_ = 0;  // points_.size() is the pen-up
    std::vector<std::uint64_t> sent_;
    const std::weak_ptr<client> to_;
    const json id_;
    bool cancelled_ = false;
};

}  // namespace bridge
