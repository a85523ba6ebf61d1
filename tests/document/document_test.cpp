// SPDX-License-Identifier: Apache-2.0
// Signing PDFs through the C API, checked by independent readers: pdfsig
// says each signature is valid, qpdf --check finds no error, pdftoppm
// renders the ink inside the field and the rest of the page as before.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "signature/test_keys.hpp"
#include "signature/tools.hpp"
#include "vantix-document.hpp"

namespace vantix::test {
namespace {

namespace fs = std::filesystem;

struct document_deleter {
    void operator()(vantix_document *d) const { vantix_document_free(d); }
};
using document_ptr = std::unique_ptr<vantix_document, document_deleter>;
struct report_deleter {
    void operator()(vantix_document_report *r) const { vantix_document_report_free(r); }
};
using report_ptr = std::unique_ptr<vantix_document_report, report_deleter>;

// A handwritten-looking stroke across the virtual pad.
capture_ptr signature() {
    capture_ptr capture = new_capture();
    std::uint64_t t = 1000;
    for (int i = 0; i <= 40; ++i) {
        const double x = 300 + i * 85, y = 500 + 300 * ((i % 8) < 4 ? (i % 4) : 4 - (i % 4)) / 4.0;
        vantix_signature_add_point(capture.get(), static_cast<std::uint16_t>(x),
                                   static_cast<std::uint16_t>(y), 0.8f, 1, t += 5000);
    }
    return capture;
}

std::string read_all(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

struct placement {
    const char *field;
    unsigned page;
    double x, y, width, height;  // as shown; for a field, its rectangle
};

class document_signing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        inputs = new std::string(scratch("-pdf-inputs"));
        ASSERT_EQ(run(std::string(VANTIX_MAKE_INPUTS) + " " + *inputs).status, 0);
        signer = new identity(make_identity("RSA-2048", "First Signer"));
        second = new identity(make_identity("P-256", "Second Signer"));
        notary = new identity(make_identity("P-256", "Notary"));
    }
    static void TearDownTestSuite() {
        fs::remove_all(*inputs);
        delete inputs;
        for (identity *i : {signer, second, notary})
            delete i;
    }
    void TearDown() override {
        for (const std::string &f : made_)
            fs::remove_all(f);
    }

    static std::string input(const std::string &name) { return *inputs + "/" + name; }
    std::string output(const std::string &suffix = ".pdf") { return made_.emplace_back(scratch(suffix)); }

    // Signs `in` into `out`: VANTIX_CODE_SUCCESS or the error's text in `error`.
    vantix_error_code sign(const std::string &in, const std::string &out, const placement &where,
                           const identity *with = signer, bool seal = true,
                           const vantix_signature_capture *capture = nullptr) {
        const document_ptr document(vantix_document_open(in.c_str()));
        if (!document)
            return error = vantix_document_last_error(), VANTIX_CODE_ERROR;
        const capture_ptr ink = signature();
        vantix_document_sign_options options;
        vantix_document_default_sign_options(&options);
        options.placement = {where.field, where.page, where.x, where.y, where.width, where.height};
        options.reason = "Agreed";
        options.name = "J. Doe";
        const vantix_signature_material key = with ? with->key() : vantix_signature_material{},
                                        cert = with ? with->cert() : vantix_signature_material{},
                                        recipient = notary->cert();
        if (with)
            options.signer_key = &key, options.signer_cert = &cert;
        if (seal)
            options.recipients = &recipient, options.recipient_count = 1;
        const vantix_error_code code =
            vantix_document_sign(document.get(), capture ? capture : ink.get(), &options, out.c_str());
        error = code == VANTIX_CODE_SUCCESS ? "" : vantix_document_last_error();
        return code;
    }

    report_ptr verify(const std::string &path) {
        const vantix_signature_material key = notary->key();
        return report_ptr(vantix_document_verify(path.c_str(), &key));
    }

    // The page as pdftoppm shows it (its crop box) in grey at 72 dpi: a pixel a point.
    grey_picture render(const std::string &pdf, unsigned page) {
        const std::string prefix = output("");
        EXPECT_EQ(run("pdftoppm -cropbox -r 72 -gray -png -singlefile -f " + std::to_string(page) + " -l " +
                      std::to_string(page) + " " + pdf + " " + prefix)
                      .status,
                  0);
        made_.push_back(prefix + ".png");
        return read_png(prefix + ".png");
    }

    static std::string *inputs;
    static identity *signer, *second, *notary;
    std::string error;

private:
    std::vector<std::string> made_;
};

std::string *document_signing::inputs;
identity *document_signing::signer, *document_signing::second, *document_signing::notary;

TEST_F(document_signing, IndependentReadersAcceptEveryInput) {
    const struct {
        const char *file;
        placement where;
    } cases[] = {
        {"ghostscript.pdf", {nullptr, 1, 100, 100, 200, 60}},
        {"cairo.pdf", {nullptr, 1, 300, 500, 200, 60}},
        {"object-streams.pdf", {nullptr, 1, 100, 100, 200, 60}},  // cross-reference stream
        {"linearized.pdf", {nullptr, 1, 100, 100, 200, 60}},
        {"form.pdf", {"Signature1", 1, 60, 400, 200, 60}},  // the field's rectangle
        {"form.pdf", {nullptr, 2, 20, 20, 200, 80}},        // turned by 90, with a crop box
        {"form.pdf", {nullptr, 3, 300, 40, 200, 80}},       // turned by 270
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " page " + std::to_string(c.where.page));
        const std::string out = output();
        placement where = c.where;
        if (where.field)
            where.page = 0;
        ASSERT_EQ(sign(input(c.file), out, where), VANTIX_CODE_SUCCESS) << error;

        const std::string sig = run("pdfsig " + out + " 2>&1").out;
        EXPECT_EQ(count(sig, "Signature is Valid."), 1u) << sig;
        EXPECT_EQ(count(sig, "Total document signed"), 1u) << sig;
        EXPECT_EQ(run("qpdf --check " + out + " >/dev/null 2>&1").status, 0);

        const grey_picture before = render(input(c.file), c.where.page), after = render(out, c.where.page);
        ASSERT_EQ(before.width, after.width);
        ASSERT_EQ(before.height, after.height);
        std::size_t ink = 0, changed_outside = 0;
        for (std::uint32_t y = 0; y < after.height; ++y)
            for (std::uint32_t x = 0; x < after.width; ++x) {
                // Pixel rows count down from the top of the page as shown.
                const double u = x + 0.5, v = after.height - y - 0.5;
                const bool inside = u >= c.where.x - 1 && u <= c.where.x + c.where.width + 1 &&
                                    v >= c.where.y - 1 && v <= c.where.y + c.where.height + 1;
                if (inside)
                    ink += after.at(x, y) < 128;
                else
                    changed_outside += before.at(x, y) != after.at(x, y);
            }
        EXPECT_GT(ink, 50u);
        EXPECT_EQ(changed_outside, 0u);
    }
}

TEST_F(document_signing, OneChangedByteInTheSignedRangeInvalidates) {
    const std::string out = output();
    ASSERT_EQ(sign(input("form.pdf"), out, {nullptr, 1, 100, 100, 200, 60}), VANTIX_CODE_SUCCESS) << error;
    std::string bytes = read_all(out);
    bytes[bytes.find("(A form)") + 1] = 'B';  // the page's text, early in the signed range
    std::ofstream(out, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(count(run("pdfsig " + out + " 2>&1").out, "Signature is Valid."), 0u);
    const report_ptr report = verify(out);
    ASSERT_TRUE(report) << vantix_document_last_error();
    EXPECT_FALSE(vantix_document_report_at(report.get(), 0)->valid);
}

TEST_F(document_signing, TwoSignersInTurnBothValidEachRecordMatchesItsRevision) {
    const std::string first = output(), both = output();
    ASSERT_EQ(sign(input("form.pdf"), first, {"Signature1", 0, 0, 0, 0, 0}), VANTIX_CODE_SUCCESS) << error;
    // No placement: the first empty signature field, Signature2.
    ASSERT_EQ(sign(first, both, {nullptr, 0, 0, 0, 0, 0}, second), VANTIX_CODE_SUCCESS) << error;

    const std::string sig = run("pdfsig " + both + " 2>&1").out;
    EXPECT_EQ(count(sig, "Signature is Valid."), 2u) << sig;
    EXPECT_EQ(count(sig, "Total document signed"), 1u) << sig;
    const report_ptr report = verify(both);
    ASSERT_TRUE(report) << vantix_document_last_error();
    ASSERT_EQ(vantix_document_report_count(report.get()), 2u);
    const std::uint64_t revisions[] = {fs::file_size(input("form.pdf")), fs::file_size(first)};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const vantix_document_signature &s = *vantix_document_report_at(report.get(), i);
        EXPECT_TRUE(s.valid) << s.problem;
        EXPECT_EQ(s.covers_whole_file, i == 1);
        EXPECT_STREQ(s.signer, i == 0 ? "CN=First Signer" : "CN=Second Signer");
        EXPECT_STREQ(s.reason, "Agreed");
        EXPECT_TRUE(s.record_matches) << s.record_problem;
        EXPECT_EQ(s.record_revision_length, revisions[i]);
    }
}

TEST_F(document_signing, WithoutASignerKeyTheInkAndRecordStayUnsigned) {
    const std::string out = output();
    ASSERT_EQ(sign(input("cairo.pdf"), out, {nullptr, 1, 100, 100, 200, 60}, nullptr), VANTIX_CODE_SUCCESS)
        << error;
    EXPECT_EQ(run("qpdf --check " + out + " >/dev/null 2>&1").status, 0);
    const report_ptr report = verify(out);
    ASSERT_TRUE(report) << vantix_document_last_error();
    const vantix_document_signature &s = *vantix_document_report_at(report.get(), 0);
    EXPECT_FALSE(s.is_signed);
    EXPECT_TRUE(s.record_matches) << s.record_problem;
    // The field is taken: a second signature needs another place.
    EXPECT_EQ(sign(out, output(), {nullptr, 0, 0, 0, 0, 0}), VANTIX_CODE_ERROR);
}

TEST_F(document_signing, RefusalsLeaveNoOutput) {
    const std::string signed_form = output();
    ASSERT_EQ(sign(input("form.pdf"), signed_form, {"Signature1", 0, 0, 0, 0, 0}), VANTIX_CODE_SUCCESS)
        << error;
    const capture_ptr empty = new_capture();
    const identity mismatched{signer->key_pem, second->cert_pem};
    const struct {
        std::string file;
        placement where;
        const identity *with;
        const vantix_signature_capture *capture;
        const char *error;
    } cases[] = {
        {input("encrypted.pdf"),
         {nullptr, 1, 10, 10, 50, 50},
         signer,
         nullptr,
         "The PDF is encrypted: encrypted documents cannot be signed."},
        {input("damaged.pdf"),
         {nullptr, 1, 10, 10, 50, 50},
         signer,
         nullptr,
         "The file is not a readable PDF: "},
        {input("form.pdf"),
         {"Nope", 0, 0, 0, 0, 0},
         signer,
         nullptr,
         "No signature field named Nope in the document."},
        {signed_form,
         {"Signature1", 0, 0, 0, 0, 0},
         signer,
         nullptr,
         "The signature field Signature1 is already signed."},
        {input("ghostscript.pdf"),
         {nullptr, 0, 0, 0, 0, 0},
         signer,
         nullptr,
         "The document has no empty signature field: name a page and a rectangle for a new one."},
        {input("form.pdf"),
         {nullptr, 9, 10, 10, 50, 50},
         signer,
         nullptr,
         "The document has 3 pages; there is no page 9."},
        {input("form.pdf"),
         {nullptr, 1, 500, 700, 200, 200},
         signer,
         nullptr,
         "The rectangle is not inside page 1"},
        {input("form.pdf"),
         {nullptr, 1, 10, 10, 0, 50},
         signer,
         nullptr,
         "The rectangle must have a width and height above 0."},
        {input("form.pdf"),
         {"Signature1", 0, 0, 0, 0, 0},
         &mismatched,
         nullptr,
         "The signer key is not the key of the signer certificate."},
        {input("form.pdf"),
         {"Signature1", 0, 0, 0, 0, 0},
         signer,
         empty.get(),
         "The signature has no points."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        const std::string dir = output("-dir");
        fs::create_directory(dir);
        EXPECT_EQ(sign(c.file, dir + "/out.pdf", c.where, c.with, true, c.capture), VANTIX_CODE_ERROR);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_TRUE(fs::is_empty(dir));
    }
    EXPECT_EQ(sign(input("form.pdf"), "/nonexistent/dir/out.pdf", {"Signature1", 0, 0, 0, 0, 0}),
              VANTIX_CODE_ERROR);
    EXPECT_EQ(error.rfind("Cannot write /nonexistent/dir/out.pdf", 0), 0u) << error;
}

TEST_F(document_signing, CxxLayerSignsAndVerifies) {
    using namespace vantix::zelnar;
    const std::string out = output();
    pdf_document pdf(input("form.pdf"));
    EXPECT_EQ(pdf.title(), "Delivery note");
    EXPECT_EQ(pdf.short_digest().size(), 8u);
    pdf_signing how;
    how.field = "Signature2";
    how.recipients = {key_material::bytes(notary->cert_pem)};
    how.signer_key = key_material::bytes(signer->key_pem);
    how.signer_cert = key_material::bytes(signer->cert_pem);
    signature_capture ink(sim_pad_info());
    for (std::uint16_t x = 500; x < 3000; x += 100)
        vantix_signature_add_point(ink.get(), x, static_cast<std::uint16_t>(400 + x / 10), 1, 1, x * 1000u);
    pdf.sign(ink, how, out);
    const std::vector<pdf_signature_check> checks = verify_pdf(out, key_material::bytes(notary->key_pem));
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_FALSE(checks[0].is_signed);
    EXPECT_TRUE(checks[1].valid) << checks[1].problem;
    EXPECT_TRUE(checks[1].record_matches) << checks[1].record_problem;
    how.field = "Nope";
    EXPECT_THROW(pdf.check_placement(how), vantix::zelnar::error);
}

}  // namespace
}  // namespace vantix::test
