// SPDX-License-Identifier: Apache-2.0
// The reports a pad knows: feature reports with their lengths and whether
// the host may read or write them, and the input reports it sends.
#pragma once

#include <cstdint>
#include <span>

namespace padsim {

struct model;

inline constexpr std::uint8_t use_get = 1;
inline constexpr std::uint8_t use_set = 2;

struct feature_info {
    std::uint8_t id;
    unsigned length;  // 0: depends on the pad model (region reports)
    std::uint8_t use;
};

struct input_info {
    std::uint8_t id;
    unsigned length;
};

std::span<const feature_info> feature_reports();
std::span<const input_info> input_reports();
const feature_info *find_feature(std::uint8_t id);

// Length of a feature report on a pad of this model (resolves the region
// reports whose length follows region count and caption length).
unsigned feature_length(const feature_info &info, const model &m);

// Lock bits of device status byte 3 that a completed set of this report
// keeps busy, as firmware does while it stores or draws in the background.
std::uint8_t command_lock_groups(std::uint8_t id);

}  // namespace padsim
