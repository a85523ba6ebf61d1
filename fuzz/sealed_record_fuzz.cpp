// SPDX-License-Identifier: Apache-2.0
// Sealed signature records: the first byte picks what the rest is.
//   0: a sealed record, opened with the fixed recipient key;
//   1: a decrypted record, read directly;
//   2: a decrypted record, sealed to the fixed key here and opened through
//      the public API, so the reader runs behind a valid envelope.
// The key and certificate are made once, in LLVMFuzzerInitialize.
#include <openssl/cms.h>
#include <openssl/pem.h>

#include <cstdint>
#include <memory>

#include "signature/record.hpp"
#include "signature/test_keys.hpp"

namespace {

vantix::test::identity *recipient;
X509 *recipient_cert;

std::string envelope_of(const uint8_t *data, size_t size) {
    BIO *in = BIO_new_mem_buf(data, static_cast<int>(size));
    STACK_OF(X509) *to = sk_X509_new_null();
    sk_X509_push(to, recipient_cert);
    CMS_ContentInfo *cms = CMS_encrypt(to, in, EVP_aes_256_gcm(), CMS_BINARY);
    BIO *out = BIO_new(BIO_s_mem());
    i2d_CMS_bio(out, cms);
    char *der = nullptr;
    const long length = BIO_get_mem_data(out, &der);
    std::string result(der, static_cast<size_t>(length));
    BIO_free(out);
    CMS_ContentInfo_free(cms);
    sk_X509_free(to);
    BIO_free(in);
    return result;
}

void open(const std::string &sealed) {
    const vantix_signature_material key = recipient->key();
    vantix_signature_opened *opened = vantix_signature_open_sealed(
        reinterpret_cast<const unsigned char *>(sealed.data()), sealed.size(), &key, nullptr);
    if (opened)
        vantix_signature_capture_free(vantix_signature_opened_load_capture(opened));
    vantix_signature_opened_free(opened);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    recipient = new vantix::test::identity(vantix::test::make_identity("P-256", "fuzz recipient"));
    BIO *bio = BIO_new_mem_buf(recipient->cert_pem.data(), static_cast<int>(recipient->cert_pem.size()));
    recipient_cert = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const std::string rest(reinterpret_cast<const char *>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0: open(rest); break;
    case 1: try { vantix::signature::read_record(rest);
        } catch (const vantix::signature::record_error &) {
        }
        break;
    default: open(envelope_of(data + 1, size - 1)); break;
    }
    return 0;
}
