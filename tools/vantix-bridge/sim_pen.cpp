// SPDX-License-Identifier: Apache-2.0
#include "sim_pen.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <cmath>

#include "pad_input.hpp"
#include "request_fields.hpp"
#include "vantix-padsim.h"

namespace bridge {

using std::chrono::steady_clock;

pen_point to_pen(const vantix_signature_pad_info &i, double x, double y, bool display) {
    if (display) {
        if (x < 0 || y < 0 || x > i.display_width || y > i.display_height)
            throw protocol_error("bad_field", "a point lies outside the display");
        return {to_digitizer(x, i.active_x_min, i.active_x_max, i.display_width),
                to_digitizer(y, i.active_y_min, i.active_y_max, i.display_height)};
    }
    if (x < i.x_min || x > i.x_max || y < i.y_min || y > i.y_max)
        throw protocol_error("bad_field", "a point lies outside the digitizer range");
    return {static_cast<int>(x), static_cast<int>(y)};
}

pen_point pen_point_of(const vantix_signature_pad_info &info, const json &message) {
    const json *x = field(message, "x"), *y = field(message, "y");
    if (!x || !x->is_number())
        bad_field("x", "a number");
    if (!y || !y->is_number())
        bad_field("y", "a number");
    return to_pen(info, x->get<double>(), y->get<double>(), display_space(message));
}

std::vector<pen_point> stroke_points(const vantix_signature_pad_info &info, const json &message) {
    const bool display = display_space(message);
    const json *points = field(message, "points");
    constexpr std::size_t max_points = 10000;
    if (!points || !points->is_array() || points->empty() || points->size() > max_points)
        bad_field("points", "an array of 1 to 10000 [x, y] pairs");
    std::vector<pen_point> out;
    for (const json &pt : *points) {
        if (!pt.is_array() || pt.size() != 2 || !pt[0].is_number() || !pt[1].is_number())
            bad_field("points", "an array of [x, y] number pairs");
        out.push_back(to_pen(info, pt[0].get<double>(), pt[1].get<double>(), display));
    }
    return out;
}

double stroke_rate(const json &message) {
    const json *value = field(message, "rate");
    if (!value)
        return 0;
    const double rate = value->is_number() ? value->get<double>() : -1;
    if (!(rate == 0 || (rate >= min_stroke_rate && rate <= max_stroke_rate)))
        bad_field("rate", "0 (all at once) or from 1 to 1000 samples a second");
    return rate;
}

// The samples' times on the service's clock.
struct pen_stroke::timing {
    explicit timing(boost::asio::io_context &io) : timer(io) {}
    boost::asio::steady_timer timer;
    steady_clock::duration interval{};
    steady_clock::time_point start;
};

pen_stroke::pen_stroke(boost::asio::io_context &io, int pad_index, std::vector<pen_point> points,
                       std::weak_ptr<client> to, json id)
    : timing_(std::make_unique<timing>(io)),
      index_(pad_index),
      points_(std::move(points)),
      to_(std::move(to)),
      id_(std::move(id)) {
    sent_.reserve(points_.size() + 1);
}

pen_stroke::~pen_stroke() = default;

std::shared_ptr<pen_stroke> pen_stroke::draw(boost::asio::io_context &io, int pad_index,
                                             std::vector<pen_point> points, double rate,
                                             std::weak_ptr<client> to, json id) {
    std::shared_ptr<pen_stroke> stroke(
        new pen_stroke(io, pad_index, std::move(points), std::move(to), std::move(id)));
    if (rate <= 0) {
        while (stroke->next_ <= stroke->points_.size())
            stroke->sample();
        stroke->finished();
        return stroke;
    }
    if (!(rate >= min_stroke_rate && rate <= max_stroke_rate))
        throw protocol_error("bad_field", "field 'rate' is out of range");
    // At most a second between samples and 10001 samples: no overflow.
    stroke->timing_->interval = std::chrono::duration_cast<steady_clock::duration>(
        std::chrono::nanoseconds(std::llround(1e9 / rate)));
    stroke->timing_->start = steady_clock::now();
    stroke->step();
    return stroke;
}

bool pen_stroke::drawing() const { return !cancelled_ && next_ <= points_.size(); }

void pen_stroke::cancel() {
    cancelled_ = true;
    timing_->timer.cancel();
}

void pen_stroke::sample() {
    const bool up = next_ == points_.size();
    const auto [x, y] = up ? points_.back() : points_[next_];
    sent_.push_back(event_time_us());
    vantix_padsim_pen_sample(index_, x, y, up ? 0 : 1);
    ++next_;
}

void pen_stroke::step() {
    if (cancelled_)
        return;
    sample();
    if (next_ > points_.size())
        return finished();
    timing_->timer.expires_at(timing_->start + timing_->interval * static_cast<long>(next_));
    timing_->timer.async_wait([self = shared_from_this()](const boost::system::error_code &ec) {
        if (!ec)
            self->step();
    });
}

void pen_stroke::finished() {
    if (auto to = to_.lock())
        reply(*to, id_, {{"type", "sim.done"}, {"samples", sent_.size()}, {"sent", sent_}});
}

}  // namespace bridge
