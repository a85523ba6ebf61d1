// SPDX-License-Identifier: Apache-2.0
#include "test_keys.hpp"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>
#include <stdexcept>

namespace vantix::test {
namespace {

template <class T, void (*Free)(T *)>
struct freer {
    void operator()(T *p) const { Free(p); }
};

std::string pem_of(int (*write)(BIO *, void *), void *object) {
    std::unique_ptr<BIO, freer<BIO, BIO_free_all>> bio(BIO_new(BIO_s_mem()));
    write(bio.get(), object);
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

}  // namespace

identity make_identity(const std::string &kind, const std::string &name) {
    std::unique_ptr<EVP_PKEY, freer<EVP_PKEY, EVP_PKEY_free>> key(
        kind == "P-256" ? EVP_EC_gen("P-256") : EVP_RSA_gen(kind == "RSA-3072" ? 3072 : 2048));
    std::unique_ptr<X509, freer<X509, X509_free>> cert(X509_new());
    if (!key || !cert)
        throw std::runtime_error("no test key");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
    X509_NAME *subject = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char *>(name.c_str()), -1, -1, 0);
    X509_set_issuer_name(cert.get(), subject);
    X509_set_pubkey(cert.get(), key.get());
    X509_sign(cert.get(), key.get(), EVP_sha256());
    return {pem_of(
                [](BIO *bio, void *k) {
                    return PEM_write_bio_PrivateKey(bio, static_cast<EVP_PKEY *>(k), nullptr, nullptr, 0,
                                                    nullptr, nullptr);
                },
                key.get()),
            pem_of([](BIO *bio, void *c) { return PEM_write_bio_X509(bio, static_cast<X509 *>(c)); },
                   cert.get())};
}

}  // namespace vantix::test
