// SPDX-License-Identifier: Apache-2.0
// draw-text: text on the pad's display, in the pad's font.
#include <CLI/CLI.hpp>
#include <map>

#include "../session.hpp"
#include "../sim_screen.hpp"

namespace tool {
namespace {

struct draw_text_options {
    std::string text;
    unsigned x = 0, y = 0;
    vantix_font_alignment align = VANTIX_ALIGN_LEFT;
    bool invert = false;
    bool clear = false;
    std::string sim_screen;
};

int draw_text(const common_options &common, const draw_text_options &options) {
    session s(common);
    vantix::zelnar::pad p = s.open();
    if (options.clear)
        p.clear_screen();
    p.draw_text(options.text, options.x, options.y, options.align, options.invert);
    note(common, "drew " + std::to_string(p.text_width(options.text)) + " pixels of text");
    save_sim_screen(s, p, options.sim_screen);
    return exit_ok;
}

}  // namespace

void add_draw_text(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<draw_text_options>();
    CLI::App *cmd = add_command(app, "draw-text", "Draw UTF-8 text on the pad's display", run,
                                [&common, options] { return draw_text(common, *options); });
    cmd->add_option("text", options->text, "The text")->required();
    cmd->add_option("--x", options->x, "Where the text goes across (see --align)");
    cmd->add_option("--y", options->y, "The text's top row");
    const std::map<std::string, vantix_font_alignment> aligns{
        {"left", VANTIX_ALIGN_LEFT}, {"center", VANTIX_ALIGN_CENTER}, {"right", VANTIX_ALIGN_RIGHT}};
    cmd->add_option("--align", options->align, "Whether --x is the text's left edge, middle or right edge")
        ->transform(CLI::CheckedTransformer(aligns, CLI::ignore_case));
    cmd->add_flag("--invert", options->invert, "White text on black");
    cmd->add_flag("--clear", options->clear, "Blank the display first");
    add_sim_screen_option(*cmd, options->sim_screen);
}

}  // namespace tool
