// SPDX-License-Identifier: Apache-2.0
#include "sealing.hpp"

#include <openssl/evp.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "text.hpp"

namespace tool {
namespace {

struct free_md_ctx {
    void operator()(EVP_MD_CTX *ctx) const { EVP_MD_CTX_free(ctx); }
};

struct free_buffer {
    void operator()(unsigned char *data) const { vantix_signature_free_buffer(data); }
};

std::runtime_error file_error(const std::string &path, const char *what) {
    return std::runtime_error(path + ": " + what);
}

vantix_signature_material material(const std::string &path) { return {path.c_str(), nullptr, 0}; }

const char *or_null(const std::string &text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

signed_document read_document(const std::string &path, const std::string &name) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw file_error(path, "the document cannot be read");
    std::unique_ptr<EVP_MD_CTX, free_md_ctx> ctx(EVP_MD_CTX_new());
    if (!ctx || !EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr))
        throw std::runtime_error("SHA-256 is not available");
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        EVP_DigestUpdate(ctx.get(), chunk, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw file_error(path, "the document cannot be read");
    signed_document document{name.empty() ? std::filesystem::path(path).filename().string() : name, {}};
    EVP_DigestFinal_ex(ctx.get(), document.sha256.data(), nullptr);
    return document;
}

std::string short_digest(const signed_document &document) { return hex_of(document.sha256.data(), 4); }

void write_sealed(const vantix_signature_capture &capture, const signed_document &document,
                  const std::string &prompt, const pad_identity &pad, const seal_request &request,
                  const std::string &path) {
    vantix_signature_record_options options{};
    options.document.sha256 = document.sha256.data();
    options.document_name = document.name.c_str();
    options.prompt = prompt.c_str();
    options.pad_uuid = or_null(pad.uuid);
    options.pad_firmware = or_null(pad.firmware);
    std::vector<vantix_signature_material> recipients;
    for (const std::string &cert : request.recipients)
        recipients.push_back(material(cert));
    const vantix_signature_material key = material(request.sign_with), cert = material(request.cert);
    const bool host_signed = !request.sign_with.empty();
    unsigned char *data = nullptr;
    std::size_t size = 0;
    if (vantix_signature_seal(&capture, &options, recipients.data(), recipients.size(),
                              host_signed ? &key : nullptr, host_signed ? &cert : nullptr, &data,
                              &size) != VANTIX_CODE_SUCCESS)
        throw std::runtime_error(std::string("sealing the signature: ") + vantix_signature_last_error());
    const std::unique_ptr<unsigned char, free_buffer> sealed(data);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(sealed.get()), static_cast<std::streamsize>(size));
    if (!out.flush())
        throw file_error(path, "cannot be written");
}

std::vector<unsigned char> read_sealed_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw file_error(path, "cannot be read");
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > VANTIX_SIGNATURE_MAX_SEALED_SIZE)
        throw file_error(path, "is larger than a sealed record can be");
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char *>(bytes.data()), size))
        throw file_error(path, "cannot be read");
    return bytes;
}

}  // namespace tool
