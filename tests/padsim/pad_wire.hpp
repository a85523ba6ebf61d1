// SPDX-License-Identifier: Apache-2.0
// Feature transfers with a virtual pad as a host makes them, for the pad's
// own tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "padsim/pad.hpp"
#include "vantix-zelnar.h"

namespace padsim_test {

using bytes = std::vector<std::uint8_t>;

// A get of `length` bytes; the buffer starts out 0xEE so bytes the pad
// leaves alone show.
inline bytes get(padsim::pad &pad, std::uint8_t id, std::size_t length, bool expect_ok = true) {
    bytes report(length, 0xEE);
    report[0] = id;
    EXPECT_EQ(pad.get_feature(report.data(), report.size()).ok, expect_ok) << "report " << unsigned{id};
    return report;
}

inline padsim::result set(padsim::pad &pad, bytes report) {
    return pad.set_feature(report.data(), report.size());
}

// A display chunk report: big-endian x, y, width, height, the depth, then
// `pixels`.
inline bytes chunk(unsigned x, unsigned y, unsigned w, unsigned h, unsigned depth, const bytes &pixels) {
    bytes r(VANTIX_FEATURE_UPDATEDISPLAYCHUNK_SIZE, 0);
    r[0] = VANTIX_FEATURE_UPDATEDISPLAYCHUNK;
    const unsigned fields[] = {x, y, w, h};
    for (unsigned i = 0; i < 4; ++i) {
        r[1 + 2 * i] = static_cast<std::uint8_t>(fields[i] >> 8);
        r[2 + 2 * i] = static_cast<std::uint8_t>(fields[i]);
    }
    r[9] = static_cast<std::uint8_t>(depth);
    std::copy(pixels.begin(), pixels.end(), r.begin() + 10);
    return r;
}

inline bytes poll(padsim::pad &pad) {
    return get(pad, VANTIX_FEATURE_DEVICE_STATUS, VANTIX_FEATURE_DEVICE_STATUS_SIZE);
}

// A pad of the default model changed by `tune`.
template <typename Tune>
padsim::pad pad_with(Tune tune) {
    padsim::model m;
    tune(m);
    return padsim::pad(m);
}

}  // namespace padsim_test
