// SPDX-License-Identifier: Apache-2.0
// Sealed signature records for sign and verify: the document a signature
// is for (digested once, so the pad shows exactly what is sealed), sealing a
// capture to certificates, and reading a sealed file back.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "vantix-signature.h"

namespace tool {

using sha256_digest = std::array<unsigned char, 32>;

struct signed_document {
    std::string name;  // what the pad and the record call it
    sha256_digest sha256{};
};

// Digests the file at `path`; the name is `name`, or the file's base name.
signed_document read_document(const std::string &path, const std::string &name);
// The first 8 hex digits of its SHA-256, as the signing screen shows them.
std::string short_digest(const signed_document &document);

struct seal_request {
    std::vector<std::string> recipients;  // certificate files
    std::string sign_with, cert;          // the host's key and certificate, or empty
};

struct pad_identity {
    std::string uuid, firmware;  // as text, empty when unknown
};

// Seals the capture's record and writes it (DER) to `path`. Throws
// std::runtime_error with the signature library's text.
void write_sealed(const vantix_signature_capture &capture, const signed_document &document,
                  const std::string &prompt, const pad_identity &pad, const seal_request &request,
                  const std::string &path);

// The bytes of a file of at most VANTIX_SIGNATURE_MAX_SEALED_SIZE bytes.
std::vector<unsigned char> read_sealed_file(const std::string &path);

}  // namespace tool
