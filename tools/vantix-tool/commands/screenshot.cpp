// SPDX-License-Identifier: Apache-2.0
// screenshot: the pad's display read back pixel by pixel into a PNG.
#include <CLI/CLI.hpp>
#include <algorithm>

#include "../image.hpp"
#include "../session.hpp"

namespace tool {
namespace {

// The pad takes the low byte of each coordinate of a read-back position.
constexpr unsigned addressable = 256;

image read_display(const vantix::zelnar::pad &p) {
    const unsigned width = p.display().width, height = p.display().height;
    if (width == 0 || height == 0 || width > addressable || height > addressable)
        throw std::runtime_error("this pad's display cannot be read back");
    image out(width, height);
    const std::size_t total = std::size_t{width} * height;
    for (std::size_t at = 0; at < total;) {
        const vantix_hid_feature_pixel_values answer =
            p.pixels(static_cast<std::uint16_t>(at % width), static_cast<std::uint16_t>(at / width));
        const std::size_t count = std::min<std::size_t>(answer.number_of_pixels, total - at);
        if (count == 0)
            throw std::runtime_error("the pad sent no pixels");
        for (std::size_t i = 0; i < count; ++i, ++at) {
            std::uint8_t *px = out.at(static_cast<unsigned>(at % width), static_cast<unsigned>(at / width));
            px[0] = answer.color_data[i].argb.r;
            px[1] = answer.color_data[i].argb.g;
            px[2] = answer.color_data[i].argb.b;
        }
    }
    return out;
}

int screenshot(const common_options &common, const std::string &file) {
    session s(common);
    const vantix::zelnar::pad p = s.open();
    write_png(file, read_display(p));
    note(common, "wrote " + file);
    return exit_ok;
}

}  // namespace

void add_screenshot(CLI::App &app, const common_options &common, action &run) {
    auto file = std::make_shared<std::string>("screenshot.png");
    CLI::App *cmd = add_command(app, "screenshot", "Read the pad's display back into a PNG file", run,
                                [&common, file] { return screenshot(common, *file); });
    cmd->add_option("--out", *file, "The PNG file")->capture_default_str();
}

}  // namespace tool
