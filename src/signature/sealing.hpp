// SPDX-License-Identifier: Apache-2.0
// Sealing a record (CMS AuthEnvelopedData, AES-256-GCM, optionally inside
// a host's SignedData) and opening it again.
#pragma once

#include <span>
#include <string>

#include "openssl_types.hpp"
#include "record.hpp"

namespace vantix::signature {

struct host_signer {
    const vantix_signature_material *key = nullptr;
    const vantix_signature_material *cert = nullptr;
};

// The DER of the sealed record. Throws record_error or std::bad_alloc.
std::string seal(const snapshot &shot, const record_header &header,
                 std::span<const vantix_signature_material> recipients, host_signer signer);

struct opened_record {
    record content;
    bool host_signed = false;
    std::string host_subject;  // RFC 2253, empty when not signed
};

// Throws record_error with the failure's text.
opened_record open_sealed(std::string_view der, const vantix_signature_material *key,
                          const vantix_signature_material *cert);

}  // namespace vantix::signature

// The public handle is the opened record itself.
struct vantix_signature_opened : vantix::signature::opened_record {};
