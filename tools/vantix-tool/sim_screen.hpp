// SPDX-License-Identifier: Apache-2.0
// --sim-screen FILE: what the virtual pad shows, saved as a PNG picture, so
// a user without a pad sees what a command drew.
#pragma once

#include <string>

#include "session.hpp"

namespace CLI {
class App;
}

namespace tool {

void add_sim_screen_option(CLI::App &command, std::string &file);

// Writes the screen of the virtual pad `p` to `file`; nothing when `file` is
// empty. Called once the command's own work is done, so a screen that
// cannot be written is a warning, not a failure.
void save_sim_screen(const session &s, const vantix::zelnar::pad &p, const std::string &file);

}  // namespace tool
