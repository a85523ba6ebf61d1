// SPDX-License-Identifier: Apache-2.0
#include "capture.hpp"

#include <algorithm>
#include <chrono>
#include <iterator>

namespace vantix::signature {
namespace {

std::uint64_t utc_now_us() {
    // The system clock counts from the Unix epoch (UTC, leap seconds not counted).
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(since).count());
}

}  // namespace

std::span<const sample> snapshot::stroke(std::size_t index) const {
    const std::size_t begin = stroke_starts[index];
    const std::size_t end = index + 1 < stroke_starts.size() ? stroke_starts[index + 1] : points.size();
    return std::span<const sample>(points).subspan(begin, end - begin);
}

capture::capture(const vantix_signature_pad_info &info) : info_(info) {
    // A typical signature fits, so feeding rarely reallocates.
    points_.reserve(1024);
}

bool capture::add(std::uint16_t x, std::uint16_t y, float pressure, bool down, std::uint64_t time_us) {
    const std::lock_guard lock(mutex_);
    if (!down) {
        pen_down_ = false;
        return true;
    }
    if (points_.size() >= VANTIX_SIGNATURE_MAX_POINTS)
        return false;
    if (!pen_down_)
        stroke_starts_.push_back(points_.size());
    pen_down_ = true;
    // Later exports assume time never runs backwards within a capture.
    if (!points_.empty())
        time_us = std::max(time_us, points_.back().time_us);
    else
        start_utc_us_ = utc_now_us();
    points_.push_back({x, y, std::clamp(pressure, 0.0f, 1.0f), time_us});
    return true;
}

void capture::end_stroke() {
    const std::lock_guard lock(mutex_);
    pen_down_ = false;
}

void capture::clear() {
    const std::lock_guard lock(mutex_);
    points_.clear();
    stroke_starts_.clear();
    pen_down_ = false;
    start_utc_us_ = 0;
}

bool capture::undo_stroke() {
    const std::lock_guard lock(mutex_);
    if (stroke_starts_.empty())
        return false;
    points_.resize(stroke_starts_.back());
    stroke_starts_.pop_back();
    pen_down_ = false;
    if (points_.empty())
        start_utc_us_ = 0;
    return true;
}

void capture::set_start_utc(std::uint64_t utc_us) {
    const std::lock_guard lock(mutex_);
    start_utc_us_ = utc_us;
}

std::size_t capture::point_count() const {
    const std::lock_guard lock(mutex_);
    return points_.size();
}

std::size_t capture::stroke_count() const {
    const std::lock_guard lock(mutex_);
    return stroke_starts_.size();
}

bool capture::point(std::size_t index, vantix_signature_point &out) const {
    const std::lock_guard lock(mutex_);
    if (index >= points_.size())
        return false;
    const sample &s = points_[index];
    const auto next = std::upper_bound(stroke_starts_.begin(), stroke_starts_.end(), index);
    out = {s.x, s.y, s.pressure, s.time_us,
           static_cast<std::uint32_t>(std::distance(stroke_starts_.begin(), next) - 1)};
    return true;
}

snapshot capture::copy() const {
    const std::lock_guard lock(mutex_);
    return {info_, points_, stroke_starts_, start_utc_us_};
}

void capture::set_event_sink(event_sink sink) {
    const std::lock_guard lock(mutex_);
    sink_ = sink;
}

capture::event_sink capture::sink() const {
    const std::lock_guard lock(mutex_);
    return sink_;
}

}  // namespace vantix::signature
