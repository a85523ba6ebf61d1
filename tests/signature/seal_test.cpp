// SPDX-License-Identifier: Apache-2.0
// The sealed signature record through the public API: round trips to RSA
// and EC recipients, each way of failing with its own text, and stock
// OpenSSL as an independent reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include "signature/record.hpp"
#include "signature/test_keys.hpp"
#include "signature/tools.hpp"

namespace vantix::test {
namespace {

struct opened_deleter {
    void operator()(vantix_signature_opened *o) const { vantix_signature_opened_free(o); }
};
using opened_ptr = std::unique_ptr<vantix_signature_opened, opened_deleter>;
using bytes = std::vector<unsigned char>;

const std::string document = "%PDF-1.7 the contract";

bytes take(unsigned char *data, std::size_t size) {
    bytes out(data, data + size);
    vantix_signature_free_buffer(data);
    return out;
}

class sealed_record : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        rsa = new identity(make_identity("RSA-2048", "RSA recipient"));
        ec = new identity(make_identity("P-256", "EC recipient"));
        other = new identity(make_identity("P-256", "Someone else"));
        host = new identity(make_identity("P-256", "Capturing host"));
    }
    static void TearDownTestSuite() {
        for (identity *i : {rsa, ec, other, host})
            delete i;
    }
    static inline identity *rsa, *ec, *other, *host;

    void SetUp() override {
        // Two strokes with varying pressure and times.
        for (int i = 0; i < 20; ++i)
            vantix_signature_add_point(capture.get(), static_cast<uint16_t>(200 + 50 * i), 300,
                                       0.25f + i / 40.0f, i != 10, 1000000 + 5000u * i);
        options.document = {nullptr, reinterpret_cast<const unsigned char *>(document.data()),
                            document.size(), nullptr};
        options.document_name = "contract.pdf";
        options.prompt = "I agree";
        options.pad_uuid = "3f2a";
        options.pad_firmware = "1.2.3";
    }

    bytes seal(const std::vector<vantix_signature_material> &to, bool signed_by_host = false) {
        const vantix_signature_material key = host->key(), cert = host->cert();
        unsigned char *data = nullptr;
        std::size_t size = 0;
        EXPECT_EQ(vantix_signature_seal(capture.get(), &options, to.data(), to.size(),
                                        signed_by_host ? &key : nullptr, signed_by_host ? &cert : nullptr,
                                        &data, &size),
                  VANTIX_CODE_SUCCESS)
            << vantix_signature_last_error();
        return take(data, size);
    }
    static opened_ptr open(const bytes &sealed, const identity &who, bool with_cert = true) {
        const vantix_signature_material key = who.key(), cert = who.cert();
        return opened_ptr(
            vantix_signature_open_sealed(sealed.data(), sealed.size(), &key, with_cert ? &cert : nullptr));
    }
    std::string record_of(const vantix_signature_capture *c) {
        unsigned char *data = nullptr;
        std::size_t size = 0;
        EXPECT_EQ(vantix_signature_record_buffer(c, &options, &data, &size), VANTIX_CODE_SUCCESS)
            << vantix_signature_last_error();
        const bytes out = take(data, size);
        return std::string(out.begin(), out.end());
    }

    capture_ptr capture = new_capture();
    vantix_signature_record_options options{};
};

TEST_F(sealed_record, RecordIsDeterministicWithIntegersAndFixedPressure) {
    const std::string record = record_of(capture.get());
    EXPECT_EQ(record, record_of(capture.get()));
    EXPECT_NE(record.find(R"("version":1,)"), std::string::npos);
    EXPECT_NE(record.find("\n[0,200,300,0.2500,1,0]"), std::string::npos) << record;
    EXPECT_NE(record.find("\n[45,650,300,0.0000,0,0]"), std::string::npos) << record;
}

TEST_F(sealed_record, EachRecipientOpensAloneAndGetsTheSameRecord) {
    const bytes to_both = seal({rsa->cert(), ec->cert()});
    for (const auto &[sealed, who, with_cert] :
         {std::tuple{seal({rsa->cert()}), rsa, true}, std::tuple{seal({ec->cert()}), ec, false},
          std::tuple{to_both, rsa, false}, std::tuple{to_both, ec, true}}) {
        const opened_ptr opened = open(sealed, *who, with_cert);
        ASSERT_TRUE(opened) << vantix_signature_last_error();
        EXPECT_EQ(vantix_signature_opened_check_document(opened.get(), &options.document),
                  VANTIX_CODE_SUCCESS);
        EXPECT_STREQ(vantix_signature_opened_text(opened.get(), VANTIX_SIGNATURE_RECORD_DOCUMENT_NAME),
                     "contract.pdf");
        EXPECT_STREQ(vantix_signature_opened_text(opened.get(), VANTIX_SIGNATURE_RECORD_PAD_FIRMWARE),
                     "1.2.3");
        EXPECT_EQ(vantix_signature_opened_host_signed(opened.get()), 0);
        uint64_t start = 0, end = 0;
        vantix_signature_opened_times(opened.get(), &start, &end);
        EXPECT_EQ(end - start, 95000u);
        // The loaded capture makes the very same record again.
        const capture_ptr loaded(vantix_signature_opened_load_capture(opened.get()));
        ASSERT_TRUE(loaded);
        EXPECT_EQ(vantix_signature_stroke_count(loaded.get()), 2u);
        EXPECT_EQ(record_of(loaded.get()), record_of(capture.get()));
    }
}

TEST_F(sealed_record, EveryFailureHasItsOwnText) {
    const bytes sealed = seal({rsa->cert()});
    // The tag is the envelope's last 16 bytes, the ciphertext just before
    // its 2-byte header; the RSA-2048 wrapped key is a 256-byte OCTET STRING.
    const std::size_t tag = sealed.size() - 5, ciphertext = sealed.size() - 19;
    const bytes key_header{0x04, 0x82, 0x01, 0x00};
    const std::size_t wrapped_key =
        std::search(sealed.begin(), sealed.end(), key_header.begin(), key_header.end()) - sealed.begin() +
        100;
    const char *damaged = "The sealed record is damaged (its authentication tag does not match).";
    const char *wrong_key =
        "The key does not open this sealed record (wrong key, or its recipient information is damaged).";
    const struct {
        std::size_t flip;
        const identity *who;
        const char *text;
    } cases[] = {{0, other, wrong_key},
                 {tag, rsa, damaged},
                 {ciphertext, rsa, damaged},
                 {wrapped_key, rsa, wrong_key},
                 {1, rsa, "The data is not a sealed signature record."}};
    for (const auto &c : cases) {
        bytes bad = sealed;
        if (c.flip)
            bad[c.flip] ^= 0x40;
        EXPECT_FALSE(open(bad, *c.who, false)) << c.flip;
        EXPECT_STREQ(vantix_signature_last_error(), c.text) << c.flip;
    }
}

TEST_F(sealed_record, AnotherDocumentDoesNotMatch) {
    const opened_ptr opened = open(seal({ec->cert()}), *ec);
    ASSERT_TRUE(opened);
    const std::string path = scratch(".pdf");
    std::ofstream(path) << document;
    const std::string other_text = document + " ";
    const vantix_signature_document same_file{nullptr, nullptr, 0, path.c_str()},
        other_bytes{nullptr, reinterpret_cast<const unsigned char *>(other_text.data()), other_text.size(),
                    nullptr};
    EXPECT_EQ(vantix_signature_opened_check_document(opened.get(), &same_file), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_signature_opened_check_document(opened.get(), &other_bytes), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(), "The document does not match the signature record.");
    std::remove(path.c_str());
}

TEST_F(sealed_record, HostSignatureVerifiesAndNamesTheHost) {
    bytes sealed = seal({rsa->cert()}, true);
    const opened_ptr opened = open(sealed, *rsa);
    ASSERT_TRUE(opened) << vantix_signature_last_error();
    EXPECT_EQ(vantix_signature_opened_host_signed(opened.get()), 1);
    EXPECT_STREQ(vantix_signature_opened_text(opened.get(), VANTIX_SIGNATURE_RECORD_HOST_SIGNER),
                 "CN=Capturing host");
    sealed[sealed.size() / 3] ^= 1;  // inside the signed envelope
    EXPECT_FALSE(open(sealed, *rsa));
    EXPECT_STREQ(vantix_signature_last_error(), "The host signature of the sealed record does not verify.");
}

TEST_F(sealed_record, SealingRefusesBadArguments) {
    const vantix_signature_material garbage{nullptr, reinterpret_cast<const unsigned char *>("x"), 1};
    const vantix_signature_material to_rsa = rsa->cert();
    unsigned char *data = nullptr;
    std::size_t size = 0;
    EXPECT_EQ(vantix_signature_seal(capture.get(), &options, &garbage, 1, nullptr, nullptr, &data, &size),
              VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(), "The recipient certificate 1 is neither PEM nor DER.");
    EXPECT_EQ(vantix_signature_seal(capture.get(), &options, &to_rsa, 0, nullptr, nullptr, &data, &size),
              VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(), "A sealed record has 1 to 64 recipients.");
    options.document.path = "/nonexistent";
    EXPECT_EQ(vantix_signature_seal(capture.get(), &options, &to_rsa, 1, nullptr, nullptr, &data, &size),
              VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(),
                 "Give the signed document one way: its SHA-256 digest, its bytes or its file.");
    EXPECT_EQ(data, nullptr);
}

TEST_F(sealed_record, ReadingIsStrict) {
    const std::string good = record_of(capture.get());
    const auto with = [&](const std::string &from, const std::string &to) {
        std::string text = good;
        return text.replace(text.find(from), from.size(), to);
    };
    const struct {
        std::string text, error;
    } cases[] = {
        {with(R"("version":1)", R"("version":2)"), "Unsupported record version."},
        {with(R"("prompt")", R"("extra":0,"prompt")"),
         "The signature record is malformed: \"record\" is not an object of 9 keys."},
        {with("[0,200,", "[[[0]],200,"),
         "The signature record is malformed: it nests deeper than a record does."},
        {with("[0,200,", "[0,-200,"),
         "The signature record is malformed: a sample is not [t_ms, x, y, pressure, down, stroke]."},
        {with(",0,0]", ",1,0]"), "The signature record is malformed: the samples' strokes are out of order."},
        {with("0.2500", "1.5"), "The signature record is malformed: a sample's pressure is out of range."},
        {good.substr(0, 100), "The signature record is malformed: it is not JSON."},
    };
    EXPECT_NO_THROW(signature::read_record(good));
    for (const auto &c : cases) {
        try {
            signature::read_record(c.text);
            ADD_FAILURE() << c.error;
        } catch (const signature::record_error &e) {
            EXPECT_EQ(e.what(), c.error);
        }
    }
}

TEST_F(sealed_record, StockOpensslOpensAndVerifies) {
    if (!have_tool("openssl") || !have_tool("sha256sum"))
        GTEST_SKIP() << "openssl or sha256sum missing";
    const std::string dir = scratch("");
    std::filesystem::create_directory(dir);
    const auto write = [&](const std::string &name, const auto &content) {
        std::ofstream(dir + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char *>(content.data()),
                   static_cast<std::streamsize>(content.size()));
    };
    write("doc.pdf", document);
    write("key.pem", ec->key_pem);
    write("cert.pem", ec->cert_pem);
    write("s.p7m", seal({rsa->cert(), ec->cert()}));
    write("s.p7s", seal({ec->cert()}, true));
    const std::string decrypt =
        "openssl cms -decrypt -inform DER -recip " + dir + "/cert.pem -inkey " + dir + "/key.pem -in ";
    const std::string digest = run("sha256sum " + dir + "/doc.pdf").out.substr(0, 64);
    const command_result plain = run(decrypt + dir + "/s.p7m");
    ASSERT_EQ(plain.status, 0);
    EXPECT_NE(plain.out.find(R"("sha256":")" + digest), std::string::npos);
    ASSERT_EQ(run("openssl cms -verify -noverify -binary -inform DER -in " + dir + "/s.p7s -out " + dir +
                  "/inner.der")
                  .status,
              0);
    EXPECT_NE(run(decrypt + dir + "/inner.der").out.find(digest), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vantix::test
