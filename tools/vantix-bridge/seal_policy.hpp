// SPDX-License-Identifier: Apache-2.0
// Sealed signatures through the service: whom capture.finish seals the
// record to (--seal-to), whether plain pen data may leave at all
// (--seal-only) and whether a page may name recipients of its own
// (--allow-page-recipients). The policy is replaced as a whole when the
// configuration is read again; a sealing in progress keeps the one it began
// with.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "bridge.hpp"

namespace bridge {

struct seal_policy {
    std::vector<std::string> certificates;  // the recipients' X.509 certificates, PEM or DER
    bool seal_only = false;
    bool page_recipients = false;
};

// A certificate file or a page's is at most this large.
constexpr std::size_t max_certificate_bytes = 16 * 1024;
// A page names at most this many recipients of its own.
constexpr std::size_t max_page_recipients = 8;

// Whether `bytes` hold one X.509 certificate (PEM or DER).
bool is_certificate(std::string_view bytes);

// Reads cfg.seal_to; throws std::invalid_argument naming the file that
// cannot be read or holds no certificate.
std::shared_ptr<const seal_policy> load_seal_policy(const config &cfg);

// The current policy, read from any thread.
class seal_settings {
public:
    explicit seal_settings(std::shared_ptr<const seal_policy> policy) : policy_(std::move(policy)) {}
    std::shared_ptr<const seal_policy> get() const {
        std::lock_guard guard(lock_);
        return policy_;
    }
    void set(std::shared_ptr<const seal_policy> policy) {
        std::lock_guard guard(lock_);
        policy_ = std::move(policy);
    }

private:
    mutable std::mutex lock_;
    std::shared_ptr<const seal_policy> policy_;
};

}  // namespace bridge
