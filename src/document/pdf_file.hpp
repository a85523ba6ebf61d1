// SPDX-License-Identifier: Apache-2.0
// A PDF as read once: its bytes (the revision being signed; every later
// step works on this copy, never rereads the file) and qpdf's parse of them.
#pragma once

#include <array>
#include <memory>
#include <qpdf/QPDF.hh>
#include <string>

namespace vantix::document {

using sha256_digest = std::array<unsigned char, 32>;

sha256_digest sha256_of(std::string_view bytes);

// The bytes of a file of at most VANTIX_DOCUMENT_MAX_SIZE bytes.
std::string read_file(const std::string &path);

class pdf_file {
public:
    // Parses `bytes`; `name` names them in messages and is the title's
    // fallback. Throws document_error for damaged or encrypted files.
    pdf_file(std::string bytes, const std::string &name);

    const std::string &bytes() const { return bytes_; }
    const sha256_digest &sha256() const { return sha256_; }
    const std::string &title() const { return title_; }
    QPDF &qpdf() const { return *qpdf_; }

    // Throws document_error when qpdf met damage while reading objects
    // (it reads lazily, so this is asked again after each piece of work).
    void check_undamaged() const;

private:
    std::string bytes_;
    sha256_digest sha256_{};
    std::unique_ptr<QPDF> qpdf_;
    std::string title_;
};

}  // namespace vantix::document
