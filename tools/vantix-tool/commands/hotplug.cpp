// SPDX-License-Identifier: Apache-2.0
// hotplug: attach and detach events as they happen.
#include <CLI/CLI.hpp>
#include <atomic>
#include <cstdio>

#include "../json.hpp"
#include "../progress.hpp"
#include "../session.hpp"
#include "../watch.hpp"

namespace tool {
namespace {

int hotplug(const common_options &common, const watch_limits &options) {
    session s(common);
    progress_line printer;
    std::atomic<std::size_t> seen{0};
    vantix::zelnar::hotplug_subscription subscription([&](vantix_hotplug_type type, std::string_view path) {
        const char *event = type == VANTIX_HOTPLUG_ATTACHED ? "attached" : "detached";
        printer.print(stdout, common.json ? json_object().field("event", event).field("path", path).str()
                                          : std::string(event) + " " + std::string(path));
        ++seen;
    });
    note(common, "watching for pads coming and going; Ctrl-C stops");
    watch([&] { return options.count && seen >= options.count; }, options.timeout);
    return exit_ok;
}

}  // namespace

void add_hotplug(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<watch_limits>();
    CLI::App *cmd = add_command(app, "hotplug", "Print attach and detach events until Ctrl-C", run,
                                [&common, options] { return hotplug(common, *options); });
    add_limit_options(*cmd, *options, "events");
}

}  // namespace tool
