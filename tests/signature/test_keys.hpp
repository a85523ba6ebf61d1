// SPDX-License-Identifier: Apache-2.0
// Keys and self-signed certificates made at run time (EVP API) for the
// sealed-record tests, fuzz target and benchmark; none is committed.
#pragma once

#include <string>

#include "vantix-signature.h"

namespace vantix::test {

struct identity {
    std::string key_pem, cert_pem;
    vantix_signature_material key() const { return as_material(key_pem); }
    vantix_signature_material cert() const { return as_material(cert_pem); }
    static vantix_signature_material as_material(const std::string &pem) {
        return {nullptr, reinterpret_cast<const unsigned char *>(pem.data()), pem.size()};
    }
};

// `kind` is "RSA-2048", "RSA-3072" or "P-256"; `name` the subject's CN.
identity make_identity(const std::string &kind, const std::string &name);

}  // namespace vantix::test
