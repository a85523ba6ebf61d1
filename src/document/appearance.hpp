// SPDX-License-Identifier: Apache-2.0
// The content of a signature field's appearance: the ink fitted into the
// field, keeping its aspect, and optionally a line with the signer's name
// and the date under it.
#pragma once

#include <string>

#include "vantix-signature.h"

namespace vantix::document {

// Content operators for a width x height form (points, y up). `caption`,
// when not empty, is set in Helvetica (/Helv) along the bottom.
std::string appearance_content(const vantix_signature_capture &capture, double width, double height,
                               const std::string &caption);

// The form's /Resources when a caption uses the font, as PDF text.
inline constexpr const char *caption_font =
    "<< /Font << /Helv << /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >> >> "
    ">>";

// `text` as a PDF literal string of printable ASCII (others read as '?').
std::string pdf_literal(const std::string &text);

}  // namespace vantix::document
