// SPDX-License-Identifier: Apache-2.0
// The exported functions: argument checks, then the C++ parts; every
// exception becomes this thread's error text.
#include <cstring>
#include <deque>

#include "errors.hpp"
#include "output_file.hpp"
#include "pdf_file.hpp"
#include "placement.hpp"
#include "signing.hpp"
#include "verification.hpp"

struct vantix_document {
    std::string path;
    vantix::document::pdf_file file;
};

struct vantix_document_report {
    std::deque<vantix::document::field_check> checks;  // the strings the records point into
    std::deque<vantix_document_signature> records;
};

using namespace vantix::document;

namespace {

vantix_document_signature record_of(const field_check &c) {
    vantix_document_signature r{};
    r.field = c.field.c_str();
    r.page = c.page;
    r.is_signed = c.is_signed;
    r.signer = c.signer.c_str();
    r.reason = c.reason.c_str();
    r.location = c.location.c_str();
    r.name = c.name.c_str();
    r.time = c.time.c_str();
    r.sub_filter = c.sub_filter.c_str();
    r.covers_whole_file = c.covers_whole_file;
    r.signed_length = c.signed_length;
    std::memcpy(r.sha256, c.sha256.data(), sizeof r.sha256);
    r.valid = c.valid;
    r.problem = c.problem.c_str();
    r.has_record = c.has_record;
    r.record_matches = c.record_matches;
    r.record_revision_length = c.record_revision_length;
    r.record_problem = c.record_problem.c_str();
    return r;
}

}  // namespace

extern "C" {

VANTIX_EXPORT vantix_document *vantix_document_open(const char *path) {
    if (!path)
        return fail("No file given."), nullptr;
    return guarded<vantix_document *>(nullptr, [&] {
        return new vantix_document{path, pdf_file(read_file(path), path)};
    });
}

VANTIX_EXPORT void vantix_document_free(vantix_document *document) { delete document; }

VANTIX_EXPORT const char *vantix_document_title(const vantix_document *document) {
    if (!document)
        return fail("No document given."), nullptr;
    return document->file.title().c_str();
}

VANTIX_EXPORT vantix_error_code vantix_document_sha256(const vantix_document *document,
                                                       unsigned char *sha256) {
    if (!document || !sha256)
        return fail(document ? "No digest buffer given." : "No document given.");
    std::memcpy(sha256, document->file.sha256().data(), 32);
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT vantix_error_code vantix_document_check_placement(const vantix_document *document,
                                                                const vantix_document_placement *placement) {
    if (!document || !placement)
        return fail(document ? "No placement given." : "No document given.");
    return guarded(VANTIX_CODE_ERROR, [&] {
        const pdf_file fresh(document->file.bytes(), document->path);
        find_target(fresh.qpdf(), *placement);
        fresh.check_undamaged();
        return VANTIX_CODE_SUCCESS;
    });
}

VANTIX_EXPORT void vantix_document_default_sign_options(vantix_document_sign_options *options) {
    if (options)
        *options = vantix_document_sign_options{};
}

VANTIX_EXPORT vantix_error_code vantix_document_sign(const vantix_document *document,
                                                     const vantix_signature_capture *capture,
                                                     const vantix_document_sign_options *options,
                                                     const char *out_path) {
    if (!document || !capture || !options || !out_path)
        return fail(!document  ? "No document given."
                    : !capture ? "No signature capture given."
                    : !options ? "No signing options given."
                               : "No output file given.");
    return guarded(VANTIX_CODE_ERROR, [&] {
        const std::string signed_file = sign_pdf(document->file, document->path, *capture, *options);
        write_whole_file(out_path, {signed_file});
        return VANTIX_CODE_SUCCESS;
    });
}

VANTIX_EXPORT vantix_document_report *vantix_document_verify(const char *path,
                                                             const vantix_signature_material *key) {
    if (!path)
        return fail("No file given."), nullptr;
    return guarded<vantix_document_report *>(nullptr, [&] {
        const pdf_file file(read_file(path), path);
        auto report = std::make_unique<vantix_document_report>();
        for (field_check &c : verify_pdf(file, key)) {
            report->checks.push_back(std::move(c));
            report->records.push_back(record_of(report->checks.back()));
        }
        return report.release();
    });
}

VANTIX_EXPORT size_t vantix_document_report_count(const vantix_document_report *report) {
    return report ? report->records.size() : 0;
}

VANTIX_EXPORT const vantix_document_signature *vantix_document_report_at(const vantix_document_report *report,
                                                                         size_t index) {
    return report && index < report->records.size() ? &report->records[index] : nullptr;
}

VANTIX_EXPORT void vantix_document_report_free(vantix_document_report *report) { delete report; }

VANTIX_EXPORT const char *vantix_document_last_error(void) { return last_error(); }

}  // extern "C"
