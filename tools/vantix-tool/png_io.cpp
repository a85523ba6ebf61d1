// SPDX-License-Identifier: Apache-2.0
// Writing PNG files (libpng's simplified API), the size limit of pictures
// read, and reading by extension.
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

void write_png(const std::string &path, const image &picture) {
    png_guard guard;
    guard.png.width = picture.width;
    guard.png.height = picture.height;
    guard.png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&guard.png, path.c_str(), 0, picture.rgb.data(), 0, nullptr))
        throw std::runtime_error(path + ": " + guard.png.message);
}

void check_picture_size(const std::string &path, unsigned w, unsigned h) {
    const std::string size = std::to_string(w) + " x " + std::to_string(h);
    if (w == 0 || h == 0)
        throw std::runtime_error(path + ": the picture is empty (" + size + " pixels)");
    if (w > largest_picture_side || h > largest_picture_side)
        throw std::runtime_error(path + ": the picture is " + size + " pixels, more than the " +
                                 std::to_string(largest_picture_side) + " x " +
                                 std::to_string(largest_picture_side) + " pixels pictures are limited to");
}

void read_picture(const std::string &path, picture_sink &sink) {
    const std::string ext = lower_extension(path);
    if (ext == "png")
        return read_png(path, sink);
    if (ext == "bmp")
        return read_bmp(path, sink);
    throw std::runtime_error(path + ": not a .png or .bmp file");
}

image read_fitted(const std::string &path, unsigned w, unsigned h) {
    fitter f(w, h);
    read_picture(path, f);
    return f.result();
}

}  // namespace tool
