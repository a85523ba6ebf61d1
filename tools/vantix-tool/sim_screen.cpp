// SPDX-License-Identifier: Apache-2.0
#include "sim_screen.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "sim_script.hpp"
#include "vantix-padsim.h"

namespace tool {

void add_sim_screen_option(CLI::App &command, std::string &file) {
    command.add_option("--sim-screen", file, "With --sim: save what the virtual pad shows to this PNG file")
        ->allow_extra_args(false)
        ->type_name("PNG");
}

void save_sim_screen(const session &s, const vantix::zelnar::pad &p, const std::string &file) {
    if (file.empty())
        return;
    if (!s.simulated(p.view()))
        warn("--sim-screen: " + std::string(p.view().path()) + " is not the virtual pad; nothing saved");
    else if (!vantix_padsim_write_png(sim_index(p.record()), file.c_str()))
        warn(file + ": the virtual pad's screen cannot be written");
    else
        std::printf("the virtual pad's screen is in %s\n", file.c_str());
}

}  // namespace tool
