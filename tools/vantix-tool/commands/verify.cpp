// SPDX-License-Identifier: Apache-2.0
// verify: opens a sealed signature record with a recipient's key and says
// when and on which pad it was signed, for which document, whether the
// given document is that one and who signed the record on the host. The
// signature itself can be drawn again (--render).
#include <CLI/CLI.hpp>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <memory>

#include "../common.hpp"
#include "../json.hpp"
#include "../sealing.hpp"
#include "../signature_files.hpp"
#include "../text.hpp"

namespace tool {
namespace {

struct verify_options {
    std::string sealed, document, key, cert, render;
};

struct free_opened {
    void operator()(vantix_signature_opened *opened) const { vantix_signature_opened_free(opened); }
};

// 2024-05-01T09:30:00.250Z
std::string utc_text(std::uint64_t utc_us) {
    const std::time_t seconds = static_cast<std::time_t>(utc_us / 1000000);
    std::tm tm{};
    char text[48] = "?";
    if (gmtime_r(&seconds, &tm)) {
        const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
        std::snprintf(text + n, sizeof text - n, ".%03uZ", static_cast<unsigned>(utc_us / 1000 % 1000));
    }
    return text;
}

// What the record says, read once for either way of printing it.
struct record_view {
    std::string document, sha256, start, end, uuid, firmware, prompt, host_signer;
    vantix_signature_pad_info pad{};
    bool host_signed = false;
};

record_view read_view(const vantix_signature_opened *opened) {
    const auto text = [opened](vantix_signature_record_text field) {
        return std::string(vantix_signature_opened_text(opened, field));
    };
    record_view v;
    unsigned char sha256[32];
    std::uint64_t start = 0, end = 0;
    vantix_signature_opened_digest(opened, VANTIX_SIGNATURE_RECORD_DOCUMENT_SHA256, sha256);
    vantix_signature_opened_times(opened, &start, &end);
    vantix_signature_opened_pad_info(opened, &v.pad);
    v.document = text(VANTIX_SIGNATURE_RECORD_DOCUMENT_NAME);
    v.sha256 = hex_of(sha256, sizeof sha256);
    v.start = utc_text(start);
    v.end = utc_text(end);
    v.uuid = text(VANTIX_SIGNATURE_RECORD_PAD_UUID);
    v.firmware = text(VANTIX_SIGNATURE_RECORD_PAD_FIRMWARE);
    v.prompt = text(VANTIX_SIGNATURE_RECORD_PROMPT);
    v.host_signed = vantix_signature_opened_host_signed(opened);
    if (v.host_signed)
        v.host_signer = text(VANTIX_SIGNATURE_RECORD_HOST_SIGNER);
    return v;
}

void print_text(const record_view &v) {
    std::printf("document:  %s\n", v.document.c_str());
    std::printf("sha256:    %s\n", v.sha256.c_str());
    std::printf("signed:    %s to %s (UTC)\n", v.start.c_str(), v.end.c_str());
    std::printf("pad:       %s %s (%04x:%04x), serial number %s\n", v.pad.manufacturer, v.pad.model,
                v.pad.vendor_id, v.pad.product_id, v.pad.serial_number);
    if (!v.uuid.empty())
        std::printf("pad uuid:  %s\n", v.uuid.c_str());
    if (!v.firmware.empty())
        std::printf("firmware:  %s\n", v.firmware.c_str());
    std::printf("prompt:    %s\n", v.prompt.c_str());
    if (v.host_signed)
        std::printf("host:      signed by %s (the signature verifies; whether to trust that host is yours)\n",
                    v.host_signer.c_str());
    else
        std::printf("host:      not signed\n");
}

// One object: the record, then whether the document matches and, if not, why.
void print_json(const record_view &v, const std::string &document, const char *mismatch) {
    const std::string pad = json_object()
                                .field("manufacturer", v.pad.manufacturer)
                                .field("model", v.pad.model)
                                .field("vendor_id", v.pad.vendor_id)
                                .field("product_id", v.pad.product_id)
                                .field("serial_number", v.pad.serial_number)
                                .field("uuid", v.uuid)
                                .field("firmware", v.firmware)
                                .str();
    json_object out;
    out.field("document_name", v.document)
        .field("document_sha256", v.sha256)
        .field("start", v.start)
        .field("end", v.end)
        .raw("pad", pad)
        .field("prompt", v.prompt)
        .field("host_signed", v.host_signed);
    if (v.host_signed)
        out.field("host_signer", v.host_signer);
    out.field("document", document).field("matches", mismatch == nullptr);
    if (mismatch)
        out.field("reason", mismatch);
    std::printf("%s\n", out.str().c_str());
}

void render(const vantix_signature_opened *opened, const std::string &file) {
    const capture_ptr capture(vantix_signature_opened_load_capture(opened));
    if (!capture)
        throw std::runtime_error(std::string("loading the signature: ") + vantix_signature_last_error());
    save_signature(*capture, file);
}

int verify(const verify_options &options, bool json) {
    const std::vector<unsigned char> sealed = read_sealed_file(options.sealed);
    const vantix_signature_material key{options.key.c_str(), nullptr, 0},
        cert{options.cert.c_str(), nullptr, 0};
    const std::unique_ptr<vantix_signature_opened, free_opened> opened(vantix_signature_open_sealed(
        sealed.data(), sealed.size(), &key, options.cert.empty() ? nullptr : &cert));
    if (!opened)
        throw std::runtime_error(options.sealed + ": " + vantix_signature_last_error());
    const record_view view = read_view(opened.get());
    if (!json)
        print_text(view);
    if (!options.render.empty())
        render(opened.get(), options.render);
    vantix_signature_document document{};
    document.path = options.document.c_str();
    const bool matches = vantix_signature_opened_check_document(opened.get(), &document) == VANTIX_CODE_SUCCESS;
    if (json) {
        print_json(view, options.document, matches ? nullptr : vantix_signature_last_error());
        return matches ? exit_ok : exit_failure;
    }
    if (!matches)
        throw std::runtime_error(options.document + ": " + vantix_signature_last_error());
    std::printf("result:    %s matches the signature record\n", options.document.c_str());
    return exit_ok;
}

}  // namespace

void add_verify(CLI::App &app, const common_options &common, action &run) {
    auto options = std::make_shared<verify_options>();
    CLI::App *cmd = add_command(app, "verify",
                                "Open a sealed signature record (.p7m) and check it against a document: "
                                "exit 0 when it is the document signed, 1 otherwise",
                                run, [options, &common] { return verify(*options, common.json); });
    cmd->add_option("sealed", options->sealed, "The sealed record (from sign --out FILE.p7m)")
        ->required()
        ->check(CLI::ExistingFile);
    cmd->add_option("--document", options->document, "The document the signature should be for")
        ->required()
        ->check(CLI::ExistingFile);
    cmd->add_option("--key", options->key, "A recipient's private key (PEM or DER, unencrypted)")
        ->required()
        ->check(CLI::ExistingFile);
    cmd->add_option("--cert", options->cert, "That recipient's certificate (optional)")
        ->check(CLI::ExistingFile);
    cmd->add_option("--render", options->render,
                    "Draw the signature into this file (.svg, .png, .inkml, .json)")
        ->check(CLI::Validator(
            [](std::string &file) {
                return is_signature_format(file) ? std::string()
                                                 : file + " is not .svg, .png, .inkml or .json";
            },
            "FILE.{svg,png,inkml,json}"));
}

}  // namespace tool
