// SPDX-License-Identifier: Apache-2.0
// Sealing: the record is encrypted with AES-256-GCM under a fresh content
// key, which goes to each recipient by RSA-OAEP (SHA-256) or ECDH; the host
// signature, when asked for, is SignedData over the envelope's DER.
#include <openssl/rsa.h>

#include "sealing.hpp"

namespace vantix::signature {
namespace {

constexpr std::size_t max_recipients = 64;

[[noreturn]] void refused(const std::string &text) {
    drain_openssl_errors();
    throw record_error(text);
}

// RSA recipients get OAEP with SHA-256 instead of the PKCS #1 v1.5 default.
void add_recipient(CMS_ContentInfo *cms, const vantix_signature_material &material, std::size_t index) {
    const std::string what = "recipient certificate " + std::to_string(index + 1);
    const x509_ptr cert = load_certificate(&material, what.c_str());
    const bool rsa = EVP_PKEY_is_a(X509_get0_pubkey(cert.get()), "RSA");
    CMS_RecipientInfo *info = CMS_add1_recipient_cert(cms, cert.get(), rsa ? CMS_KEY_PARAM : 0);
    if (!info)
        refused("The " + what + " cannot receive a sealed record (it needs an RSA or EC key).");
    if (rsa) {
        EVP_PKEY_CTX *ctx = CMS_RecipientInfo_get0_pkey_ctx(info);
        if (!ctx || EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) <= 0 ||
            EVP_PKEY_CTX_set_rsa_oaep_md(ctx, EVP_sha256()) <= 0 ||
            EVP_PKEY_CTX_set_rsa_mgf1_md(ctx, EVP_sha256()) <= 0)
            refused("Unable to set RSA-OAEP for the " + what + ".");
    }
}

std::string der_of(CMS_ContentInfo *cms) {
    const bio_ptr out(BIO_new(BIO_s_mem()));
    if (!out || !i2d_CMS_bio(out.get(), cms))
        refused("Unable to encode the sealed record.");
    return std::string(bio_bytes(out.get()));
}

// SignedData whose content is the envelope, typed as such so readers know
// what the signed bytes are.
std::string sign(const std::string &envelope, host_signer signer) {
    const x509_ptr cert = load_certificate(signer.cert, "host certificate");
    const pkey_ptr key = load_private_key(signer.key, "host key");
    if (!X509_check_private_key(cert.get(), key.get()))
        refused("The host key does not belong to the host certificate.");
    const bio_ptr content = memory_bio(envelope);
    const unsigned flags = CMS_BINARY | CMS_PARTIAL;
    const cms_ptr cms(CMS_sign(cert.get(), key.get(), nullptr, nullptr, flags));
    if (!cms || !CMS_set1_eContentType(cms.get(), OBJ_nid2obj(NID_id_smime_ct_authEnvelopedData)) ||
        !CMS_final(cms.get(), content.get(), nullptr, CMS_BINARY))
        refused("Unable to sign the sealed record with the host key.");
    return der_of(cms.get());
}

}  // namespace

std::string seal(const snapshot &shot, const record_header &header,
                 std::span<const vantix_signature_material> recipients, host_signer signer) {
    if (recipients.empty() || recipients.size() > max_recipients)
        throw record_error("A sealed record has 1 to 64 recipients.");
    if (!signer.key != !signer.cert)
        throw record_error("A host signature needs both the host key and its certificate.");
    const secret_string plain = write_record(shot, header);
    const cms_ptr cms(CMS_AuthEnvelopedData_create(EVP_aes_256_gcm()));
    // A new envelope leaves its content out (detached) until told otherwise.
    if (!cms || !CMS_set_detached(cms.get(), 0))
        refused("Unable to create a sealed record.");
    for (std::size_t i = 0; i < recipients.size(); ++i)
        add_recipient(cms.get(), recipients[i], i);
    if (!CMS_final(cms.get(), memory_bio(plain).get(), nullptr, CMS_BINARY))
        refused("Unable to encrypt the signature record.");
    std::string envelope = der_of(cms.get());
    drain_openssl_errors();
    return signer.key ? sign(envelope, signer) : envelope;
}

}  // namespace vantix::signature
