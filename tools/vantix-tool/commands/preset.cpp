// SPDX-License-Identifier: Apache-2.0
// preset: one of the library's ready-made signing configurations.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <stdexcept>

#include "../session.hpp"

namespace tool {
namespace {

struct preset_options {
    std::string name;
    bool save = false;
};

int preset(const common_options &common, const preset_options &options) {
    session s(common);
    vantix::zelnar::pad p = s.open();
    // The library applies a preset only to a pad with a region store and
    // succeeds quietly on others; say so rather than claim it was applied.
    if (!p.capabilities().supports_screens_resources)
        throw std::runtime_error("the pad has no region store, so it takes no preset");
    if (options.name == "zelnar")
        p.set_zelnar_mode(options.save);
    else
        p.set_travon_mode(options.save);
    std::printf("%s preset applied%s\n", options.name.c_str(),
                options.save ? " and saved as the pad's defaults" : "");
    return exit_ok;
}

}  // namespace

void add_preset(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<preset_options>();
    CLI::App *cmd =
        add_command(app, "preset",
                    "Put a pad with a region store into a signing configuration: zelnar (OEM reports "
                    "and card data) or travon (keyboard output)",
                    run, [&common, options] { return preset(common, *options); });
    cmd->add_option("name", options->name, "zelnar or travon")
        ->required()
        ->check(CLI::IsMember({"zelnar", "travon"}));
    cmd->add_flag("--save", options->save, "Keep it as the pad's defaults");
}

}  // namespace tool
