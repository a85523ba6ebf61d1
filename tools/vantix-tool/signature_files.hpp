// SPDX-License-Identifier: Apache-2.0
// Saving a capture in the format a file's extension names.
#pragma once

#include <memory>
#include <string>

#include "vantix-signature.h"

namespace tool {

struct free_capture {
    void operator()(vantix_signature_capture *capture) const { vantix_signature_capture_free(capture); }
};
// A capture the tool owns.
using capture_ptr = std::unique_ptr<vantix_signature_capture, free_capture>;

// Whether the extension names a format we write (.svg, .png, .inkml, .json).
bool is_signature_format(const std::string &path);
// Throws std::runtime_error with the signature library's error text.
void save_signature(const vantix_signature_capture &capture, const std::string &path);

}  // namespace tool
