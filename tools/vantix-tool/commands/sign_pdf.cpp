// SPDX-License-Identifier: Apache-2.0
// sign-pdf: signs a PDF on the pad. The pad shows the document's title and
// the start of its SHA-256; the ink goes into a signature field, the sealed
// record (with --seal-to) into the file, and with --sign-with a PAdES
// signature over it, all as an incremental update of the input.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>

#include "../signing_session.hpp"
#include "../text.hpp"
#include "vantix-document.h"

namespace tool {
namespace {

struct sign_pdf_options {
    std::string in, out, field, reason, location, name, sign_with, cert;
    unsigned page = 0;
    std::vector<double> rect;
    std::vector<std::string> chain, seal_to;
    signing_request session;
};

struct free_document {
    void operator()(vantix_document *d) const { vantix_document_free(d); }
};

std::vector<vantix_signature_material> materials(const std::vector<std::string> &paths) {
    std::vector<vantix_signature_material> out;
    for (const std::string &p : paths)
        out.push_back({p.c_str(), nullptr, 0});
    return out;
}

const char *optional(const std::string &text) { return text.empty() ? nullptr : text.c_str(); }

vantix_document_placement placement_of(const sign_pdf_options &o) {
    vantix_document_placement p{};
    p.field = optional(o.field);
    p.page = o.page;
    if (o.rect.size() == 4)
        p.x = o.rect[0], p.y = o.rect[1], p.width = o.rect[2], p.height = o.rect[3];
    return p;
}

int sign_pdf(const common_options &common, const sign_pdf_options &o) {
    const std::unique_ptr<vantix_document, free_document> document(vantix_document_open(o.in.c_str()));
    if (!document)
        throw std::runtime_error(o.in + ": " + vantix_document_last_error());
    vantix_document_sign_options options;
    vantix_document_default_sign_options(&options);
    options.placement = placement_of(o);
    if (vantix_document_check_placement(document.get(), &options.placement) != VANTIX_CODE_SUCCESS)
        throw std::runtime_error(o.in + ": " + vantix_document_last_error());
    unsigned char sha256[32];
    vantix_document_sha256(document.get(), sha256);
    signing_request request = o.session;
    request.document = {vantix_document_title(document.get()), hex_of(sha256, 4)};

    const std::vector<vantix_signature_material> recipients = materials(o.seal_to),
                                                 chain = materials(o.chain);
    const vantix_signature_material key{o.sign_with.c_str(), nullptr, 0}, cert{o.cert.c_str(), nullptr, 0};
    options.reason = optional(o.reason);
    options.location = optional(o.location);
    options.name = optional(o.name);
    options.prompt = request.prompt.c_str();
    options.recipients = recipients.data();
    options.recipient_count = recipients.size();
    if (!o.sign_with.empty())
        options.signer_key = &key, options.signer_cert = &cert;
    options.chain = chain.data();
    options.chain_count = chain.size();
    run_signing_session(common, request,
                        [&](const vantix_signature_capture &capture, const pad_identity &pad) {
                            options.pad_uuid = pad.uuid.c_str();
                            options.pad_firmware = pad.firmware.c_str();
                            if (vantix_document_sign(document.get(), &capture, &options, o.out.c_str()) !=
                                VANTIX_CODE_SUCCESS)
                                throw std::runtime_error(o.out + ": " + vantix_document_last_error());
                        });
    std::printf("signed %s: %s%s\n", o.in.c_str(), o.out.c_str(),
                recipients.empty() ? "" : " (with the sealed signature record)");
    if (o.sign_with.empty())
        std::printf(
            "%s carries no digital signature (no --sign-with): the ink and record are not "
            "protected against changes\n",
            o.out.c_str());
    return exit_ok;
}

}  // namespace

void add_sign_pdf(CLI::App &app, const common_options &common, action &run) {
    auto o = std::make_shared<sign_pdf_options>();
    CLI::App *cmd =
        add_command(app, "sign-pdf",
                    "Sign a PDF on the pad: the ink in a signature field, the sealed record "
                    "in the file and (with --sign-with) a PAdES signature, as an incremental update",
                    run, [&common, o] { return sign_pdf(common, *o); });
    cmd->add_option("in", o->in, "The PDF to sign")->required()->check(CLI::ExistingFile);
    cmd->add_option("--out", o->out, "The signed PDF (written whole or not at all)")->required();
    CLI::Option *field = cmd->add_option("--field", o->field, "An empty signature field, by its full name");
    CLI::Option *page = cmd->add_option("--page", o->page, "The page of a new signature field (from 1)")
                            ->check(CLI::PositiveNumber);
    CLI::Option *rect = cmd->add_option("--rect", o->rect,
                                        "The new field's rectangle in points, as the page is shown: X,Y,W,H "
                                        "from its lower left corner")
                            ->delimiter(',')
                            ->expected(4);
    page->needs(rect)->excludes(field);
    rect->needs(page);
    cmd->add_option("--reason", o->reason, "Why the document is signed");
    cmd->add_option("--location", o->location, "Where it is signed");
    cmd->add_option("--name", o->name, "The signer's name, also written under the ink with the date");
    CLI::Option *cert = cmd->add_option("--cert", o->cert, "The certificate of the --sign-with key")
                            ->check(CLI::ExistingFile);
    cmd->add_option("--sign-with", o->sign_with,
                    "Sign the PDF (PAdES) with this key (PEM or DER, unencrypted)")
        ->check(CLI::ExistingFile)
        ->needs(cert);
    cert->needs("--sign-with");
    cmd->add_option("--chain", o->chain, "Certificates of the signer's chain to carry (may repeat)")
        ->allow_extra_args(false)
        ->check(CLI::ExistingFile)
        ->needs(cert);
    cmd->add_option("--seal-to", o->seal_to,
                    "Seal the signature record in the PDF to this certificate; its key opens it (may repeat)")
        ->allow_extra_args(false)
        ->check(CLI::ExistingFile);
    add_signing_options(*cmd, o->session);
}

}  // namespace tool
