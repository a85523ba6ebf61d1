// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * libvantix-signature for C++: a header-only RAII class over the capture
 * of vantix-signature.h.
 *
 *     vantix::zelnar::signature_capture signature(pad);   // new .. free
 *     signature.attach(pad);                              // the pen feeds it
 *     pad.start_reading();
 *     ...
 *     std::string svg = signature.svg();
 *     std::vector<std::byte> png = signature.png();
 *
 * Failures throw vantix::zelnar::error carrying
 * vantix_signature_last_error()'s text. Link libvantix-signature.
 */
#ifndef VANTIX_SIGNATURE_HPP
#define VANTIX_SIGNATURE_HPP

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vantix-signature.h"
#include "vantix-zelnar.hpp"

namespace vantix::zelnar {

/// Throws error("what: <vantix_signature_last_error() text>") when `code`
/// is not VANTIX_CODE_SUCCESS.
inline void check_signature(vantix_error_code code, std::string_view what) {
    if (code != VANTIX_CODE_SUCCESS)
        throw_error(what, vantix_signature_last_error());
}

/// A signature being captured (vantix_signature_capture_new ..
/// vantix_signature_capture_free). Like the C capture, it may be used from
/// any thread while the read thread feeds it.
class signature_capture {
public:
    /// A capture for an open pad; call it before reading starts.
    explicit signature_capture(const pad &open) : signature_capture(open.record()) {}
    /// A capture for an open pad record.
    explicit signature_capture(vantix_device &open)
        : capture_(created(vantix_signature_capture_new(&open))) {}
    /// A capture for a pad described by the caller (tests, replays).
    explicit signature_capture(const vantix_signature_pad_info &info)
        : capture_(created(vantix_signature_capture_new_with_info(&info))) {}

    /// The C capture, for the functions this class does not wrap.
    vantix_signature_capture *get() const { return capture_.get(); }
    /// What the capture knows of its pad.
    vantix_signature_pad_info pad_info() const {
        vantix_signature_pad_info info{};
        check_signature(vantix_signature_get_pad_info(get(), &info), "reading the signature's pad");
        return info;
    }

    /// Feeds one input event (vantix_signature_feed). Returns false, without
    /// throwing, when the capture is full: it is meant for input handlers.
    bool feed(const input_event &event) noexcept {
        return vantix_signature_feed(get(), &event.report, event.type) == VANTIX_CODE_SUCCESS;
    }
    /// Makes `open` feed this capture from now on, then pass each event to
    /// `also` (when given). This replaces the pad's input handler; the
    /// capture must outlive the reading, or the handler be replaced first.
    void attach(pad &open, input_handler also = {}) {
        open.on_input([capture = get(), then = std::move(also)](const input_event &event) {
            vantix_signature_feed(capture, &event.report, event.type);
            if (then)
                then(event);
        });
    }
    /// One sample with the caller's pressure (0 to 1) and steady-clock time
    /// (vantix_signature_add_point); throws when the capture is full.
    void add_point(std::uint16_t x, std::uint16_t y, float pressure, bool down, std::uint64_t time_us) {
        check_signature(vantix_signature_add_point(get(), x, y, pressure, down ? 1 : 0, time_us),
                        "adding a signature point");
    }

    /// Removes every point.
    void clear() noexcept { vantix_signature_clear(get()); }
    /// Removes the last stroke; false when there is none.
    bool undo_stroke() noexcept { return vantix_signature_undo_stroke(get()) == VANTIX_CODE_SUCCESS; }

    /** Number of points, or of strokes. @{ */
    std::size_t point_count() const noexcept { return vantix_signature_point_count(get()); }
    std::size_t stroke_count() const noexcept { return vantix_signature_stroke_count(get()); }
    /** @} */
    /// Point `index` (from 0); throws past the end.
    vantix_signature_point point(std::size_t index) const {
        vantix_signature_point out{};
        check_signature(vantix_signature_get_point(get(), index, &out), "reading a signature point");
        return out;
    }
    /// Every point, in order (those fed while copying may be included).
    std::vector<vantix_signature_point> points() const {
        std::vector<vantix_signature_point> out;
        out.reserve(point_count());
        vantix_signature_point p{};
        while (vantix_signature_get_point(get(), out.size(), &p) == VANTIX_CODE_SUCCESS)
            out.push_back(p);
        return out;
    }
    /// The smallest box holding every point in `space`; nothing when the
    /// capture has no points.
    std::optional<vantix_signature_box> bounding_box(
        vantix_signature_space space = VANTIX_SIGNATURE_SPACE_DISPLAY) const {
        vantix_signature_box box{};
        if (vantix_signature_bounding_box(get(), space, &box) == VANTIX_CODE_SUCCESS)
            return box;
        const bool known =
            space == VANTIX_SIGNATURE_SPACE_DISPLAY || space == VANTIX_SIGNATURE_SPACE_DIGITIZER;
        if (known && point_count() == 0)
            return std::nullopt;
        throw_error("measuring the signature", vantix_signature_last_error());
    }

    /// vantix_signature_default_options().
    static vantix_signature_export_options default_options() {
        vantix_signature_export_options options{};
        vantix_signature_default_options(&options);
        return options;
    }
    /** The signature as a document of the format the name says. Throw for
     * options the exporter refuses. @{ */
    std::string svg(const vantix_signature_export_options &options = default_options()) const {
        return exported<std::string>(vantix_signature_export_svg_buffer, options, "SVG");
    }
    std::string inkml(const vantix_signature_export_options &options = default_options()) const {
        return exported<std::string>(vantix_signature_export_inkml_buffer, options, "InkML");
    }
    std::string json(const vantix_signature_export_options &options = default_options()) const {
        return exported<std::string>(vantix_signature_export_json_buffer, options, "JSON");
    }
    std::vector<std::byte> png(const vantix_signature_export_options &options = default_options()) const {
        return exported<std::vector<std::byte>>(vantix_signature_export_png_buffer, options, "PNG");
    }
    /** @} */

private:
    struct free_capture {
        void operator()(vantix_signature_capture *capture) const { vantix_signature_capture_free(capture); }
    };
    struct free_buffer {
        void operator()(unsigned char *data) const { vantix_signature_free_buffer(data); }
    };
    using exporter = vantix_error_code (*)(const vantix_signature_capture *,
                                           const vantix_signature_export_options *, unsigned char **,
                                           std::size_t *);

    static vantix_signature_capture *created(vantix_signature_capture *capture) {
        if (!capture)
            throw_error("creating a signature capture", vantix_signature_last_error());
        return capture;
    }
    template <typename Bytes>
    Bytes exported(exporter write, const vantix_signature_export_options &options, const char *format) const {
        unsigned char *data = nullptr;
        std::size_t size = 0;
        check_signature(write(get(), &options, &data, &size),
                        std::string("exporting the signature as ") + format);
        const std::unique_ptr<unsigned char, free_buffer> owned(data);
        const auto *begin = reinterpret_cast<const typename Bytes::value_type *>(data);
        return Bytes(begin, begin + size);
    }

    std::unique_ptr<vantix_signature_capture, free_capture> capture_;
};

}  // namespace vantix::zelnar

#endif /* VANTIX_SIGNATURE_HPP */
