// SPDX-License-Identifier: Apache-2.0
// Opening: the host signature (when there is one) is checked, the envelope
// decrypted with the recipient's key and the record read strictly. OpenSSL's
// failures become texts that say which of those went wrong.
#include "sealing.hpp"

namespace vantix::signature {
namespace {

constexpr const char *not_sealed = "The data is not a sealed signature record.";
constexpr const char *wrong_key =
    "The key does not open this sealed record (wrong key, or its recipient information is damaged).";
constexpr const char *damaged = "The sealed record is damaged (its authentication tag does not match).";

[[noreturn]] void failed(const char *text) {
    drain_openssl_errors();
    throw record_error(text);
}

cms_ptr parse_cms(std::string_view der) {
    cms_ptr cms(d2i_CMS_bio(memory_bio(der).get(), nullptr));
    if (!cms)
        failed(not_sealed);
    return cms;
}

std::string subject_of(X509 *cert) {
    const bio_ptr out(BIO_new(BIO_s_mem()));
    if (!out || X509_NAME_print_ex(out.get(), X509_get_subject_name(cert), 0, XN_FLAG_RFC2253) < 0)
        return {};
    return std::string(bio_bytes(out.get()));
}

// The envelope inside a host's SignedData, its signature verified with the
// certificate it carries. Whether that host is trusted is the caller's call.
std::string signed_content(CMS_ContentInfo *cms, std::string &subject) {
    const bio_ptr content(BIO_new(BIO_s_mem()));
    if (!content ||
        !CMS_verify(cms, nullptr, nullptr, nullptr, content.get(), CMS_BINARY | CMS_NO_SIGNER_CERT_VERIFY))
        failed("The host signature of the sealed record does not verify.");
    STACK_OF(X509) *signers = CMS_get0_signers(cms);
    if (signers && sk_X509_num(signers) > 0)
        subject = subject_of(sk_X509_value(signers, 0));
    sk_X509_free(signers);
    return std::string(bio_bytes(content.get()));
}

}  // namespace

opened_record open_sealed(std::string_view der, const vantix_signature_material *key,
                          const vantix_signature_material *cert) {
    if (der.size() > VANTIX_SIGNATURE_MAX_SEALED_SIZE)
        throw record_error("A sealed record is at most 64 MiB.");
    const pkey_ptr pkey = load_private_key(key, "recipient key");
    const x509_ptr recipient = cert ? load_certificate(cert, "recipient certificate") : nullptr;
    opened_record out;
    cms_ptr cms = parse_cms(der);
    if (OBJ_obj2nid(CMS_get0_type(cms.get())) == NID_pkcs7_signed) {
        const std::string envelope = signed_content(cms.get(), out.host_subject);
        out.host_signed = true;
        cms = parse_cms(envelope);
    }
    if (OBJ_obj2nid(CMS_get0_type(cms.get())) != NID_id_smime_ct_authEnvelopedData)
        failed(not_sealed);
    // Two steps, so a key that opens no recipient is told from a damaged
    // content. The flags-only call sets CMS_DEBUG_DECRYPT: without it a key
    // that fails is replaced by a random one (a guard against padding
    // oracles in on-line services) and a wrong key would read as damage.
    CMS_decrypt(cms.get(), nullptr, nullptr, nullptr, nullptr, CMS_DEBUG_DECRYPT);
    if (!CMS_decrypt_set1_pkey_and_peer(cms.get(), pkey.get(), recipient.get(), nullptr))
        failed(wrong_key);
    // A secure-heap BIO, wiped when freed.
    const bio_ptr plain(BIO_new(BIO_s_secmem()));
    if (!plain)
        throw std::bad_alloc();
    if (!CMS_decrypt(cms.get(), nullptr, nullptr, nullptr, plain.get(), CMS_BINARY))
        failed(damaged);
    drain_openssl_errors();
    out.content = read_record(bio_bytes(plain.get()));
    return out;
}

}  // namespace vantix::signature
