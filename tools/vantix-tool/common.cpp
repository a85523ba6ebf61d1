// SPDX-License-Identifier: Apache-2.0
#include "common.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>

namespace tool {

CLI::App *add_command(CLI::App &app, const char *name, const char *description, action &run, action body) {
    CLI::App *command = app.add_subcommand(name, description);
    command->callback([&run, body = std::move(body)] { run = body; });
    return command;
}

void note(const common_options &common, const std::string &text) {
    if (common.verbose)
        std::fprintf(stderr, "vantix-tool: %s\n", text.c_str());
}

void warn(const std::string &text) { std::fprintf(stderr, "vantix-tool: warning: %s\n", text.c_str()); }

}  // namespace tool
