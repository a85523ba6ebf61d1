// SPDX-License-Identifier: Apache-2.0
// The signature record: what was signed, when, on what pad, the pen data
// and the picture's digest, as deterministic JSON (docs/signature-record.md).
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "capture.hpp"
#include "secret.hpp"

namespace vantix::signature {

using sha256_digest = std::array<unsigned char, 32>;

// A record that cannot be written or read; the text becomes the error.
struct record_error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct pen_sample {
    std::uint64_t t_us;  // since the first sample, steady clock
    std::uint16_t x, y;
    float pressure;
    bool down;
    std::uint32_t stroke;
};

// The fields of a record, other than the pen data, as the record holds them.
struct record_header {
    sha256_digest document{};
    std::string document_name, prompt;
    std::uint64_t start_utc_us = 0, end_utc_us = 0;
    vantix_signature_pad_info pad{};
    std::string pad_uuid, pad_firmware;
    std::string library_version;
    sha256_digest image{};
};

struct record {
    record_header header;
    std::vector<pen_sample> samples;
};

// The record of a capture. The header's times, image digest and library
// version are filled in from the snapshot; throws record_error (an empty
// capture) or std::bad_alloc.
secret_string write_record(const snapshot &shot, record_header header);
// Strict reading: exact keys and types, bounded sizes, the version checked
// first ("Unsupported record version."). Throws record_error.
record read_record(std::string_view json);
// The UTC time as "2024-05-01T12:00:00.000000Z", as the record writes it.
std::string utc_text(std::uint64_t utc_us);

}  // namespace vantix::signature
