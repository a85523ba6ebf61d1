// SPDX-License-Identifier: Apache-2.0
// What every subcommand shares: the common options, the exit codes scripts
// rely on, and the failures that map to them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tool {

// Documented in vantix-tool.1; keep the two in step.
enum exit_code : int {
    exit_ok = 0,
    exit_failure = 1,    // a transfer, a file or the pad failed
    exit_usage = 2,      // the command line was wrong
    exit_no_pad = 3,     // no pad attached, or none at --device
    exit_cancelled = 4,  // signing cancelled on the pad or interrupted
};

struct common_options {
    std::string device;  // a path from `list`; empty: the first pad
    bool sim = false;    // add the virtual pad
    bool json = false;
    bool verbose = false;
    std::vector<int> sim_fail;                 // report IDs the virtual pad fails every transfer of
    std::optional<std::uint32_t> sim_hostile;  // a seed: the virtual pad lies from the start
    std::vector<std::string> replay;           // recordings added as virtual pads
    bool replay_paced = false;                 // play their input at the recorded pace
};

// No pad to work with: exit_no_pad, with a hint.
class no_pad : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user ended the operation: exit_cancelled.
class cancelled : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Options that do not go together, found after parsing: exit_usage.
class usage_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a subcommand leaves to run once the command line is parsed.
using action = std::function<int()>;

// Each subcommand adds itself to the app; when it is the one given, its
// parse callback stores what to run in `run`.
using command_setup = void (*)(CLI::App &app, const common_options &common, action &run);

void add_list(CLI::App &, const common_options &, action &);
void add_info(CLI::App &, const common_options &, action &);
void add_status(CLI::App &, const common_options &, action &);
void add_monitor(CLI::App &, const common_options &, action &);
void add_sign(CLI::App &, const common_options &, action &);
void add_verify(CLI::App &, const common_options &, action &);
void add_draw_text(CLI::App &, const common_options &, action &);
void add_show_image(CLI::App &, const common_options &, action &);
void add_screenshot(CLI::App &, const common_options &, action &);
void add_preset(CLI::App &, const common_options &, action &);
void add_hotplug(CLI::App &, const common_options &, action &);
// Built with libvantix-document (VANTIX_TOOL_PDF).
void add_sign_pdf(CLI::App &, const common_options &, action &);
void add_verify_pdf(CLI::App &, const common_options &, action &);
void add_record(CLI::App &, const common_options &, action &);

// Adds subcommand `name`; when the command line names it, `body` is what
// main runs. The subcommand is returned for its own options.
CLI::App *add_command(CLI::App &app, const char *name, const char *description, action &run, action body);

// --verbose notes, on standard error.
void note(const common_options &common, const std::string &text);
// A warning on standard error; the command goes on and its exit code stays.
void warn(const std::string &text);

}  // namespace tool
