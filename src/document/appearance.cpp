// SPDX-License-Identifier: Apache-2.0
#include "appearance.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "errors.hpp"
#include "geometry.hpp"

namespace vantix::document {
namespace {

struct buffer_deleter {
    void operator()(unsigned char *data) const { vantix_signature_free_buffer(data); }
};

std::string matrix_text(const std::array<double, 6> &m) {
    char text[160];
    std::snprintf(text, sizeof text, "%.4f %.4f %.4f %.4f %.4f %.4f cm\n", m[0], m[1], m[2], m[3], m[4],
                  m[5]);
    return text;
}

// Helvetica's glyphs average about half an em: a caption is set no larger
// than fits the width.
constexpr double average_glyph_width = 0.55;

}  // namespace

std::string pdf_literal(const std::string &text) {
    std::string out = "(";
    for (unsigned char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out.push_back('\\');
        out.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
    }
    return out + ")";
}

std::string appearance_content(const vantix_signature_capture &capture, double width, double height,
                               const std::string &caption) {
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    vantix_signature_box ink;
    if (vantix_signature_bounding_box(&capture, options.space, &ink) != VANTIX_CODE_SUCCESS)
        throw document_error(vantix_signature_last_error());
    unsigned char *data = nullptr;
    size_t size = 0;
    if (vantix_signature_export_pdf_paths_buffer(&capture, &options, &data, &size) != VANTIX_CODE_SUCCESS)
        throw document_error(vantix_signature_last_error());
    const std::unique_ptr<unsigned char, buffer_deleter> paths(data);

    const double strip = caption.empty() ? 0 : std::min(12.0, height * 0.25);
    const double pad = options.line_width;  // the pen's width round the points
    const box ink_box{ink.left - pad, ink.top - pad, ink.right + pad, ink.bottom + pad};
    std::array<double, 6> fit = fit_matrix(ink_box, width, height - strip);
    fit[5] += strip;
    std::string out = matrix_text(fit);
    out.insert(0, "q\n");
    out.append(reinterpret_cast<const char *>(paths.get()), size);
    out += "Q\n";
    if (!caption.empty()) {
        const double size_pt = std::min(strip * 0.8, width / (average_glyph_width * caption.size()));
        char text[96];
        std::snprintf(text, sizeof text, "BT 0 g /Helv %.2f Tf 1 %.2f Td ", size_pt, strip * 0.25);
        out += text + pdf_literal(caption) + " Tj ET\n";
    }
    return out;
}

}  // namespace vantix::document
