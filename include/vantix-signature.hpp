// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * libvantix-signature for C++: header-only RAII classes over the capture
 * and the sealed record of vantix-signature.h.
 *
 *     vantix::zelnar::signature_capture signature(pad);   // new .. free
 *     signature.attach(pad);                              // the pen feeds it
 *     pad.start_reading();
 *     ...
 *     std::string svg = signature.svg();
 *     std::vector<std::byte> png = signature.png();
 *
 *     // Bound to a document and sealed to a recipient's certificate:
 *     std::vector<std::byte> sealed = signature.seal(
 *         signed_document::file("contract.pdf"), {key_material::file("notary.crt")});
 *     opened_record record(sealed, key_material::file("notary.key"));
 *     bool same = record.matches(signed_document::file("contract.pdf"));
 *
 * Failures throw vantix::zelnar::error carrying
 * vantix_signature_last_error()'s text. Link libvantix-signature.
 */
#ifndef VANTIX_SIGNATURE_HPP
#define VANTIX_SIGNATURE_HPP

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
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

/// The document a signature record signs: a file, its bytes or its SHA-256
/// (vantix_signature_document). It keeps its own copy of what it is given.
class signed_document {
public:
    /// A file, read and digested when the record is made or checked.
    static signed_document file(std::string path) {
        signed_document d;
        d.path_ = std::move(path);
        return d;
    }
    /// The document's bytes.
    static signed_document bytes(std::span<const std::byte> content) {
        signed_document d;
        const auto *begin = reinterpret_cast<const unsigned char *>(content.data());
        d.data_.assign(begin, begin + content.size());
        return d;
    }
    /// The document's SHA-256 digest, for documents held elsewhere.
    static signed_document sha256(const std::array<unsigned char, 32> &digest) {
        signed_document d;
        d.digest_ = digest;
        return d;
    }
    /// The C description, valid while this object lives unchanged.
    vantix_signature_document get() const {
        vantix_signature_document out{};
        if (digest_)
            out.sha256 = digest_->data();
        else if (path_)
            out.path = path_->c_str();
        else {
            static constexpr unsigned char empty = 0;  // an empty document still has an address
            out.data = data_.empty() ? &empty : data_.data();
            out.size = data_.size();
        }
        return out;
    }

private:
    signed_document() = default;
    std::optional<std::string> path_;
    std::optional<std::array<unsigned char, 32>> digest_;
    std::vector<unsigned char> data_;
};

/// A certificate or key, PEM or DER: a file or its bytes
/// (vantix_signature_material). Keys are unencrypted.
class key_material {
public:
    /// A file holding it.
    static key_material file(std::string path) {
        key_material m;
        m.path_ = std::move(path);
        return m;
    }
    /// Its bytes (PEM text or DER).
    static key_material bytes(std::string_view pem_or_der) {
        key_material m;
        m.data_.assign(pem_or_der.begin(), pem_or_der.end());
        return m;
    }
    /// The C description, valid while this object lives unchanged.
    vantix_signature_material get() const {
        vantix_signature_material out{};
        if (path_)
            out.path = path_->c_str();
        else {
            out.data = reinterpret_cast<const unsigned char *>(data_.data());
            out.size = data_.size();
        }
        return out;
    }

private:
    key_material() = default;
    std::optional<std::string> path_;
    std::string data_;
};

/// What signature_capture::seal writes in the record beyond the document,
/// and who signs it on the host. Set the fields by name (GCC warns about
/// designated initializers that leave fields out).
struct seal_details {
    std::string document_name;  ///< The document's name, e.g. a file name.
    std::string prompt;         ///< The text the pad showed the signer.
    /// The host's key and certificate: when both are set, the sealed record is signed. @{
    std::optional<key_material> host_key;
    std::optional<key_material> host_cert;
    /// @}
};

class opened_record;

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

    /// The capture's record bound to `document` and sealed to `recipients`
    /// (1 to 64 certificates) with vantix_signature_seal: DER CMS, for
    /// opened_record.
    std::vector<std::byte> seal(const signed_document &document, const std::vector<key_material> &recipients,
                                const seal_details &details = {}) const {
        vantix_signature_record_options record{};
        record.document = document.get();
        record.document_name = details.document_name.c_str();
        record.prompt = details.prompt.c_str();
        std::vector<vantix_signature_material> certificates;
        for (const key_material &m : recipients)
            certificates.push_back(m.get());
        const bool host = details.host_key && details.host_cert;
        const vantix_signature_material key = host ? details.host_key->get() : vantix_signature_material{};
        const vantix_signature_material cert = host ? details.host_cert->get() : vantix_signature_material{};
        unsigned char *data = nullptr;
        std::size_t size = 0;
        check_signature(vantix_signature_seal(get(), &record, certificates.data(), certificates.size(),
                                              host ? &key : nullptr, host ? &cert : nullptr, &data, &size),
                        "sealing the signature");
        const std::unique_ptr<unsigned char, free_buffer> owned(data);
        const auto *begin = reinterpret_cast<const std::byte *>(data);
        return {begin, begin + size};
    }

private:
    friend class opened_record;
    // Takes over a capture made by the library.
    struct adopt {};
    signature_capture(adopt, vantix_signature_capture *capture) : capture_(created(capture)) {}

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

/// A sealed record opened with a recipient's key (vantix_signature_open_sealed
/// .. vantix_signature_opened_free): what it says, whether a document is the
/// one it signs, and the signature again.
class opened_record {
public:
    /// Opens `sealed` with `key` (and the recipient's certificate, when
    /// given); throws with the library's text: wrong key, not a sealed
    /// record, damaged, host signature that does not verify, unsupported version.
    opened_record(std::span<const std::byte> sealed, const key_material &key,
                  const std::optional<key_material> &cert = std::nullopt) {
        const vantix_signature_material k = key.get();
        const vantix_signature_material c = cert ? cert->get() : vantix_signature_material{};
        opened_.reset(vantix_signature_open_sealed(reinterpret_cast<const unsigned char *>(sealed.data()),
                                                   sealed.size(), &k, cert ? &c : nullptr));
        if (!opened_)
            throw_error("opening the sealed record", vantix_signature_last_error());
    }

    /// The C record, for the functions this class does not wrap.
    vantix_signature_opened *get() const { return opened_.get(); }

    /// One of the record's texts ("" when it has none).
    std::string text(vantix_signature_record_text field) const {
        const char *t = vantix_signature_opened_text(get(), field);
        return t ? t : "";
    }
    /** The document's name and the prompt the pad showed. @{ */
    std::string document_name() const { return text(VANTIX_SIGNATURE_RECORD_DOCUMENT_NAME); }
    std::string prompt() const { return text(VANTIX_SIGNATURE_RECORD_PROMPT); }
    /** @} */
    /// One of the record's SHA-256 digests.
    std::array<unsigned char, 32> digest(
        vantix_signature_record_digest which = VANTIX_SIGNATURE_RECORD_DOCUMENT_SHA256) const {
        std::array<unsigned char, 32> out{};
        check_signature(vantix_signature_opened_digest(get(), which, out.data()),
                        "reading the record's digest");
        return out;
    }
    /// The capture's UTC start and end, microseconds since the Unix epoch.
    std::pair<std::uint64_t, std::uint64_t> times_utc_us() const {
        std::uint64_t start = 0, end = 0;
        check_signature(vantix_signature_opened_times(get(), &start, &end), "reading the record's times");
        return {start, end};
    }
    /// The pad the signature was written on.
    vantix_signature_pad_info pad_info() const {
        vantix_signature_pad_info info{};
        check_signature(vantix_signature_opened_pad_info(get(), &info), "reading the record's pad");
        return info;
    }
    /// The subject of the host certificate whose signature verified; nothing
    /// when the record is not signed. Whether to trust that host is yours.
    std::optional<std::string> host_signer() const {
        if (!vantix_signature_opened_host_signed(get()))
            return std::nullopt;
        return text(VANTIX_SIGNATURE_RECORD_HOST_SIGNER);
    }
    /// Whether `document` is the one the record signs; throws when it
    /// cannot be read.
    bool matches(const signed_document &document) const {
        const vantix_signature_document d = document.get();
        if (vantix_signature_opened_check_document(get(), &d) == VANTIX_CODE_SUCCESS)
            return true;
        if (std::strcmp(vantix_signature_last_error(), "The document does not match the signature record.") ==
            0)
            return false;
        throw_error("checking the document", vantix_signature_last_error());
    }
    /// The signature as a new capture, to export again.
    signature_capture capture() const {
        return signature_capture(signature_capture::adopt{}, vantix_signature_opened_load_capture(get()));
    }

private:
    struct free_opened {
        void operator()(vantix_signature_opened *opened) const { vantix_signature_opened_free(opened); }
    };
    std::unique_ptr<vantix_signature_opened, free_opened> opened_;
};

}  // namespace vantix::zelnar

#endif /* VANTIX_SIGNATURE_HPP */
