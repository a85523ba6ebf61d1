// SPDX-License-Identifier: Apache-2.0
// vantix-tool: list, inspect, watch and drive signature pads from a shell.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "common.hpp"
#include "vantix-zelnar.hpp"
#include "watch.hpp"

namespace {

constexpr tool::command_setup commands[] = {
    tool::add_list,       tool::add_info,   tool::add_status,    tool::add_monitor,
    tool::add_sign,       tool::add_verify, tool::add_draw_text, tool::add_show_image,
    tool::add_screenshot, tool::add_preset, tool::add_hotplug,   tool::add_record,
#ifdef VANTIX_TOOL_PDF
    tool::add_sign_pdf,   tool::add_verify_pdf,
#endif
};

int fail(int code, const std::string &message) {
    std::fprintf(stderr, "vantix-tool: %s\n", message.c_str());
    return code;
}

int run(const tool::action &body) {
    try {
        return body();
    } catch (const tool::no_pad &e) {
        return fail(tool::exit_no_pad, std::string(e.what()) + " (try --sim for the virtual pad)");
    } catch (const tool::usage_error &e) {
        return fail(tool::exit_usage, e.what());
    } catch (const tool::cancelled &e) {
        return fail(tool::exit_cancelled, e.what());
    } catch (const std::exception &e) {
        return fail(tool::exit_failure, e.what());
    }
}

}  // namespace

int main(int argc, char **argv) {
    // Before the library starts its threads, so they inherit the mask.
    tool::block_stop_signals();

    CLI::App app{
        "Work with signature pads: list them, read their configuration, watch their input, "
        "capture a signature (sealed to a document if you like), check a sealed one and draw on their "
        "display.\n"
        "Exit codes: 0 done, 1 failure, 2 bad command line, 3 no pad, 4 cancelled.",
        "vantix-tool"};
    app.set_version_flag("--version", std::string(vantix::zelnar::library::version()));
    app.footer(
        "Each subcommand explains its own options: vantix-tool SUBCOMMAND --help. See vantix-tool(1).");
    app.require_subcommand(1, 1);
    app.fallthrough();
    tool::common_options common;
    app.add_option("--device", common.device, "Use the pad at this path (see `list`)");
    app.add_flag("--sim", common.sim, "Add the virtual pad, used when no real pad is attached");
    app.add_flag("--json", common.json, "Write JSON instead of text");
    app.add_flag("-v,--verbose", common.verbose, "Say what the tool does, on standard error");
    app.add_option("--replay", common.replay,
                   "Add a virtual pad replaying this recording (see `record`); its input plays at once")
        ->allow_extra_args(false);
    app.add_flag("--replay-paced", common.replay_paced, "Play replayed input at its recorded pace");
    app.add_option("--sim-hostile", common.sim_hostile,
                   "Make the virtual pad lie from the start (its replies and input garbled, repeatably "
                   "for this seed)")
        ->group("Testing");
    app.add_option("--sim-fail", common.sim_fail,
                   "Make the virtual pad fail every transfer of this report ID")
        ->allow_extra_args(false)
        ->check(CLI::Range(1, 255))
        ->group("Testing");

    tool::action body;
    for (tool::command_setup setup : commands)
        setup(app, common, body);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        return app.exit(e) == 0 ? tool::exit_ok : tool::exit_usage;
    }
    tool::note(common, "libvantix-zelnar " + std::string(vantix::zelnar::library::version()));
    return run(body);
}
