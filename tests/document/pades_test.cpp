// SPDX-License-Identifier: Apache-2.0
// The CMS of a signature: what PAdES asks of its signed attributes, for RSA
// and EC signers, and that it still verifies after the signing time goes.
#include <gtest/gtest.h>
#include <openssl/cms.h>

#include "document/pades.hpp"
#include "signature/test_keys.hpp"

namespace vantix::document {
namespace {

TEST(document_pades, SignedAttributesHoldNoSigningTimeAndVerify) {
    for (const char *kind : {"RSA-2048", "P-256"}) {
        SCOPED_TRACE(kind);
        const test::identity signer = test::make_identity(kind, "Signer");
        const vantix_signature_material key = signer.key(), cert = signer.cert();
        const std::string data = "the signed byte range";
        const std::string der = pades_signer(&key, &cert, nullptr, 0).sign(data);

        const auto *p = reinterpret_cast<const unsigned char *>(der.data());
        CMS_ContentInfo *cms = d2i_CMS_ContentInfo(nullptr, &p, static_cast<long>(der.size()));
        ASSERT_NE(cms, nullptr);
        CMS_SignerInfo *info = sk_CMS_SignerInfo_value(CMS_get0_SignerInfos(cms), 0);
        EXPECT_LT(CMS_signed_get_attr_by_NID(info, NID_pkcs9_signingTime, -1), 0);
        EXPECT_GE(CMS_signed_get_attr_by_NID(info, NID_id_smime_aa_signingCertificateV2, -1), 0);
        EXPECT_GE(CMS_signed_get_attr_by_NID(info, NID_pkcs9_messageDigest, -1), 0);
        CMS_ContentInfo_free(cms);

        const cms_check good = check_cms(der, data), tampered = check_cms(der, "the signed byte rangE");
        EXPECT_TRUE(good.valid) << good.problem;
        EXPECT_EQ(good.signer, "CN=Signer");
        EXPECT_FALSE(tampered.valid);
    }
}

}  // namespace
}  // namespace vantix::document
