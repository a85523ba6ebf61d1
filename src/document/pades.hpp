// SPDX-License-Identifier: Apache-2.0
// The CMS of a PAdES baseline B-B signature: SignedData, detached, over
// SHA-256, with the signing-certificate-v2 attribute (OpenSSL's CMS), and
// its check by a reader.
#pragma once

#include <string>
#include <string_view>

#include "../signature/openssl_types.hpp"
#include "vantix-document.h"

namespace vantix::document {

using signature::pkey_ptr;
using signature::x509_ptr;

class pades_signer {
public:
    // Loads the key, its certificate and the chain; throws when they do not
    // load or the key is not the certificate's.
    pades_signer(const vantix_signature_material *key, const vantix_signature_material *cert,
                 const vantix_signature_material *chain, size_t chain_count);

    // DER CMS signing `data` (the byte range's bytes, in order).
    std::string sign(std::string_view data) const;
    // The most bytes sign() can make: the signature's size for the same
    // key and certificates, with room for encodings that vary.
    std::size_t size_bound() const;

private:
    pkey_ptr key_;
    x509_ptr cert_;
    struct chain_free {
        void operator()(STACK_OF(X509) * chain) const { sk_X509_pop_free(chain, X509_free); }
    };
    std::unique_ptr<STACK_OF(X509), chain_free> chain_;
};

struct cms_check {
    bool valid = false;
    std::string signer;   // subject, RFC 2253
    std::string problem;  // why not valid
};

// Checks the detached CMS `der` over `data`: the message digest and the
// signer's signature (whether the signer is trusted is the reader's call).
cms_check check_cms(std::string_view der, std::string_view data);

}  // namespace vantix::document
