// SPDX-License-Identifier: Apache-2.0
// The CMS of a PAdES baseline B-B signature: SignedData, detached, over
// SHA-256, with the signing-certificate-v2 attribute (OpenSSL's CMS), and
// its check by a reader.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "vantix-document.h"

namespace vantix::document {

class pades_signer {
public:
    // Loads the key, its certificate and the chain; throws when they do not
    // load or the key is not the certificate's.
    pades_signer(const vantix_signature_material *key, const vantix_signature_material *cert,
                 const vantix_signature_material *chain, size_t chain_count);
    ~pades_signer();
    pades_signer(const pades_signer &) = delete;
    pades_signer &operator=(const pades_signer &) = delete;

    // DER CMS signing `data` (the byte range's bytes, in order).
    std::string sign(std::string_view data) const;
    // The most bytes sign() can make: the signature's size for the same
    // key and certificates, with room for encodings that vary.
    std::size_t size_bound() const;

private:
    // The OpenSSL objects, out of this header: it is read beside qpdf's.
    struct material;
    std::unique_ptr<material> m_;
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
