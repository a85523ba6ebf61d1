// SPDX-License-Identifier: Apache-2.0
// show-image: a PNG or BMP picture, fitted to the display and sent at the
// pad's depth (dithered when that is one bit).
#include <CLI/CLI.hpp>

#include "../image.hpp"
#include "../session.hpp"
#include "../sim_screen.hpp"

namespace tool {
namespace {

struct show_image_options {
    std::string file;
    std::string sim_screen;
};

// The deepest depth the transfer packs that the pad shows (1, 4, 8 or 24).
int send_depth(unsigned pad_depth) {
    for (int depth : {24, 8, 4})
        if (pad_depth >= static_cast<unsigned>(depth))
            return depth;
    return 1;
}

int show_image(const common_options &common, const show_image_options &options) {
    const std::string &file = options.file;
    session s(common);
    vantix::zelnar::pad p = s.open();
    const unsigned width = p.display().width, height = p.display().height;
    const int depth = send_depth(p.display().color_depth);
    image fitted = read_fitted(file, width, height);
    if (depth == 1)
        dither_to_black_and_white(fitted);
    vantix::zelnar::bitmap bmp(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            const std::uint8_t *px = fitted.at(x, y);
            bmp.set(
                static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                vantix_gcolor{px[0]} << 24 | vantix_gcolor{px[1]} << 16 | vantix_gcolor{px[2]} << 8 | 0xFF);
        }
    p.show(bmp, 0, 0, depth);
    note(common, "sent " + file + " at " + std::to_string(depth) + " bits per pixel");
    save_sim_screen(s, p, options.sim_screen);
    return exit_ok;
}

}  // namespace

void add_show_image(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<show_image_options>();
    static const std::string description = "Show a PNG or BMP picture on the pad's display (at most " +
                                           std::to_string(largest_picture_side) + " x " +
                                           std::to_string(largest_picture_side) + " pixels)";
    CLI::App *cmd = add_command(app, "show-image", description.c_str(), run,
                                [&common, options] { return show_image(common, *options); });
    cmd->add_option("file", options->file, "The picture (.png or .bmp)")
        ->required()
        ->check(CLI::ExistingFile);
    add_sim_screen_option(*cmd, options->sim_screen);
}

}  // namespace tool
