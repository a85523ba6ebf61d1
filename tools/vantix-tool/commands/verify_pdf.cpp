// SPDX-License-Identifier: Apache-2.0
// verify-pdf: every signature field of a PDF: who signed, when and why,
// whether the signature covers the whole file or an earlier revision, the
// check of its byte range and CMS, and with --key the sealed record opened
// and compared with its revision. Exit 0 when every signature checks.
#include <CLI/CLI.hpp>
#include <cinttypes>
#include <cstdio>
#include <memory>

#include "../common.hpp"
#include "../json.hpp"
#include "../text.hpp"
#include "vantix-document.h"

namespace tool {
namespace {

struct verify_pdf_options {
    std::string file, key;
};

struct free_report {
    void operator()(vantix_document_report *r) const { vantix_document_report_free(r); }
};

bool field_checks(const vantix_document_signature &s, bool with_key) {
    return (!s.is_signed || s.valid) && (!with_key || !s.has_record || s.record_matches);
}

std::string record_text(const vantix_document_signature &s, bool with_key) {
    if (!s.has_record)
        return "none";
    if (!with_key)
        return "present (give --key to open it)";
    return s.record_matches ? "opens and matches the revision it was sealed for (" +
                                  std::to_string(s.record_revision_length) + " bytes)"
                            : std::string("does not check: ") + s.record_problem;
}

void print_text(const vantix_document_signature &s, bool with_key, std::uint64_t file_size) {
    std::printf("field %s (page %u): %s\n", s.field, s.page,
                !s.is_signed ? "no digital signature"
                : s.valid    ? "signature valid"
                             : "signature INVALID");
    if (s.is_signed) {
        std::printf("  signer:   %s\n  time:     %s\n", s.signer, s.time);
        if (*s.reason)
            std::printf("  reason:   %s\n", s.reason);
        if (*s.location)
            std::printf("  location: %s\n", s.location);
        if (*s.name)
            std::printf("  name:     %s\n", s.name);
        if (s.covers_whole_file)
            std::printf("  covers:   the whole file\n");
        else
            std::printf("  covers:   an earlier revision (%" PRIu64 " of %" PRIu64 " bytes)\n",
                        s.signed_length, file_size);
        std::printf("  sha256:   %s (over the byte range)\n", hex_of(s.sha256, sizeof s.sha256).c_str());
        if (!s.valid)
            std::printf("  problem:  %s\n", s.problem);
    }
    std::printf("  record:   %s\n", record_text(s, with_key).c_str());
}

std::string json_of(const vantix_document_signature &s, bool with_key) {
    json_object o;
    o.field("field", s.field).field("page", s.page).field("signed", s.is_signed != 0);
    if (s.is_signed)
        o.field("valid", s.valid != 0)
            .field("signer", s.signer)
            .field("time", s.time)
            .field("reason", s.reason)
            .field("location", s.location)
            .field("name", s.name)
            .field("sub_filter", s.sub_filter)
            .field("covers_whole_file", s.covers_whole_file != 0)
            .field("signed_length", s.signed_length)
            .field("sha256", hex_of(s.sha256, sizeof s.sha256))
            .field("problem", s.problem);
    o.field("record", s.has_record != 0);
    if (s.has_record && with_key)
        o.field("record_matches", s.record_matches != 0).field("record_problem", s.record_problem);
    return o.str();
}

int verify_pdf(const common_options &common, const verify_pdf_options &o) {
    const vantix_signature_material key{o.key.c_str(), nullptr, 0};
    const bool with_key = !o.key.empty();
    const std::unique_ptr<vantix_document_report, free_report> report(
        vantix_document_verify(o.file.c_str(), with_key ? &key : nullptr));
    if (!report)
        throw std::runtime_error(o.file + ": " + vantix_document_last_error());
    std::FILE *f = std::fopen(o.file.c_str(), "rb");
    std::uint64_t size = 0;
    if (f && std::fseek(f, 0, SEEK_END) == 0)
        size = static_cast<std::uint64_t>(std::ftell(f));
    if (f)
        std::fclose(f);
    bool all = true, any = false;
    std::string fields;
    for (std::size_t i = 0; i < vantix_document_report_count(report.get()); ++i) {
        const vantix_document_signature &s = *vantix_document_report_at(report.get(), i);
        all = all && field_checks(s, with_key);
        any = any || s.is_signed || s.has_record;
        if (common.json)
            fields += (fields.empty() ? "" : ",") + json_of(s, with_key);
        else
            print_text(s, with_key, size);
    }
    const bool ok = all && any;
    if (common.json)
        std::printf("%s\n", json_object()
                                .field("file", o.file)
                                .field("ok", ok)
                                .raw("fields", "[" + fields + "]")
                                .str()
                                .c_str());
    else if (!any)
        std::printf("%s has no signature\n", o.file.c_str());
    return ok ? exit_ok : exit_failure;
}

}  // namespace

void add_verify_pdf(CLI::App &app, const common_options &common, action &run) {
    auto o = std::make_shared<verify_pdf_options>();
    CLI::App *cmd = add_command(app, "verify-pdf",
                                "Check every signature field of a PDF: exit 0 when every signature (and, "
                                "with --key, every sealed record) checks, 1 otherwise",
                                run, [&common, o] { return verify_pdf(common, *o); });
    cmd->add_option("file", o->file, "The signed PDF")->required()->check(CLI::ExistingFile);
    cmd->add_option("--key", o->key, "A recipient's private key: open the sealed records and compare them")
        ->check(CLI::ExistingFile);
}

}  // namespace tool
