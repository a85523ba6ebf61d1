// SPDX-License-Identifier: Apache-2.0
// Pen samples numbered in their x coordinate, so a reader can tell lost,
// repeated and reordered samples apart from the stream it got; feeding them
// to many pads at a steady rate and checking what arrived; and the
// process's CPU time, for figures per pad-second.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <thread>
#include <vector>

#include "vantix-zelnar.h"

namespace vantix::test {

// A plain coordinate report, pen down, x = `sequence` (16 bits), y = 2.
inline std::vector<std::uint8_t> numbered_sample(int sequence) {
    return {VANTIX_INPUT_COORDINATE,
            1,
            static_cast<std::uint8_t>(sequence & 0xFF),
            static_cast<std::uint8_t>(sequence >> 8 & 0xFF),
            2,
            0};
}

// What one pad's reader saw. Every sample not the next expected one counts
// as out of order (lost, repeated or reordered).
struct sample_sequence {
    std::atomic<int> next{0};
    std::atomic<int> out_of_order{0};

    void saw(const unsigned char *report, unsigned int length) {
        if (length < 4)
            return;
        if ((report[2] | report[3] << 8) == next)
            ++next;
        else
            ++out_of_order;
    }
    bool complete(int samples) const { return next + out_of_order >= samples; }
};

inline double process_cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Every `period`, sample number n to each pad i through send(i, bytes), for
// n = 0 .. samples - 1; then up to ten seconds for `seen` to be complete.
// Returns the CPU seconds the process spent meanwhile.
template <typename Send>
double feed_numbered_samples(std::span<sample_sequence> seen, int samples, std::chrono::milliseconds period,
                             Send send) {
    const double cpu_before = process_cpu_seconds();
    auto tick = std::chrono::steady_clock::now();
    for (int sequence = 0; sequence < samples; ++sequence) {
        for (std::size_t i = 0; i < seen.size(); ++i)
            send(i, numbered_sample(sequence));
        std::this_thread::sleep_until(tick += period);
    }
    const auto all_arrived = [&] {
        return std::all_of(seen.begin(), seen.end(), [&](const auto &s) { return s.complete(samples); });
    };
    for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         !all_arrived() && std::chrono::steady_clock::now() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return process_cpu_seconds() - cpu_before;
}

// Each pad's reader got every sample, once and in order.
inline void expect_every_sample_once_in_order(std::span<const sample_sequence> seen, int samples) {
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].next, samples) << "pad " << i;
        EXPECT_EQ(seen[i].out_of_order, 0) << "pad " << i;
    }
}

}  // namespace vantix::test
