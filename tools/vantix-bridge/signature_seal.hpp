// SPDX-License-Identifier: Apache-2.0
// capture.finish's "seal": the signature record bound to the document the
// page names (its SHA-256 and name) and sealed with libvantix-signature to
// the service's recipients and, where the service allows it, the page's.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge.hpp"
#include "seal_policy.hpp"
#include "vantix-signature.h"

namespace bridge {

struct seal_plan {
    std::array<unsigned char, 32> document_sha256{};
    std::string document_name;
    // What the record says of the capture, filled in on the pad's thread.
    std::string prompt, pad_uuid, pad_firmware;
    std::shared_ptr<const seal_policy> policy;
    std::vector<std::string> page_certificates;
};

// The "seal" field of `message`, checked against `policy` (bad_field,
// recipients_refused, no_recipients); nullopt when there is none.
std::optional<seal_plan> plan_seal(const json &message, std::shared_ptr<const seal_policy> policy);

// At least the bytes the sealed record adds to the reply, base64 and all.
std::size_t sealed_bound(std::size_t points, std::size_t strokes, const seal_plan &plan);

// The sealed record (DER CMS) in base64; protocol_error library when the
// library refuses.
std::string seal_signature(const vantix_signature_capture *capture, const seal_plan &plan);

// Base64 of `size` bytes (OpenSSL's encoder), as replies carry binary data.
std::string base64(const unsigned char *data, std::size_t size);

}  // namespace bridge
