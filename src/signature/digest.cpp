// SPDX-License-Identifier: Apache-2.0
#include "digest.hpp"

#include <openssl/evp.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vantix::signature {
namespace {

struct md_ctx_free {
    void operator()(EVP_MD_CTX *ctx) const { EVP_MD_CTX_free(ctx); }
};
struct file_closer {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// Feeds the hash from `read` until it returns 0 bytes.
template <class Reader>
sha256_digest digest_of(Reader read) {
    std::unique_ptr<EVP_MD_CTX, md_ctx_free> ctx(EVP_MD_CTX_new());
    if (!ctx || !EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr))
        throw record_error("Unable to compute a SHA-256 digest.");
    std::array<unsigned char, 65536> chunk;
    for (std::size_t got; (got = read(chunk.data(), chunk.size())) > 0;)
        EVP_DigestUpdate(ctx.get(), chunk.data(), got);
    sha256_digest out;
    unsigned int length = 0;
    EVP_DigestFinal_ex(ctx.get(), out.data(), &length);
    return out;
}

sha256_digest file_digest(const char *path) {
    std::unique_ptr<std::FILE, file_closer> file(std::fopen(path, "rb"));
    if (!file)
        throw record_error(std::string("Unable to read the document ") + path + ": " + std::strerror(errno));
    const sha256_digest out =
        digest_of([&](unsigned char *to, std::size_t room) { return std::fread(to, 1, room, file.get()); });
    if (std::ferror(file.get()))
        throw record_error(std::string("Unable to read the document ") + path + ".");
    return out;
}

}  // namespace

sha256_digest sha256(std::string_view bytes) {
    sha256_digest out;
    EVP_Digest(bytes.data(), bytes.size(), out.data(), nullptr, EVP_sha256(), nullptr);
    return out;
}

sha256_digest document_digest(const vantix_signature_document *document) {
    if (!document ||
        (document->sha256 != nullptr) + (document->data != nullptr) + (document->path != nullptr) != 1)
        throw record_error("Give the signed document one way: its SHA-256 digest, its bytes or its file.");
    if (document->sha256) {
        sha256_digest out;
        std::memcpy(out.data(), document->sha256, out.size());
        return out;
    }
    if (document->data)
        return sha256({reinterpret_cast<const char *>(document->data), document->size});
    return file_digest(document->path);
}

}  // namespace vantix::signature
