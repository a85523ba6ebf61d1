// SPDX-License-Identifier: Apache-2.0
// The virtual pad's display as a PNG picture, for people and tests to look at.
#include <png.h>

#include <cstring>

#include "padsim/screen.hpp"

namespace padsim {

bool screen::write_png(const std::string &path, std::string *error) const {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = width_;
    image.height = height_;
    image.format = PNG_FORMAT_RGB;
    static_assert(sizeof(rgb) == 3, "pixels are packed red, green, blue");
    const bool written = width_ > 0 && height_ > 0 &&
                         png_image_write_to_file(&image, path.c_str(), 0, pixels_.data(), 0, nullptr) != 0;
    if (!written && error)
        *error = width_ == 0 || height_ == 0 ? "the pad has no display" : image.message;
    png_image_free(&image);
    return written;
}

}  // namespace padsim
