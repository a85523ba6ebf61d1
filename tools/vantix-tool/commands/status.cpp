// SPDX-License-Identifier: Apache-2.0
// status: the pad's device status (busy, locks, its last error).
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstring>

#include "../json.hpp"
#include "../session.hpp"

namespace tool {
namespace {

int status(const common_options &common) {
    session s(common);
    const vantix::zelnar::pad p = s.open();
    const vantix_hid_feature_device_status st = p.status();
    if (!common.json) {
        vantix_print_device_status(const_cast<vantix_hid_feature_device_status *>(&st));
        std::fflush(stdout);
        return exit_ok;
    }
    json_object out;
    out.field("initializing", st.is_initializing != 0)
        .field("idle", st.is_idle != 0)
        .field("calibration_required", st.calibration_required != 0)
        .field("calibrating", st.is_calibrating != 0)
        .field("output_commands_locked", st.all_output_commands_locked != 0)
        .field("operating_mode_commands_locked", st.operating_mode_commands_locked != 0)
        .field("region_commands_locked", st.region_commands_locked != 0)
        .field("screen_commands_locked", st.screen_commands_locked != 0)
        .field("display_commands_locked", st.display_commands_locked != 0)
        .field("calibration_commands_locked", st.calibration_commands_locked != 0)
        .field("last_error", st.last_error)
        .field("error_info", std::string(st.error_info, strnlen(st.error_info, sizeof st.error_info)));
    std::printf("%s\n", out.str().c_str());
    return exit_ok;
}

}  // namespace

void add_status(CLI::App &app, const common_options &common, action &run) {
    add_command(app, "status", "Show the pad's status: busy, locked command groups, its last error", run,
                [&common] { return status(common); });
}

}  // namespace tool
