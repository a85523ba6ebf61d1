// SPDX-License-Identifier: Apache-2.0
#include "pades.hpp"

#include <openssl/asn1.h>
#include <openssl/cms.h>
#include <openssl/err.h>
#include <openssl/ess.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <new>

#include "../signature/openssl_types.hpp"
#include "errors.hpp"

namespace vantix::document {
namespace {

using signature::bio_ptr;
using signature::cms_ptr;
using signature::drain_openssl_errors;
using signature::memory_bio;
using signature::pkey_ptr;
using signature::x509_ptr;

std::string openssl_text(const char *what) {
    const unsigned long code = drain_openssl_errors();
    char text[256] = "";
    if (code)
        ERR_error_string_n(code, text, sizeof text);
    return std::string(what) + (code ? std::string(" (") + text + ")" : std::string()) + ".";
}

// The ESS signing-certificate-v2 attribute: the signer's certificate's
// SHA-256, so the signer cannot be swapped for another holding the same key.
void add_signing_certificate(CMS_SignerInfo *info, X509 *cert) {
    ESS_SIGNING_CERT_V2 *ess = OSSL_ESS_signing_cert_v2_new_init(EVP_sha256(), cert, nullptr, 0);
    unsigned char *der = nullptr;
    const int size = ess ? i2d_ESS_SIGNING_CERT_V2(ess, &der) : -1;
    ESS_SIGNING_CERT_V2_free(ess);
    const int added = size > 0 ? CMS_signed_add1_attr_by_NID(info, NID_id_smime_aa_signingCertificateV2,
                                                             V_ASN1_SEQUENCE, der, size)
                               : 0;
    OPENSSL_free(der);
    if (!added)
        throw document_error(openssl_text("Cannot add the signing certificate attribute"));
}

void free_bytes(unsigned char *bytes) { OPENSSL_free(bytes); }
void free_any_set(STACK_OF(ASN1_TYPE) * set) { sk_ASN1_TYPE_pop_free(set, ASN1_TYPE_free); }
using bytes_ptr = std::unique_ptr<unsigned char, signature::openssl_free<unsigned char, free_bytes>>;
using any_set_ptr =
    std::unique_ptr<STACK_OF(ASN1_TYPE), signature::openssl_free<STACK_OF(ASN1_TYPE), free_any_set>>;
using any_ptr = std::unique_ptr<ASN1_TYPE, signature::openssl_free<ASN1_TYPE, ASN1_TYPE_free>>;
using digest_context_ptr = std::unique_ptr<EVP_MD_CTX, signature::openssl_free<EVP_MD_CTX, EVP_MD_CTX_free>>;

// The DER of the signer's signed attributes, as their signature covers
// them: a SET OF, which OpenSSL's encoder sorts.
std::string signed_attributes_der(CMS_SignerInfo *info) {
    any_set_ptr set(sk_ASN1_TYPE_new_null());
    for (int i = 0; set && i < CMS_signed_get_attr_count(info); ++i) {
        unsigned char *der = nullptr;
        const int size = i2d_X509_ATTRIBUTE(CMS_signed_get_attr(info, i), &der);
        bytes_ptr owned(der);
        any_ptr element(ASN1_TYPE_new());
        ASN1_STRING *sequence = size > 0 && element ? ASN1_STRING_type_new(V_ASN1_SEQUENCE) : nullptr;
        if (!sequence)
            throw document_error(openssl_text("Cannot encode the signed attributes"));
        ASN1_STRING_set0(sequence, owned.release(), size);
        ASN1_TYPE_set(element.get(), V_ASN1_SEQUENCE, sequence);
        if (!sk_ASN1_TYPE_push(set.get(), element.get()))
            throw std::bad_alloc();
        element.release();
    }
    unsigned char *der = nullptr;
    const int size = set ? i2d_ASN1_SET_ANY(set.get(), &der) : -1;
    bytes_ptr owned(der);
    if (size <= 0)
        throw document_error(openssl_text("Cannot encode the signed attributes"));
    return std::string(reinterpret_cast<const char *>(der), static_cast<std::size_t>(size));
}

// PAdES keeps the signing time in the signature dictionary (/M), never in
// a signing-time attribute, which OpenSSL 3.0 adds whenever it signs. It
// goes, and what is left is signed again with the same key and digest.
void drop_signing_time(CMS_SignerInfo *info, EVP_PKEY *key) {
    X509_ATTRIBUTE *time =
        CMS_signed_delete_attr(info, CMS_signed_get_attr_by_NID(info, NID_pkcs9_signingTime, -1));
    if (!time)
        throw document_error(openssl_text("The signature has no signing time to remove"));
    X509_ATTRIBUTE_free(time);
    const std::string attributes = signed_attributes_der(info);
    const auto *bytes = reinterpret_cast<const unsigned char *>(attributes.data());
    digest_context_ptr context(EVP_MD_CTX_new());
    std::size_t length = 0;
    if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key) != 1 ||
        EVP_DigestSign(context.get(), nullptr, &length, bytes, attributes.size()) != 1)
        throw document_error(openssl_text("Cannot sign the signed attributes"));
    std::string signature(length, '\0');
    if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &length, bytes,
                       attributes.size()) != 1 ||
        !ASN1_STRING_set(CMS_SignerInfo_get0_signature(info), signature.data(), static_cast<int>(length)))
        throw document_error(openssl_text("Cannot sign the signed attributes"));
}

std::string subject_of(X509 *cert) {
    bio_ptr out(BIO_new(BIO_s_mem()));
    X509_NAME_print_ex(out.get(), X509_get_subject_name(cert), 0, XN_FLAG_RFC2253);
    return std::string(signature::bio_bytes(out.get()));
}

}  // namespace

struct pades_signer::material {
    struct chain_free {
        void operator()(STACK_OF(X509) * chain) const { sk_X509_pop_free(chain, X509_free); }
    };
    signature::pkey_ptr key;
    signature::x509_ptr cert;
    std::unique_ptr<STACK_OF(X509), chain_free> chain;
};

pades_signer::~pades_signer() = default;

pades_signer::pades_signer(const vantix_signature_material *key, const vantix_signature_material *cert,
                           const vantix_signature_material *chain, size_t chain_count)
    : m_(new material{signature::load_private_key(key, "signer key"),
                      signature::load_certificate(cert, "signer certificate"),
                      std::unique_ptr<STACK_OF(X509), material::chain_free>(sk_X509_new_null())}) {
    if (!m_->chain)
        throw std::bad_alloc();
    if (!X509_check_private_key(m_->cert.get(), m_->key.get())) {
        drain_openssl_errors();
        throw document_error("The signer key is not the key of the signer certificate.");
    }
    for (size_t i = 0; i < chain_count; ++i) {
        x509_ptr c = signature::load_certificate(&chain[i], "chain certificate");
        if (!sk_X509_push(m_->chain.get(), c.get()))
            throw std::bad_alloc();
        c.release();
    }
}

std::string pades_signer::sign(std::string_view data) const {
    const unsigned flags = CMS_DETACHED | CMS_BINARY | CMS_PARTIAL | CMS_NOSMIMECAP;
    cms_ptr cms(CMS_sign(nullptr, nullptr, m_->chain.get(), nullptr, flags));
    CMS_SignerInfo *info =
        cms ? CMS_add1_signer(cms.get(), m_->cert.get(), m_->key.get(), EVP_sha256(), flags) : nullptr;
    if (!info)
        throw document_error(openssl_text("Cannot sign with this key"));
    add_signing_certificate(info, m_->cert.get());
    bio_ptr content = memory_bio(data);
    if (!CMS_final(cms.get(), content.get(), nullptr, flags & ~CMS_PARTIAL))
        throw document_error(openssl_text("Signing failed"));
    drop_signing_time(info, m_->key.get());
    unsigned char *der = nullptr;
    const int size = i2d_CMS_ContentInfo(cms.get(), &der);
    if (size <= 0)
        throw document_error(openssl_text("Cannot encode the signature"));
    std::string out(reinterpret_cast<const char *>(der), static_cast<std::size_t>(size));
    OPENSSL_free(der);
    return out;
}

std::size_t pades_signer::size_bound() const {
    // ECDSA signatures vary by a few bytes; the rest of the encoding is fixed.
    return sign("size").size() + 64;
}

cms_check check_cms(std::string_view der, std::string_view data) {
    cms_check check;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(der.data());
    cms_ptr cms(d2i_CMS_ContentInfo(nullptr, &p, static_cast<long>(der.size())));
    if (!cms) {
        check.problem = openssl_text("The signature value is not CMS");
        return check;
    }
    bio_ptr content = memory_bio(data);
    check.valid = CMS_verify(cms.get(), nullptr, nullptr, content.get(), nullptr,
                             CMS_NO_SIGNER_CERT_VERIFY | CMS_BINARY | CMS_DETACHED) == 1;
    if (!check.valid)
        check.problem = openssl_text("The signature does not verify over the signed bytes");
    STACK_OF(X509) *signers = CMS_get0_signers(cms.get());
    if (signers && sk_X509_num(signers) > 0)
        check.signer = subject_of(sk_X509_value(signers, 0));
    sk_X509_free(signers);
    drain_openssl_errors();
    return check;
}

}  // namespace vantix::document
