// SPDX-License-Identifier: Apache-2.0
#include "signature_seal.hpp"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <algorithm>

#include "request_fields.hpp"

namespace bridge {

std::string base64(const unsigned char *data, std::size_t size) {
    std::string out(4 * ((size + 2) / 3) + 1, '\0');
    const int written =
        EVP_EncodeBlock(reinterpret_cast<unsigned char *>(out.data()), data, static_cast<int>(size));
    out.resize(static_cast<std::size_t>(std::max(written, 0)));
    return out;
}

std::optional<seal_plan> plan_seal(const json &message, std::shared_ptr<const seal_policy> policy) {
    const json *seal = field(message, "seal");
    if (!seal)
        return std::nullopt;
    if (!seal->is_object())
        bad_field("seal", "an object with \"document_sha256\" and \"document_name\"");
    seal_plan plan;
    const std::string digest = opt_string(*seal, "document_sha256", 64).value_or("");
    std::size_t length = 0;
    if (digest.size() != 64 ||
        !OPENSSL_hexstr2buf_ex(plan.document_sha256.data(), plan.document_sha256.size(), &length,
                               digest.c_str(), '\0') ||
        length != plan.document_sha256.size())
        bad_field("seal.document_sha256", "the document's SHA-256: 64 hex digits");
    plan.document_name = opt_string(*seal, "document_name", VANTIX_SIGNATURE_MAX_RECORD_TEXT).value_or("");
    if (field(*seal, "recipients")) {
        if (!policy->page_recipients)
            throw protocol_error("recipients_refused",
                                 "this service seals only to its own recipients; a page may add its own "
                                 "when the service runs with --allow-page-recipients");
        plan.page_certificates = opt_strings(*seal, "recipients", max_page_recipients, max_certificate_bytes)
                                     .value_or(std::vector<std::string>{});
        for (const std::string &cert : plan.page_certificates)
            if (!is_certificate(cert))
                bad_field("seal.recipients", "a list of X.509 certificates in PEM");
    }
    if (policy->certificates.empty() && plan.page_certificates.empty())
        throw protocol_error(
            "no_recipients",
            policy->page_recipients
                ? "nobody to seal to: the service has no --seal-to certificate and the page named none"
                : "nobody to seal to: start the service with --seal-to CERT");
    plan.policy = std::move(policy);
    return plan;
}

std::size_t sealed_bound(std::size_t points, std::size_t strokes, const seal_plan &plan) {
    // The record: a sample is at most 64 bytes ([t_ms, x, y, pressure,
    // down, stroke]), each stroke adds a pen-up sample; texts and the pad's
    // description at most 8 KiB. The envelope: 2 KiB a recipient (an RSA
    // key of 8192 bits wraps the key in 1 KiB), 1 KiB besides.
    const std::size_t recipients = plan.policy->certificates.size() + plan.page_certificates.size();
    const std::size_t der = 64 * (points + strokes) + 8192 + 1024 + 2048 * recipients;
    return 4 * ((der + 2) / 3) + 16;
}

std::string seal_signature(const vantix_signature_capture *capture, const seal_plan &plan) {
    vantix_signature_record_options options{};
    options.document.sha256 = plan.document_sha256.data();
    options.document_name = plan.document_name.c_str();
    options.prompt = plan.prompt.c_str();
    options.pad_uuid = plan.pad_uuid.empty() ? nullptr : plan.pad_uuid.c_str();
    options.pad_firmware = plan.pad_firmware.empty() ? nullptr : plan.pad_firmware.c_str();
    std::vector<vantix_signature_material> recipients;
    for (const auto *list : {&plan.policy->certificates, &plan.page_certificates})
        for (const std::string &cert : *list)
            recipients.push_back(
                {nullptr, reinterpret_cast<const unsigned char *>(cert.data()), cert.size()});
    unsigned char *data = nullptr;
    std::size_t size = 0;
    if (vantix_signature_seal(capture, &options, recipients.data(), recipients.size(), nullptr, nullptr,
                              &data, &size) != VANTIX_CODE_SUCCESS)
        throw protocol_error("library", "sealing the signature failed", vantix_signature_last_error());
    const std::unique_ptr<unsigned char, void (*)(unsigned char *)> sealed(data,
                                                                           vantix_signature_free_buffer);
    return base64(sealed.get(), size);
}

}  // namespace bridge
