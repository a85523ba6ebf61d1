// SPDX-License-Identifier: Apache-2.0
// sign: a signing session. The pad shows a prompt, a line and OK, Clear and
// Cancel; the pen inks until OK, and the signature is saved in the formats
// the --out files name. With --document the pad shows the document's name and
// digest, and a .p7m file gets the sealed record binding the signature to
// that document. On the virtual pad a scripted pen signs and presses
// OK (or the buttons --sim-press names).
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "../sealing.hpp"
#include "../signature_files.hpp"
#include "../signing_session.hpp"
#include "../text.hpp"

namespace tool {
namespace {

struct sign_options {
    std::vector<std::string> out;
    signing_request session;
    std::string document, document_name;
    seal_request seal;
};

bool is_sealed(const std::string &file) { return lower_extension(file) == "p7m"; }

// What the command line alone cannot say: a sealed record needs a document
// and a recipient, and recipients need a sealed record to go to.
void check_sealing(const sign_options &options) {
    const bool sealed = std::any_of(options.out.begin(), options.out.end(), is_sealed);
    if (sealed && options.document.empty())
        throw usage_error("a .p7m file needs --document, the document the signature is for");
    if (sealed && options.seal.recipients.empty())
        throw usage_error("a .p7m file needs --seal-to, a certificate that may open it");
    if (!sealed && !options.seal.recipients.empty())
        throw usage_error("--seal-to needs an --out file ending in .p7m");
}

int sign(const common_options &common, const sign_options &options) {
    check_sealing(options);
    std::optional<signed_document> document;
    signing_request request = options.session;
    if (!options.document.empty()) {
        document = read_document(options.document, options.document_name);
        request.document = {document->name, short_digest(*document)};
    }
    run_signing_session(
        common, request, [&](const vantix_signature_capture &capture, const pad_identity &pad) {
            for (const std::string &file : options.out)
                if (is_sealed(file))
                    write_sealed(capture, *document, request.prompt, pad, options.seal, file);
                else
                    save_signature(capture, file);
            std::printf("signature: %zu points in %zu strokes, saved to",
                        vantix_signature_point_count(&capture), vantix_signature_stroke_count(&capture));
            for (const std::string &file : options.out)
                std::printf(" %s", file.c_str());
            std::printf("\n");
        });
    return exit_ok;
}

}  // namespace

void add_sign(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<sign_options>();
    CLI::App *cmd =
        add_command(app, "sign",
                    "Capture a signature: the pad shows a prompt with OK, Clear and Cancel, and the "
                    "signature is saved when OK is pressed (with --sim a scripted pen signs)",
                    run, [&common, options] { return sign(common, *options); });
    cmd->add_option(
           "--out", options->out,
           "Save to this file; .svg, .png, .inkml, .json, or .p7m for the sealed record (may repeat)")
        ->allow_extra_args(false)
        ->required()
        ->check(CLI::Validator(
            [](std::string &file) {
                return is_signature_format(file) || is_sealed(file)
                           ? std::string()
                           : file + " is not .svg, .png, .inkml, .json or .p7m";
            },
            "FILE.{svg,png,inkml,json,p7m}"));
    cmd->add_option("--document", options->document,
                    "The document the signature is for: the pad shows its name and the start of its "
                    "SHA-256, and a .p7m file binds the signature to it")
        ->check(CLI::ExistingFile);
    cmd->add_option("--document-name", options->document_name,
                    "The document's name on the pad and in the record (default: the file's name)");
    cmd->add_option("--seal-to", options->seal.recipients,
                    "Seal the .p7m file to this certificate (PEM or DER); its key opens it (may repeat)")
        ->allow_extra_args(false)
        ->check(CLI::ExistingFile);
    CLI::Option *cert =
        cmd->add_option("--cert", options->seal.cert, "The certificate of the --sign-with key (PEM or DER)")
            ->check(CLI::ExistingFile);
    cmd->add_option("--sign-with", options->seal.sign_with,
                    "Sign the sealed record with this host key (PEM or DER, unencrypted)")
        ->check(CLI::ExistingFile)
        ->needs(cert);
    cert->needs("--sign-with");
    add_signing_options(*cmd, options->session);
}

}  // namespace tool
