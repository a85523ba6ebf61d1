// SPDX-License-Identifier: Apache-2.0
// Signing a PDF: the field and its appearance, the embedded sealed record
// and the PAdES signature, written as one incremental update.
#pragma once

#include <string>

#include "pdf_file.hpp"
#include "vantix-document.h"

namespace vantix::document {

// The signed file's bytes, `file`'s followed by the update. Throws document_error.
std::string sign_pdf(const pdf_file &file, const std::string &name, const vantix_signature_capture &capture,
                     const vantix_document_sign_options &options);

}  // namespace vantix::document
