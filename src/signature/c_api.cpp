// SPDX-License-Identifier: Apache-2.0
// The exported functions: argument checks and error texts around the
// capture, the feed and the renderers.
#include <new>

#include "capture.hpp"
#include "errors.hpp"
#include "exporters.hpp"
#include "feed.hpp"
#include "mapping.hpp"
#include "output.hpp"
#include "pad_info.hpp"

using namespace vantix::signature;

namespace {

constexpr const char *no_capture = "No signature capture given.";

vantix_signature_capture *create(const vantix_signature_pad_info &info) {
    auto *capture = new (std::nothrow) vantix_signature_capture(info);
    if (!capture)
        fail("Out of memory for a signature capture.");
    return capture;
}

using renderer = std::string (*)(const snapshot &, const vantix_signature_export_options &);

// Checked options with the picture size resolved against the pad's
// display, or false with the error text set.
bool checked_options(const vantix_signature_export_options *given, const vantix_signature_pad_info &info,
                     vantix_signature_export_options &out) {
    if (given)
        out = *given;
    else
        vantix_signature_default_options(&out);
    if (!known_space(out.space))
        return fail("Unknown coordinate space for the signature export."), false;
    // Written so that NaN fails it too.
    if (!(out.line_width > 0.0 && out.line_width <= 1000.0))
        return fail("The signature's line width must be above 0 and at most 1000."), false;
    // The limit is on the size drawn, so 0 (the display's size) is resolved first.
    out.width = out.width ? out.width : info.display_width;
    out.height = out.height ? out.height : info.display_height;
    if (out.width > VANTIX_SIGNATURE_MAX_PNG_SIZE || out.height > VANTIX_SIGNATURE_MAX_PNG_SIZE)
        return fail("A signature picture is at most 8192 pixels wide and high."), false;
    return true;
}

// Renders into `bytes`; the renderers allocate, so running out of memory
// becomes an error text instead of an exception through the C API.
vantix_error_code render(const vantix_signature_capture *capture,
                         const vantix_signature_export_options *given, renderer draw, std::string &bytes) {
    if (!capture)
        return fail(no_capture);
    vantix_signature_export_options options;
    if (!checked_options(given, capture->info(), options))
        return VANTIX_CODE_ERROR;
    try {
        bytes = draw(capture->copy(), options);
    } catch (const std::bad_alloc &) {
        return fail("Out of memory for the exported signature.");
    } catch (const export_refused &refused) {
        return fail(refused.what());
    }
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code to_file(const vantix_signature_capture *capture,
                          const vantix_signature_export_options *options, const char *path, renderer draw) {
    std::string bytes;
    if (!render(capture, options, draw, bytes))
        return VANTIX_CODE_ERROR;
    return write_file(bytes, path);
}

vantix_error_code to_buffer(const vantix_signature_capture *capture,
                            const vantix_signature_export_options *options, unsigned char **data,
                            std::size_t *size, renderer draw) {
    if (!data || !size)
        return fail("No buffer given to export the signature to.");
    *data = nullptr;
    *size = 0;
    std::string bytes;
    if (!render(capture, options, draw, bytes))
        return VANTIX_CODE_ERROR;
    return hand_out(bytes, data, size);
}

}  // namespace

extern "C" {

VANTIX_EXPORT void vantix_signature_default_options(vantix_signature_export_options *options) {
    if (options)
        *options = {VANTIX_SIGNATURE_SPACE_DISPLAY, 0, 0, 2.0, 0};
}

VANTIX_EXPORT vantix_signature_capture *vantix_signature_capture_new(vantix_device *device) {
    const pad_info_result read = read_pad_info(device);
    if (!read.info)
        return fail(read.error), nullptr;
    return create(*read.info);
}

VANTIX_EXPORT vantix_signature_capture *vantix_signature_capture_new_with_info(
    const vantix_signature_pad_info *info) {
    if (!info)
        return fail("No pad description given for the signature capture."), nullptr;
    if (std::string problem = check_pad_info(*info); !problem.empty())
        return fail(problem), nullptr;
    return create(*info);
}

VANTIX_EXPORT void vantix_signature_capture_free(vantix_signature_capture *capture) { delete capture; }

VANTIX_EXPORT vantix_error_code vantix_signature_get_pad_info(const vantix_signature_capture *capture,
                                                              vantix_signature_pad_info *info) {
    if (!capture || !info)
        return fail(capture ? "No pad description record given." : no_capture);
    *info = capture->info();
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT vantix_error_code vantix_signature_feed(vantix_signature_capture *capture,
                                                      const vantix_input_report *report, uint8_t type) {
    if (!capture || !report)
        return fail(capture ? "No input report given to the signature capture." : no_capture);
    return feed(*capture, *report, type);
}

VANTIX_EXPORT vantix_error_code vantix_signature_add_point(vantix_signature_capture *capture, uint16_t x,
                                                           uint16_t y, float pressure, int down,
                                                           uint64_t time_us) {
    if (!capture)
        return fail(no_capture);
    return add_point(*capture, x, y, pressure, down != 0, time_us);
}

VANTIX_EXPORT void vantix_signature_set_event_callback(vantix_signature_capture *capture,
                                                       vantix_signature_event_callback callback,
                                                       void *user_data) {
    if (capture)
        capture->set_event_sink({callback, user_data});
}

VANTIX_EXPORT void vantix_signature_clear(vantix_signature_capture *capture) {
    if (capture)
        capture->clear();
}

VANTIX_EXPORT vantix_error_code vantix_signature_undo_stroke(vantix_signature_capture *capture) {
    if (!capture)
        return fail(no_capture);
    if (!capture->undo_stroke())
        return fail("The signature has no stroke to undo.");
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT size_t vantix_signature_point_count(const vantix_signature_capture *capture) {
    return capture ? capture->point_count() : 0;
}

VANTIX_EXPORT size_t vantix_signature_stroke_count(const vantix_signature_capture *capture) {
    return capture ? capture->stroke_count() : 0;
}

VANTIX_EXPORT vantix_error_code vantix_signature_get_point(const vantix_signature_capture *capture,
                                                           size_t index, vantix_signature_point *point) {
    if (!capture || !point)
        return fail(capture ? "No point record given." : no_capture);
    if (!capture->point(index, *point))
        return fail("Point index past the end of the signature.");
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT vantix_error_code vantix_signature_bounding_box(const vantix_signature_capture *capture,
                                                              vantix_signature_space space,
                                                              vantix_signature_box *box) {
    if (!capture || !box)
        return fail(capture ? "No box record given." : no_capture);
    if (!known_space(space))
        return fail("Unknown coordinate space for the signature export.");
    const snapshot shot = capture->copy();
    if (shot.points.empty())
        return fail("The signature has no points.");
    const position first = place(shot.info, space, shot.points.front());
    *box = {first.x, first.y, first.x, first.y};
    for (const sample &s : shot.points) {
        const position p = place(shot.info, space, s);
        *box = {std::min(box->left, p.x), std::min(box->top, p.y), std::max(box->right, p.x),
                std::max(box->bottom, p.y)};
    }
    return VANTIX_CODE_SUCCESS;
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_svg(const vantix_signature_capture *capture,
                                                            const vantix_signature_export_options *options,
                                                            const char *path) {
    return to_file(capture, options, path, render_svg);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_svg_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size) {
    return to_buffer(capture, options, data, size, render_svg);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_png(const vantix_signature_capture *capture,
                                                            const vantix_signature_export_options *options,
                                                            const char *path) {
    return to_file(capture, options, path, render_png);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_png_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size) {
    return to_buffer(capture, options, data, size, render_png);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_inkml(const vantix_signature_capture *capture,
                                                              const vantix_signature_export_options *options,
                                                              const char *path) {
    return to_file(capture, options, path, render_inkml);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_inkml_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size) {
    return to_buffer(capture, options, data, size, render_inkml);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_json(const vantix_signature_capture *capture,
                                                             const vantix_signature_export_options *options,
                                                             const char *path) {
    return to_file(capture, options, path, render_json);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_json_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size) {
    return to_buffer(capture, options, data, size, render_json);
}

VANTIX_EXPORT vantix_error_code
vantix_signature_export_pdf_paths(const vantix_signature_capture *capture,
                                  const vantix_signature_export_options *options, const char *path) {
    return to_file(capture, options, path, render_pdf_paths);
}

VANTIX_EXPORT vantix_error_code vantix_signature_export_pdf_paths_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size) {
    return to_buffer(capture, options, data, size, render_pdf_paths);
}

VANTIX_EXPORT void vantix_signature_free_buffer(unsigned char *data) { std::free(data); }

VANTIX_EXPORT const char *vantix_signature_last_error(void) { return last_error(); }

}  // extern "C"
