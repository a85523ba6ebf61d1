// SPDX-License-Identifier: Apache-2.0
#include "signature_export.hpp"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "request_fields.hpp"

namespace bridge {
namespace {

std::string base64(const unsigned char *data, std::size_t size) {
    std::string out(4 * ((size + 2) / 3) + 1, '\0');
    const int written =
        EVP_EncodeBlock(reinterpret_cast<unsigned char *>(out.data()), data, static_cast<int>(size));
    out.resize(static_cast<std::size_t>(std::max(written, 0)));
    return out;
}

using exporter = vantix_error_code (*)(const vantix_signature_capture *,
                                       const vantix_signature_export_options *, unsigned char **,
                                       std::size_t *);
struct format {
    const char *name;
    exporter write;
    bool binary;
};
constexpr format known[] = {{"svg", vantix_signature_export_svg_buffer, false},
                            {"png", vantix_signature_export_png_buffer, true},
                            {"inkml", vantix_signature_export_inkml_buffer, false},
                            {"json", vantix_signature_export_json_buffer, false}};

const format &format_named(const std::string &name) {
    for (const format &k : known)
        if (name == k.name)
            return k;
    bad_field("formats", "a list of \"svg\", \"png\", \"inkml\" and \"json\"");
}

vantix_signature_export_options options_of(const json &message) {
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    options.space =
        display_space(message) ? VANTIX_SIGNATURE_SPACE_DISPLAY : VANTIX_SIGNATURE_SPACE_DIGITIZER;
    options.width =
        static_cast<std::uint32_t>(opt_number(message, "width", 0, 0, VANTIX_SIGNATURE_MAX_PNG_SIZE));
    options.height =
        static_cast<std::uint32_t>(opt_number(message, "height", 0, 0, VANTIX_SIGNATURE_MAX_PNG_SIZE));
    options.line_width = opt_number(message, "line_width", options.line_width, 0.01, 1000);
    options.pressure_width = opt_bool(message, "pressure_width", false) ? 1 : 0;
    return options;
}

}  // namespace

json export_signature(const vantix_signature_capture *capture, const json &message) {
    const std::vector<std::string> formats =
        opt_strings(message, "formats", 4, 8)
            .value_or(std::vector<std::string>{"svg", "png", "inkml", "json"});
    const vantix_signature_export_options options = options_of(message);
    json out = {{"type", "signature"},
                {"strokes", vantix_signature_stroke_count(capture)},
                {"points", vantix_signature_point_count(capture)}};
    vantix_signature_box box;
    if (vantix_signature_bounding_box(capture, options.space, &box) == VANTIX_CODE_SUCCESS)
        out["bounds"] = {{"left", box.left}, {"top", box.top}, {"right", box.right}, {"bottom", box.bottom}};
    else
        out["bounds"] = nullptr;
    out["space"] = options.space == VANTIX_SIGNATURE_SPACE_DISPLAY ? "display" : "digitizer";
    for (const std::string &name : formats) {
        const format &f = format_named(name);
        unsigned char *data = nullptr;
        std::size_t size = 0;
        if (f.write(capture, &options, &data, &size) != VANTIX_CODE_SUCCESS)
            throw protocol_error("library", std::string("exporting ") + name + " failed",
                                 vantix_signature_last_error());
        std::unique_ptr<unsigned char, void (*)(unsigned char *)> owned(data, vantix_signature_free_buffer);
        out[name] = f.binary ? base64(data, size) : std::string(reinterpret_cast<char *>(data), size);
    }
    return out;
}

}  // namespace bridge
