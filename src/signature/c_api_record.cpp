// SPDX-License-Identifier: Apache-2.0
// The exported functions of the signature record: argument checks, and
// record_error and std::bad_alloc turned into the last-error text.
#include <cstring>
#include <new>

#include "digest.hpp"
#include "errors.hpp"
#include "output.hpp"
#include "sealing.hpp"

using namespace vantix::signature;

namespace {

constexpr const char *no_record = "No opened signature record given.";

// Runs `work`; a failure leaves its text and gives false.
template <class Work>
bool attempt(Work &&work) {
    try {
        work();
        return true;
    } catch (const record_error &error) {
        fail(error.what());
    } catch (const std::bad_alloc &) {
        fail("Out of memory for the signature record.");
    }
    return false;
}

std::string bounded_text(const char *text, std::size_t max, const char *what) {
    if (!text)
        return {};
    const std::size_t size = strnlen(text, max + 1);
    if (size > max)
        throw record_error(std::string("The ") + what + " is over " + std::to_string(max) + " bytes.");
    return std::string(text, size);
}

record_header header_of(const vantix_signature_capture &capture,
                        const vantix_signature_record_options *options) {
    if (!options)
        throw record_error("No record options given (the signed document is required).");
    record_header header;
    header.document = document_digest(&options->document);
    header.document_name =
        bounded_text(options->document_name, VANTIX_SIGNATURE_MAX_RECORD_TEXT, "document name");
    header.prompt = bounded_text(options->prompt, VANTIX_SIGNATURE_MAX_RECORD_TEXT, "prompt");
    header.pad_uuid = bounded_text(options->pad_uuid, 128, "pad's UUID");
    header.pad_firmware = bounded_text(options->pad_firmware, 128, "pad's firmware version");
    header.pad = capture.info();
    if (options->pad_serial_number) {
        const std::string serial = bounded_text(options->pad_serial_number,
                                                sizeof header.pad.serial_number - 1, "pad's serial number");
        std::memcpy(header.pad.serial_number, serial.c_str(), serial.size() + 1);
    }
    return header;
}

bool clear_output(unsigned char **data, std::size_t *size) {
    if (!data || !size)
        return fail("No buffer given for the signature record."), false;
    *data = nullptr;
    *size = 0;
    return true;
}

}  // namespace

extern "C" {

VANTIX_EXPORT vantix_error_code vantix_signature_record_buffer(const vantix_signature_capture *capture,
                                                               const vantix_signature_record_options *options,
                                                               unsigned char **data, size_t *size) {
    if (!clear_output(data, size))
        return VANTIX_CODE_ERROR;
    if (!capture)
        return fail("No signature capture given.");
    vantix_error_code result = VANTIX_CODE_ERROR;
    attempt(
        [&] { result = hand_out(write_record(capture->copy(), header_of(*capture, options)), data, size); });
    return result;
}

VANTIX_EXPORT vantix_error_code vantix_signature_seal(const vantix_signature_capture *capture,
                                                      const vantix_signature_record_options *options,
                                                      const vantix_signature_material *recipients,
                                                      size_t recipient_count,
                                                      const vantix_signature_material *signer_key,
                                                      const vantix_signature_material *signer_cert,
                                                      unsigned char **data, size_t *size) {
    if (!clear_output(data, size))
        return VANTIX_CODE_ERROR;
    if (!capture)
        return fail("No signature capture given.");
    if (!recipients && recipient_count)
        return fail("No recipient certificates given.");
    vantix_error_code result = VANTIX_CODE_ERROR;
    attempt([&] {
        const std::string sealed = seal(capture->copy(), header_of(*capture, options),
                                        {recipients, recipient_count}, {signer_key, signer_cert});
        result = hand_out(sealed, data, size);
    });
    return result;
}

VANTIX_EXPORT vantix_signature_opened *vantix_signature_open_sealed(const unsigned char *data, size_t size,
                                                                    const vantix_signature_material *key,
                                                                    const vantix_signature_material *cert) {
    if (!data)
        return fail("No sealed record given."), nullptr;
    vantix_signature_opened *opened = nullptr;
    attempt([&] {
        opened_record content = open_sealed({reinterpret_cast<const char *>(data), size}, key, cert);
        opened = new vantix_signature_opened{std::move(content)};
    });
    return opened;
}

VANTIX_EXPORT void vantix_signature_opened_free(vantix_signature_opened *opened) { delete opened; }

VANTIX_EXPORT const char *vantix_signature_opened_text(const vantix_signature_opened *opened,
                                                       vantix_signature_record_text field) {
    if (!opened)
        return fail(no_record), nullptr;
    const record_header &header = opened->content.header;
    switch (field) {
    case VANTIX_SIGNATURE_RECORD_DOCUMENT_NAME: return header.document_name.c_str();
    case VANTIX_SIGNATURE_RECORD_PROMPT: return header.prompt.c_str();
    case VANTIX_SIGNATURE_RECORD_PAD_UUID: return header.pad_uuid.c_str();
    case VANTIX_SIGNATURE_RECORD_PAD_FIRMWARE: return header.pad_firmware.c_str();
    case VANTIX_SIGNATURE_RECORD_LIBRARY_VERSION: return header.library_version.c_str();
    case VANTIX_SIGNATURE_RECORD_HOST_SIGNER: return opened->host_subject.c_str();
    }
    return fail("Unknown field of a signature record."), nullptr;
}

VANTIX_EXPORT vantix_error_code vantix_signature_opened_digest(const vantix_signature_opened *opened,
                                                               vantix_signature_record_digest which,
                                                               unsigned char *sha256) {
    if (!opened || !sha256)
        return fail(opened ? "No digest buffer given." : no_record);
    if (which != VANTIX_SIGNATURE_RECORD_DOCUMENT_SHA256 && which != VANTIX_SIGNATURE_RECORD_IMAGE_SHA256)
        return fail("Unknown digest of a signature record.");
    const sha256_digest &digest = which == VANTIX_SIGNATURE_RECORD_DOCUMENT_SHA256
                                      ? opened->content.header.document
                                      : opened->content.header.image;
    std::memcpy(sha256, digest.data(), digest.size());
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT vantix_error_code vantix_signature_opened_times(const vantix_signature_opened *opened,
                                                              uint64_t *start_utc_us, uint64_t *end_utc_us) {
    if (!opened)
        return fail(no_record);
    if (start_utc_us)
        *start_utc_us = opened->content.header.start_utc_us;
    if (end_utc_us)
        *end_utc_us = opened->content.header.end_utc_us;
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT vantix_error_code vantix_signature_opened_pad_info(const vantix_signature_opened *opened,
                                                                 vantix_signature_pad_info *info) {
    if (!opened || !info)
        return fail(opened ? "No pad description record given." : no_record);
    *info = opened->content.header.pad;
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT int vantix_signature_opened_host_signed(const vantix_signature_opened *opened) {
    return opened && opened->host_signed;
}

VANTIX_EXPORT vantix_error_code vantix_signature_opened_check_document(
    const vantix_signature_opened *opened, const vantix_signature_document *document) {
    if (!opened)
        return fail(no_record);
    bool matches = false;
    if (!attempt([&] { matches = document_digest(document) == opened->content.header.document; }))
        return VANTIX_CODE_ERROR;
    return matches ? VANTIX_CODE_SUCCESS : fail("The document does not match the signature record.");
}

VANTIX_EXPORT vantix_signature_capture *vantix_signature_opened_load_capture(
    const vantix_signature_opened *opened) {
    if (!opened)
        return fail(no_record), nullptr;
    auto *capture = new (std::nothrow) vantix_signature_capture(opened->content.header.pad);
    if (!capture)
        return fail("Out of memory for a signature capture."), nullptr;
    // The record was read strictly: its samples fit a capture.
    for (const pen_sample &s : opened->content.samples)
        capture->add(s.x, s.y, s.pressure, s.down, s.t_us);
    capture->set_start_utc(opened->content.header.start_utc_us);
    return capture;
}

}  // extern "C"
