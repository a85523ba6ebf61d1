// SPDX-License-Identifier: Apache-2.0
// The four renderers: each turns a snapshot into the bytes of its format.
// Options reach them already checked, a picture size of 0 resolved to the
// display's.
#pragma once

#include <string>

#include "capture.hpp"

namespace vantix::signature {

std::string render_svg(const snapshot &shot, const vantix_signature_export_options &options);
std::string render_png(const snapshot &shot, const vantix_signature_export_options &options);
std::string render_inkml(const snapshot &shot, const vantix_signature_export_options &options);
std::string render_json(const snapshot &shot, const vantix_signature_export_options &options);

}  // namespace vantix::signature
