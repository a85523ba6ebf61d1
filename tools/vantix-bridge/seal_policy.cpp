// SPDX-License-Identifier: Apache-2.0
#include "seal_policy.hpp"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bridge {

bool is_certificate(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > max_certificate_bytes)
        return false;
    const auto *der = reinterpret_cast<const unsigned char *>(bytes.data());
    if (X509 *cert = d2i_X509(nullptr, &der, static_cast<long>(bytes.size()))) {
        X509_free(cert);
        return true;
    }
    BIO *in = BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size()));
    X509 *cert = in ? PEM_read_bio_X509(in, nullptr, nullptr, nullptr) : nullptr;
    BIO_free(in);
    X509_free(cert);
    return cert != nullptr;
}

std::shared_ptr<const seal_policy> load_seal_policy(const config &cfg) {
    auto policy = std::make_shared<seal_policy>();
    policy->seal_only = cfg.seal_only;
    policy->page_recipients = cfg.page_recipients;
    for (const std::string &path : cfg.seal_to) {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw std::invalid_argument("--seal-to " + path + ": cannot be read");
        std::string bytes;
        bytes.resize(max_certificate_bytes + 1);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        if (in.bad())
            throw std::invalid_argument("--seal-to " + path + ": cannot be read");
        if (!is_certificate(bytes))
            throw std::invalid_argument("--seal-to " + path +
                                        ": not an X.509 certificate (PEM or DER, at most " +
                                        std::to_string(max_certificate_bytes / 1024) + " KiB)");
        policy->certificates.push_back(std::move(bytes));
    }
    return policy;
}

}  // namespace bridge
