// SPDX-License-Identifier: Apache-2.0
// Checking a signed PDF: every signature field, its byte range and CMS,
// and the sealed record associated with it.
#pragma once

#include <string>
#include <vector>

#include "pdf_file.hpp"
#include "vantix-document.h"

namespace vantix::document {

struct field_check {
    std::string field, signer, reason, location, name, time, sub_filter, problem, record_problem;
    unsigned page = 0;
    bool is_signed = false, covers_whole_file = false, valid = false, has_record = false,
         record_matches = false;
    std::uint64_t signed_length = 0, record_revision_length = 0;
    sha256_digest sha256{};
};

// `key` may be NULL: the records are then only found, not opened.
std::vector<field_check> verify_pdf(const pdf_file &file, const vantix_signature_material *key);

}  // namespace vantix::document
