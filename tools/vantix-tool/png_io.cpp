// SPDX-License-Identifier: Apache-2.0
// PNG files through libpng's simplified API.
#include <png.h>

#include <stdexcept>

#include "image.hpp"
#include "text.hpp"

namespace tool {
namespace {

// png_image holds libpng state until png_image_free; free it on every path.
struct png_guard {
    png_image png{};
    png_guard() { png.version = PNG_IMAGE_VERSION; }
    ~png_guard() { png_image_free(&png); }
    png_guard(const png_guard &) = delete;
    png_guard &operator=(const png_guard &) = delete;
};

}  // namespace

image read_png(const std::string &path) {
    png_guard guard;
    if (!png_image_begin_read_from_file(&guard.png, path.c_str()))
        throw std::runtime_error(path + ": " + guard.png.message);
    guard.png.format = PNG_FORMAT_RGB;  // alpha is composed over the background below
    image out(guard.png.width, guard.png.height);
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&guard.png, &white, out.rgb.data(), 0, nullptr))
        throw std::runtime_error(path + ": " + guard.png.message);
    return out;
}

void write_png(const std::string &path, const image &picture) {
    png_guard guard;
    guard.png.width = picture.width;
    guard.png.height = picture.height;
    guard.png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&guard.png, path.c_str(), 0, picture.rgb.data(), 0, nullptr))
        throw std::runtime_error(path + ": " + guard.png.message);
}

image read_picture(const std::string &path) {
    const std::string ext = lower_extension(path);
    if (ext == "png")
        return read_png(path);
    if (ext == "bmp")
        return read_bmp(path);
    throw std::runtime_error(path + ": not a .png or .bmp file");
}

}  // namespace tool
