// SPDX-License-Identifier: Apache-2.0
// The sealed signature record inside a signed PDF: sealed to the
// recipients, bound to the revision being signed, and embedded as a file
// associated with the signature field.
#pragma once

#include <string>

#include "update_builder.hpp"
#include "vantix-document.h"

namespace vantix::document {

// The key of the embedded record's /Filespec dictionary that names how many
// bytes of the file the record was sealed for (the revision it signs).
inline constexpr const char *record_length_key = "/VantixSignedLength";

// The capture's record sealed to the options' recipients.
std::string sealed_record(const pdf_file &file, const vantix_signature_capture &capture,
                          const vantix_document_sign_options &o);

// `sealed` embedded in the update; the /Filespec dictionary's reference,
// for the field's /AF. `date` is its modification date (a PDF date).
QPDFObjectHandle embed_record(update_builder &update, const pdf_file &file, const std::string &sealed,
                              const std::string &date);

}  // namespace vantix::document
