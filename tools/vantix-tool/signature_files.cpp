// SPDX-License-Identifier: Apache-2.0
#include "signature_files.hpp"

#include <stdexcept>

#include "text.hpp"

namespace tool {
namespace {

using exporter = vantix_error_code (*)(const vantix_signature_capture *,
                                       const vantix_signature_export_options *, const char *);

struct format {
    const char *extension;
    exporter write;
};

constexpr format formats[] = {
    {"svg", vantix_signature_export_svg},
    {"png", vantix_signature_export_png},
    {"inkml", vantix_signature_export_inkml},
    {"json", vantix_signature_export_json},
};

const format *format_of(const std::string &path) {
    const std::string ext = lower_extension(path);
    for (const format &f : formats)
        if (ext == f.extension)
            return &f;
    return nullptr;
}

}  // namespace

bool is_signature_format(const std::string &path) { return format_of(path) != nullptr; }

void save_signature(const vantix_signature_capture &capture, const std::string &path) {
    const format *f = format_of(path);
    if (!f)
        throw std::runtime_error(path + ": not a .svg, .png, .inkml or .json file");
    if (f->write(&capture, nullptr, path.c_str()) != VANTIX_CODE_SUCCESS)
        throw std::runtime_error(path + ": " + vantix_signature_last_error());
}

}  // namespace tool
