// SPDX-License-Identifier: Apache-2.0
// OpenSSL objects owned by unique_ptr, certificates and keys read from PEM
// or DER, and OpenSSL's error queue turned into one of our texts.
#pragma once

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string_view>

#include "record.hpp"

namespace vantix::signature {

template <class T, void (*Free)(T *)>
struct openssl_free {
    void operator()(T *object) const { Free(object); }
};
using bio_ptr = std::unique_ptr<BIO, openssl_free<BIO, BIO_free_all>>;
using x509_ptr = std::unique_ptr<X509, openssl_free<X509, X509_free>>;
using pkey_ptr = std::unique_ptr<EVP_PKEY, openssl_free<EVP_PKEY, EVP_PKEY_free>>;
using cms_ptr = std::unique_ptr<CMS_ContentInfo, openssl_free<CMS_ContentInfo, CMS_ContentInfo_free>>;

// A read-only BIO over `bytes`, which must outlive it.
bio_ptr memory_bio(std::string_view bytes);
// Throws record_error naming `what` ("recipient certificate", ...).
x509_ptr load_certificate(const vantix_signature_material *material, const char *what);
pkey_ptr load_private_key(const vantix_signature_material *material, const char *what);
// The BIO's bytes (a memory BIO).
std::string_view bio_bytes(BIO *bio);

// Empties OpenSSL's error queue of this thread and returns its first
// error code (0 when there was none; ERR_GET_LIB/ERR_GET_REASON take it apart). Every path that lets OpenSSL
// fail calls it, so no stale error leaks into a later call.
unsigned long drain_openssl_errors();

}  // namespace vantix::signature
