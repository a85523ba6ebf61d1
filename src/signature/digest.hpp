// SPDX-License-Identifier: Apache-2.0
// SHA-256 through OpenSSL's EVP interface: of bytes, and of a document as
// the caller gives it (a digest, bytes or a file).
#pragma once

#include <string_view>

#include "record.hpp"

namespace vantix::signature {

sha256_digest sha256(std::string_view bytes);
// Throws record_error for a document given none or several ways, or a
// file that cannot be read.
sha256_digest document_digest(const vantix_signature_document *document);

}  // namespace vantix::signature
