// SPDX-License-Identifier: Apache-2.0
#include "tools.hpp"

#include <png.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>

namespace vantix::test {

vantix_signature_pad_info sim_pad_info() {
    vantix_signature_pad_info info{};
    info.vendor_id = 0x1209;
    info.product_id = 0x0240;
    std::snprintf(info.manufacturer, sizeof info.manufacturer, "Vantix \"test\" & <co>");
    std::snprintf(info.model, sizeof info.model, "pad");
    info.x_max = 4095, info.y_max = 1091;
    info.active_x_min = 100, info.active_x_max = 3995, info.active_y_min = 50, info.active_y_max = 1041;
    info.display_width = 240, info.display_height = 64;
    return info;
}

capture_ptr new_capture() {
    const vantix_signature_pad_info info = sim_pad_info();
    return capture_ptr(vantix_signature_capture_new_with_info(&info));
}

command_result run(const std::string &command) {
    command_result result{-1, {}};
    FILE *pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> chunk;
    while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
        result.out.append(chunk.data(), n);
    result.status = pclose(pipe);
    return result;
}

bool have_tool(const std::string &name) { return run("command -v " + name).status == 0; }

std::string scratch(const std::string &suffix) {
    static std::atomic<int> counter{0};
    return (std::filesystem::temp_directory_path() /
            ("sig-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + suffix))
        .string();
}

namespace {

// Finishes a read begun on `image`, releasing it either way.
grey_picture finish_read(png_image &image) {
    grey_picture picture;
    image.format = PNG_FORMAT_GRAY;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    // Transparent areas (an SVG's background) read as white paper.
    const png_color white{255, 255, 255};
    if (png_image_finish_read(&image, &white, pixels.data(), 0, nullptr)) {
        picture = {image.width, image.height, std::move(pixels)};
    }
    png_image_free(&image);
    return picture;
}

}  // namespace

grey_picture read_png(const std::string &path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    return finish_read(image);
}

grey_picture read_png(const unsigned char *data, std::size_t size) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size))
        return {};
    return finish_read(image);
}

}  // namespace vantix::test
