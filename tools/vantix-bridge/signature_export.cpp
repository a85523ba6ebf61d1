// SPDX-License-Identifier: Apache-2.0
#include "signature_export.hpp"

#include <openssl/evp.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "pad_input.hpp"
#include "request_fields.hpp"

namespace bridge {
namespace {

using exporter = vantix_error_code (*)(const vantix_signature_capture *,
                                       const vantix_signature_export_options *, unsigned char **,
                                       std::size_t *);
struct format {
    const char *name;
    exporter write;
    bool binary;
    bool picture;  // no pen data beyond the strokes' shapes
};
constexpr format known[] = {{"svg", vantix_signature_export_svg_buffer, false, true},
                            {"png", vantix_signature_export_png_buffer, true, true},
                            {"inkml", vantix_signature_export_inkml_buffer, false, false},
                            {"json", vantix_signature_export_json_buffer, false, false}};

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

// --- Size estimates ---------------------------------------------------------------
//
// Upper bounds of what the exporters write, as it reads inside the reply
// (each '"' and line break escaped to two bytes). Numbers: coordinates are
// at most 65535 and the curves' control points stay within a sixth of the
// range beyond it, so a coordinate with two decimals and a sign is at most 9
// characters; times are at most 20 digits and 3 decimals, pressures 8.

// The reply without the formats: type, counts, bounds, space, an id of
// 128 bytes escaped at worst (\u00XX each).
constexpr std::size_t envelope_bytes = 1536;

std::size_t svg_bound(std::size_t points, std::size_t strokes, bool pressure_width) {
    constexpr std::size_t head = 512 + 16;  // the svg and g elements, the closing tags
    // Centre line: " C" and three positions of two numbers (" " + 9) a
    // point; a stroke's <path d=\"M x y[ L x y]\"/>\n.
    // Outline: two sides of that a point; a stroke's M, two arcs and Z.
    return pressure_width ? head + 124 * points + 140 * strokes : head + 62 * points + 64 * strokes;
}

std::size_t json_bound(std::size_t points, std::size_t strokes) {
    // The pad's description (three strings of up to 64 bytes escaped) and
    // the keys around it; a point's ,{\"x\":…,\"y\":…,\"digitizer_x\":…,
    // \"digitizer_y\":…,\"t_us\":…,\"pressure\":…}: 74 bytes of keys and
    // punctuation, 56 of numbers; a stroke's ,\n[ and ].
    return 1536 + 130 * points + 8 * strokes;
}

std::size_t inkml_bound(std::size_t points, std::size_t strokes) {
    // Definitions (three attributes of up to 64 bytes XML-escaped); a
    // point's ", x y t f" (44); a stroke's <trace contextRef=\"#pad\"> and
    // </trace>\n.
    return 2560 + 44 * points + 48 * strokes;
}

// PNG: 8-bit grey rows behind a filter byte, deflated; zlib never writes
// more than the stored (uncompressed) form. Within that: paper and the solid
// inside of thick lines are runs, at most 40 bits per 258 bytes and 64 bits
// where one starts; what need not repeat ("variable" bytes) is the
// anti-aliased edge of each segment and what the row filters make of its
// neighbours, at most 11 bits a byte. Variable bytes are bounded twice,
// and the smaller bound holds: a band 6 pixels wide round each segment's
// box, and the area of the 16-pixel tiles those boxes touch. Runs start
// after variable bytes only: at most two per segment and row, and at most
// one per variable byte.
std::size_t png_bound(const vantix_signature_capture *capture, const vantix_signature_export_options &o) {
    vantix_signature_pad_info info{};
    vantix_signature_get_pad_info(capture, &info);
    const double dw = std::max<double>(info.display_width, 1), dh = std::max<double>(info.display_height, 1);
    const double width = o.width ? o.width : dw, height = o.height ? o.height : dh;
    const double raw = height * (width + 1);
    const double stored = raw + 5 * (raw / 16383 + 1) + 6 + 12 * (raw / 8192 + 1) + 1024;

    const double scale = std::min(width / dw, height / dh);
    const double off_x = (width - dw * scale) / 2, off_y = (height - dh * scale) / 2;
    const display_mapping to_display(info);
    struct at {
        double x, y, r;
    };
    auto place = [&](const vantix_signature_point &p) {
        const double pressure =
            o.pressure_width && std::isfinite(p.pressure) ? std::max(0.0f, p.pressure) : 1.0;
        const display_mapping::position on_display = to_display(p.x, p.y);
        return at{on_display.x * scale + off_x, on_display.y * scale + off_y, o.line_width * pressure / 2};
    };
    constexpr std::size_t tile = 16;
    const std::size_t tiles_x = static_cast<std::size_t>(width) / tile + 1;
    const std::size_t tiles_y = static_cast<std::size_t>(height) / tile + 1;
    std::vector<bool> touched(tiles_x * tiles_y);
    double band = 0, tiled = 0, runs = 0;
    std::size_t marking = 0;  // tiles looked at: past a bound, the band alone counts
    bool tiling = true;
    auto segment = [&](at a, at b) {
        const double reach = std::max(a.r, b.r) + 2;
        const double x0 = std::clamp(std::floor(std::min(a.x, b.x) - reach), 0.0, width);
        const double x1 = std::clamp(std::ceil(std::max(a.x, b.x) + reach) + 1, 0.0, width);
        const double y0 = std::clamp(std::floor(std::min(a.y, b.y) - reach), 0.0, height);
        const double y1 = std::clamp(std::ceil(std::max(a.y, b.y) + reach) + 1, 0.0, height);
        if (x1 <= x0 || y1 <= y0)
            return;
        band += 12 * ((x1 - x0) + (y1 - y0) + 6);
        runs += 4 * ((y1 - y0) + 3);
        if (!tiling)
            return;
        const auto tx0 = static_cast<std::size_t>(x0) / tile, tx1 = static_cast<std::size_t>(x1 - 1) / tile;
        const auto ty0 = static_cast<std::size_t>(y0) / tile, ty1 = static_cast<std::size_t>(y1 - 1) / tile;
        marking += (tx1 - tx0 + 1) * (ty1 - ty0 + 1);
        if (marking > 50'000'000) {
            tiling = false;
            return;
        }
        for (std::size_t ty = ty0; ty <= ty1; ++ty)
            for (std::size_t tx = tx0; tx <= tx1; ++tx)
                if (!touched[ty * tiles_x + tx]) {
                    touched[ty * tiles_x + tx] = true;
                    tiled += tile * tile;
                }
    };
    const std::size_t count = vantix_signature_point_count(capture);
    vantix_signature_point point{};
    at last{};
    std::uint32_t stroke = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (vantix_signature_get_point(capture, i, &point) != VANTIX_CODE_SUCCESS)
            break;  // cleared meanwhile: fewer points
        const at here = place(point);
        // A stroke's first point is drawn as a dot, then each segment.
        segment(i == 0 || point.stroke != stroke ? here : last, here);
        last = here;
        stroke = point.stroke;
    }
    const double variable = tiling ? std::min(band, tiled) : band;
    const double starts = std::min(runs, variable) + height;
    double bytes = (11 * (height + variable) + 64 * starts + 40 * (raw / 258 + height)) / 8;
    bytes += bytes / 100 + 1024 + 12 * (bytes / 8192 + 1);
    const double png = std::min(bytes, stored);
    return static_cast<std::size_t>(4 * std::ceil(png / 3));
}

std::string megabytes(std::size_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

// reply_too_large: the sizes, and what to ask for instead.
[[noreturn]] void too_large(const reply_size &size, const export_plan &plan, std::size_t max_bytes,
                            const char *how) {
    std::string message = "the signature reply would be about " + megabytes(size.total) + " (" + how + ": ";
    json fields = {{"reply_bytes", size.total}, {"max_reply", max_bytes}, {"format_bytes", json::object()}};
    std::vector<std::string> fit;
    std::size_t fit_total = envelope_bytes;
    for (std::size_t i = 0; i < size.formats.size(); ++i) {
        const auto &[name, bytes] = size.formats[i];
        message += (i ? ", " : "") + name + " " + megabytes(bytes);
        fields["format_bytes"][name] = bytes;
        if (fit_total + bytes <= max_bytes) {
            fit.push_back(name);
            fit_total += bytes;
        }
    }
    message += "); replies are limited to " + std::to_string(max_bytes / (1024 * 1024)) + " MiB. ";
    if (!fit.empty()) {
        std::string list;
        for (const std::string &name : fit)
            list += (list.empty() ? "\"" : ", \"") + name + "\"";
        message +=
            "Ask for fewer formats, e.g. \"formats\": [" + list + "], and the rest in another capture.finish";
    } else {
        message += "No format fits alone";
    }
    if (std::find(plan.formats.begin(), plan.formats.end(), "png") != plan.formats.end())
        message += "; a smaller PNG (width, height) is smaller";
    message += ". The capture is kept.";
    fields["suggested_formats"] = fit;
    throw protocol_error("reply_too_large", message, {}, std::move(fields));
}

}  // namespace

export_plan plan_export(const json &message, std::shared_ptr<const seal_policy> policy) {
    export_plan plan;
    const std::vector<std::string> asked =
        opt_strings(message, "formats", 4, 8)
            .value_or(policy->seal_only ? std::vector<std::string>{"svg", "png"}
                                        : std::vector<std::string>{"svg", "png", "inkml", "json"});
    for (const std::string &name : asked) {
        if (!format_named(name).picture && policy->seal_only)
            throw protocol_error("seal_only",
                                 "this service hands out pen data only sealed (--seal-only): \"" + name +
                                     "\" is refused; ask for \"svg\" or \"png\", and \"seal\" "
                                     "for the pen data");
        if (std::find(plan.formats.begin(), plan.formats.end(), name) == plan.formats.end())
            plan.formats.push_back(name);
    }
    plan.options = options_of(message);
    plan.seal = plan_seal(message, std::move(policy));
    return plan;
}

reply_size estimate_reply(const vantix_signature_capture *capture, const export_plan &plan) {
    const std::size_t points = vantix_signature_point_count(capture);
    const std::size_t strokes = vantix_signature_stroke_count(capture);
    reply_size size;
    size.total = envelope_bytes;
    for (const std::string &name : plan.formats) {
        std::size_t bytes = 0;
        if (name == "svg")
            bytes = svg_bound(points, strokes, plan.options.pressure_width != 0);
        else if (name == "json")
            bytes = json_bound(points, strokes);
        else if (name == "inkml")
            bytes = inkml_bound(points, strokes);
        else
            bytes = png_bound(capture, plan.options);
        size.formats.emplace_back(name, bytes);
        size.total += bytes;
    }
    if (plan.seal)
        size.total += sealed_bound(points, strokes, *plan.seal);
    return size;
}

std::string export_signature(const vantix_signature_capture *capture, const export_plan &plan, const json &id,
                             std::size_t max_bytes) {
    const reply_size estimate = estimate_reply(capture, plan);
    if (estimate.total > max_bytes)
        too_large(estimate, plan, max_bytes, "estimated before rendering");

    const vantix_signature_export_options &options = plan.options;
    json out = {{"type", "signature"},
                {"strokes", vantix_signature_stroke_count(capture)},
                {"points", vantix_signature_point_count(capture)}};
    vantix_signature_box box;
    if (vantix_signature_bounding_box(capture, options.space, &box) == VANTIX_CODE_SUCCESS)
        out["bounds"] = {{"left", box.left}, {"top", box.top}, {"right", box.right}, {"bottom", box.bottom}};
    else
        out["bounds"] = nullptr;
    out["space"] = options.space == VANTIX_SIGNATURE_SPACE_DISPLAY ? "display" : "digitizer";
    for (const std::string &name : plan.formats) {
        const format &f = format_named(name);
        unsigned char *data = nullptr;
        std::size_t size = 0;
        if (f.write(capture, &options, &data, &size) != VANTIX_CODE_SUCCESS)
            throw protocol_error("library", std::string("exporting ") + name + " failed",
                                 vantix_signature_last_error());
        std::unique_ptr<unsigned char, void (*)(unsigned char *)> owned(data, vantix_signature_free_buffer);
        out[name] = f.binary ? base64(data, size) : std::string(reinterpret_cast<char *>(data), size);
    }
    if (plan.seal)
        out["sealed"] = seal_signature(capture, *plan.seal);
    if (!id.is_null())
        out["id"] = id;
    std::string text = to_text(out);
    if (text.size() > max_bytes) {
        // The estimate was short (a bug): the sizes as rendered.
        reply_size found;
        found.total = text.size();
        for (const std::string &name : plan.formats)
            found.formats.emplace_back(name, to_text(out[name]).size());
        too_large(found, plan, max_bytes, "as rendered");
    }
    return text;
}

}  // namespace bridge
