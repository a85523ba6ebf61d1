// SPDX-License-Identifier: Apache-2.0
// The library, the pads it lists and the one a subcommand works on.
#pragma once

#include <optional>

#include "common.hpp"
#include "vantix-zelnar.hpp"

namespace tool {

// The pad's UUID as 32 lower-case hex digits, "" when it has none.
std::string uuid_hex(const vantix::zelnar::pad &p);
// A three-part version as "major.minor.patch".
std::string version_text(const std::uint8_t (&v)[3]);

class session {
public:
    // Starts the library, adds the virtual pad (--sim) and the replayed ones
    // (--replay), then lists pads.
    explicit session(const common_options &common);

    const vantix::zelnar::device_list &pads() const { return *pads_; }
    // The pad at --device, else the first replayed one, else the first real
    // one, else (with --sim) the virtual one; throws no_pad.
    vantix::zelnar::device_view choose() const;
    // Opens the chosen pad and applies --sim-fail to it.
    vantix::zelnar::pad open() const;
    // A virtual pad whose pen the tool scripts (a replayed pad plays its
    // recording instead).
    bool simulated(const vantix::zelnar::device_view &d) const;

private:
    const common_options &common_;
    std::vector<std::string> replayed_paths_;
    vantix::zelnar::library library_;  // first in, last out
    std::optional<vantix::zelnar::device_list> pads_;
};

}  // namespace tool
