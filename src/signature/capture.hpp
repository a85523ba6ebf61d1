// SPDX-License-Identifier: Apache-2.0
// The capture: points and stroke boundaries of one signature, guarded by
// a mutex because the read thread feeds it while others export.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "vantix-signature.h"

namespace vantix::signature {

struct sample {
    std::uint16_t x;
    std::uint16_t y;
    float pressure;
    std::uint64_t time_us;
};

// A consistent copy of a capture, which exporters render without the lock.
struct snapshot {
    vantix_signature_pad_info info;
    std::vector<sample> points;
    std::vector<std::size_t> stroke_starts;  // index of each stroke's first point
    std::uint64_t start_utc_us;              // wall-clock time of the first point, 0 without one

    std::size_t stroke_count() const { return stroke_starts.size(); }
    std::span<const sample> stroke(std::size_t index) const;
};

class capture {
public:
    explicit capture(const vantix_signature_pad_info &info);

    // False when the capture is full.
    bool add(std::uint16_t x, std::uint16_t y, float pressure, bool down, std::uint64_t time_us);
    // The pen left the signing area (lifted, or on a button): the next
    // pen-down sample begins a new stroke.
    void end_stroke();
    void clear();
    bool undo_stroke();
    // Dates a capture rebuilt from a record by the record's start, not by
    // the time it was rebuilt.
    void set_start_utc(std::uint64_t utc_us);

    std::size_t point_count() const;
    std::size_t stroke_count() const;
    bool point(std::size_t index, vantix_signature_point &out) const;
    snapshot copy() const;
    const vantix_signature_pad_info &info() const { return info_; }  // fixed at creation

    struct event_sink {
        vantix_signature_event_callback callback = nullptr;
        void *user_data = nullptr;
    };
    void set_event_sink(event_sink sink);
    event_sink sink() const;

private:
    const vantix_signature_pad_info info_;
    mutable std::mutex mutex_;
    std::vector<sample> points_;
    std::vector<std::size_t> stroke_starts_;
    bool pen_down_ = false;
    // Sample times are on the steady clock, good for intervals only; the
    // wall-clock (UTC) time of the first point dates the signature.
    std::uint64_t start_utc_us_ = 0;
    event_sink sink_;
};

}  // namespace vantix::signature

// The public handle is the capture itself.
struct vantix_signature_capture : vantix::signature::capture {
    using capture::capture;
};
