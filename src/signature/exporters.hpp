// SPDX-License-Identifier: Apache-2.0
// The renderers: each turns a snapshot into the bytes of its format.
// Options reach them already checked, a picture size of 0 resolved to the
// display's.
#pragma once

#include <stdexcept>
#include <string>

#include "capture.hpp"

namespace vantix::signature {

// A renderer's refusal of work it will not do; the text becomes the
// export's error.
struct export_refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string render_svg(const snapshot &shot, const vantix_signature_export_options &options);
std::string render_png(const snapshot &shot, const vantix_signature_export_options &options);
std::string render_inkml(const snapshot &shot, const vantix_signature_export_options &options);
std::string render_json(const snapshot &shot, const vantix_signature_export_options &options);
std::string render_pdf_paths(const snapshot &shot, const vantix_signature_export_options &options);

}  // namespace vantix::signature
