// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * libvantix-document for C++: header-only RAII classes over
 * vantix-document.h.
 *
 *     vantix::zelnar::pdf_document pdf("form.pdf");
 *     // show pdf.title() and pdf.short_digest() on the pad, capture `signature` ...
 *     vantix::zelnar::pdf_signing how;
 *     how.field = "Signature1";
 *     how.recipients = {key_material::file("notary.crt")};
 *     how.signer_key = key_material::file("key.pem");
 *     how.signer_cert = key_material::file("cert.pem");
 *     pdf.sign(signature, how, "signed.pdf");
 *
 *     for (const auto &field : vantix::zelnar::verify_pdf("signed.pdf", key_material::file("notary.key")))
 *         std::cout << field.field << (field.valid ? " valid" : " not valid") << "\n";
 *
 * Failures throw vantix::zelnar::error carrying
 * vantix_document_last_error()'s text. Link libvantix-document.
 */
#ifndef VANTIX_DOCUMENT_HPP
#define VANTIX_DOCUMENT_HPP

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "vantix-document.h"
#include "vantix-signature.hpp"

namespace vantix::zelnar {

/// How pdf_document::sign places and signs (vantix_document_sign_options).
struct pdf_signing {
    /// An empty signature field by name; empty: `page` and the rectangle,
    /// or with page 0 the first empty signature field.
    std::string field;
    unsigned page = 0;     ///< The page of a new field, from 1.
    double x = 0;          ///< The new field's left edge, in points as the page is shown.
    double y = 0;          ///< Its lower edge.
    double width = 0;      ///< Its width.
    double height = 0;     ///< Its height.
    std::string reason;    ///< /Reason; empty: none.
    std::string location;  ///< /Location; empty: none.
    std::string name;      ///< The signer's name (/Name and the line under the ink); empty: none.
    std::string prompt;    ///< What the pad showed, for the sealed record.
    std::vector<key_material> recipients;     ///< Certificates the record is sealed to.
    std::optional<key_material> signer_key;   ///< The PAdES signer's key (with signer_cert).
    std::optional<key_material> signer_cert;  ///< The PAdES signer's certificate.
    std::vector<key_material> chain;          ///< The signer's chain.
    std::int64_t signing_time = 0;            ///< Unix seconds; 0: now.
};

/// A PDF opened for signing (vantix_document).
class pdf_document {
public:
    /// Reads and parses the PDF at `path` (vantix_document_open).
    explicit pdf_document(const std::string &path) : document_(vantix_document_open(path.c_str())) {
        if (!document_)
            throw_error("opening " + path, vantix_document_last_error());
    }

    /// Its /Title, else its file name.
    std::string title() const { return vantix_document_title(document_.get()); }
    /// The SHA-256 of the file's bytes.
    std::array<unsigned char, 32> sha256() const {
        std::array<unsigned char, 32> digest{};
        vantix_document_sha256(document_.get(), digest.data());
        return digest;
    }
    /// Its first 8 hex digits, as the pad shows them.
    std::string short_digest() const {
        static const char digits[] = "0123456789abcdef";
        const std::array<unsigned char, 32> digest = sha256();
        std::string out;
        for (std::size_t i = 0; i < 4; ++i)
            out += {digits[digest[i] >> 4], digits[digest[i] & 15]};
        return out;
    }

    /// Throws when `how` names no place the signature can go.
    void check_placement(const pdf_signing &how) const {
        const vantix_document_placement p = placement(how);
        if (vantix_document_check_placement(document_.get(), &p) != VANTIX_CODE_SUCCESS)
            throw_error("placing the signature", vantix_document_last_error());
    }

    /// Signs with `signature` and writes `out_path` (whole or not at all).
    void sign(const signature_capture &signature, const pdf_signing &how, const std::string &out_path) const {
        std::vector<vantix_signature_material> recipients, chain;
        for (const key_material &m : how.recipients)
            recipients.push_back(m.get());
        for (const key_material &m : how.chain)
            chain.push_back(m.get());
        vantix_signature_material key{}, cert{};
        vantix_document_sign_options o;
        vantix_document_default_sign_options(&o);
        o.placement = placement(how);
        o.reason = text(how.reason);
        o.location = text(how.location);
        o.name = text(how.name);
        o.prompt = text(how.prompt);
        o.recipients = recipients.data();
        o.recipient_count = recipients.size();
        if (how.signer_key && how.signer_cert) {
            key = how.signer_key->get();
            cert = how.signer_cert->get();
            o.signer_key = &key;
            o.signer_cert = &cert;
        }
        o.chain = chain.data();
        o.chain_count = chain.size();
        o.signing_time = how.signing_time;
        if (vantix_document_sign(document_.get(), signature.get(), &o, out_path.c_str()) !=
            VANTIX_CODE_SUCCESS)
            throw_error("signing the PDF", vantix_document_last_error());
    }

private:
    static const char *text(const std::string &s) { return s.empty() ? nullptr : s.c_str(); }
    static vantix_document_placement placement(const pdf_signing &how) {
        return {text(how.field), how.page, how.x, how.y, how.width, how.height};
    }
    struct deleter {
        void operator()(vantix_document *d) const { vantix_document_free(d); }
    };
    std::unique_ptr<vantix_document, deleter> document_;
};

/// One signature field as verify_pdf found it (vantix_document_signature).
struct pdf_signature_check {
    std::string field;                         ///< The field's full name.
    std::string signer;                        ///< The signer certificate's subject.
    std::string reason;                        ///< /Reason.
    std::string location;                      ///< /Location.
    std::string name;                          ///< /Name.
    std::string time;                          ///< /M.
    std::string sub_filter;                    ///< /SubFilter.
    std::string problem;                       ///< Why the signature does not check.
    std::string record_problem;                ///< Why the record does not match.
    unsigned page = 0;                         ///< The widget's page, from 1.
    bool is_signed = false;                    ///< It holds a digital signature.
    bool covers_whole_file = false;            ///< The byte range ends at the file's end.
    bool valid = false;                        ///< Digest and CMS signature check.
    bool has_record = false;                   ///< A sealed record is associated with it.
    bool record_matches = false;               ///< The record opened and matches its revision.
    std::uint64_t signed_length = 0;           ///< Bytes the byte range covers (its end).
    std::uint64_t record_revision_length = 0;  ///< Bytes of the record's revision.
    std::array<unsigned char, 32> sha256{};    ///< SHA-256 over the byte range.
};

/// Every signature field of the PDF at `path`; with `key` the sealed records
/// are opened and compared with their revisions.
inline std::vector<pdf_signature_check> verify_pdf(const std::string &path,
                                                   const std::optional<key_material> &key = std::nullopt) {
    const vantix_signature_material k = key ? key->get() : vantix_signature_material{};
    struct deleter {
        void operator()(vantix_document_report *r) const { vantix_document_report_free(r); }
    };
    const std::unique_ptr<vantix_document_report, deleter> report(
        vantix_document_verify(path.c_str(), key ? &k : nullptr));
    if (!report)
        throw_error("verifying " + path, vantix_document_last_error());
    std::vector<pdf_signature_check> out;
    for (std::size_t i = 0; i < vantix_document_report_count(report.get()); ++i) {
        const vantix_document_signature &s = *vantix_document_report_at(report.get(), i);
        pdf_signature_check c{s.field, s.signer,     s.reason,  s.location,      s.name,
                              s.time,  s.sub_filter, s.problem, s.record_problem};
        c.page = s.page;
        c.is_signed = s.is_signed;
        c.covers_whole_file = s.covers_whole_file;
        c.valid = s.valid;
        c.has_record = s.has_record;
        c.record_matches = s.record_matches;
        c.signed_length = s.signed_length;
        c.record_revision_length = s.record_revision_length;
        std::copy(std::begin(s.sha256), std::end(s.sha256), c.sha256.begin());
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace vantix::zelnar

#endif
