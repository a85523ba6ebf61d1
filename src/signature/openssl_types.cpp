// SPDX-License-Identifier: Apache-2.0
#include "openssl_types.hpp"

#include <openssl/err.h>
#include <openssl/pem.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace vantix::signature {
namespace {

// Certificates and keys are a few kilobytes; a file far larger is no key.
constexpr long max_material_size = 1024 * 1024;

// The material's bytes in `storage` (a file's) or where the caller keeps them.
std::string_view material_bytes(const vantix_signature_material *material, const char *what,
                                std::string &storage) {
    if (!material || (!material->path && !material->data))
        throw record_error(std::string("No ") + what + " given.");
    if (!material->path) {
        if (material->size > static_cast<std::size_t>(max_material_size))
            throw record_error(std::string("The ") + what + " is over 1 MiB.");
        return {reinterpret_cast<const char *>(material->data), material->size};
    }
    std::FILE *file = std::fopen(material->path, "rb");
    if (!file)
        throw record_error(std::string("Unable to read the ") + what + " " + material->path + ": " +
                           std::strerror(errno));
    storage.resize(max_material_size + 1);
    storage.resize(std::fread(storage.data(), 1, storage.size(), file));
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed || storage.size() > static_cast<std::size_t>(max_material_size))
        throw record_error(std::string("Unable to read the ") + what + " " + material->path +
                           " (a readable file of at most 1 MiB).");
    return storage;
}

// PEM first, then DER: both come from the same bytes.
template <class T, class Pem, class Der>
T load(const vantix_signature_material *material, const char *what, Pem pem, Der der) {
    std::string storage;
    const std::string_view bytes = material_bytes(material, what, storage);
    T object(pem(memory_bio(bytes).get()));
    if (!object)
        object.reset(der(memory_bio(bytes).get()));
    if (!storage.empty())
        OPENSSL_cleanse(storage.data(), storage.size());
    drain_openssl_errors();
    if (!object)
        throw record_error(std::string("The ") + what + " is neither PEM nor DER.");
    return object;
}

}  // namespace

bio_ptr memory_bio(std::string_view bytes) {
    bio_ptr bio(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
    if (!bio)
        throw std::bad_alloc();
    return bio;
}

x509_ptr load_certificate(const vantix_signature_material *material, const char *what) {
    return load<x509_ptr>(
        material, what, [](BIO *bio) { return PEM_read_bio_X509(bio, nullptr, nullptr, nullptr); },
        [](BIO *bio) { return d2i_X509_bio(bio, nullptr); });
}

pkey_ptr load_private_key(const vantix_signature_material *material, const char *what) {
    // An empty passphrase callback: an encrypted key fails instead of prompting.
    return load<pkey_ptr>(
        material, what,
        [](BIO *bio) {
            return PEM_read_bio_PrivateKey(
                bio, nullptr, [](char *, int, int, void *) { return 0; }, nullptr);
        },
        [](BIO *bio) { return d2i_PrivateKey_bio(bio, nullptr); });
}

std::string_view bio_bytes(BIO *bio) {
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return {data, static_cast<std::size_t>(size > 0 ? size : 0)};
}

unsigned long drain_openssl_errors() {
    const unsigned long first = ERR_peek_error();
    ERR_clear_error();
    return first;
}

}  // namespace vantix::signature
