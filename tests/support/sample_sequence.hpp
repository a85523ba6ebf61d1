// Pen samples numbered in their x coordinate, so a reader can tell lost,
// repeated and reordered samples apart from the stream it got; and the
// process's CPU time, for figures per pad-second.
#pragma once

#include <sys/resource.h>

#include <atomic>
#include <cstdint>
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

}  // namespace vantix::test
