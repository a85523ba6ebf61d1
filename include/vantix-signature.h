// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * libvantix-signature: capture a handwritten signature from a pad and export
 * it as SVG, PNG, InkML or JSON. Built on the public API of libvantix-zelnar
 * only. Compiles as C99 and as C++.
 *
 *     vantix_signature_capture *sig = vantix_signature_capture_new(device);
 *     // in the pad's input callback:
 *     vantix_signature_feed(sig, report, type);
 *     // later, on any thread:
 *     vantix_signature_export_svg(sig, NULL, "signature.svg");
 *     vantix_signature_capture_free(sig);
 *
 * Errors: functions returning vantix_error_code report failure with
 * VANTIX_CODE_ERROR (functions returning a pointer with NULL) and leave a
 * text for vantix_signature_last_error(). That text is kept per thread, so
 * a failure on the read thread never overwrites one being read elsewhere;
 * the library's own vantix_get_last_error() is not touched.
 *
 * Threads: every function taking a capture may be called from any thread.
 * Each capture guards its points with its own mutex: the read thread feeds it
 * while another thread counts, undoes or exports. Exporters copy the points
 * under the lock and render without it. The event callback is called on the
 * feeding thread without the lock held, so it may call back into the capture.
 *
 * Coordinates: points are kept as the pad reports them (digitizer units).
 * The display position of a point maps the pad's active area (its calibrated
 * area, or the whole coordinate range when the pad reports none) linearly
 * onto the display, as the pad itself maps pen samples to pixels:
 *     display_x = (x - active_x_min) * display_width / (active_x_max - active_x_min + 1)
 * clamped to [0, display_width] (y likewise). A pixel-index reading of that
 * value (its floor) is the pixel the pad inks.
 */
#ifndef VANTIX_SIGNATURE_H
#define VANTIX_SIGNATURE_H

#include <stddef.h>
#include <stdint.h>

#include "vantix-zelnar.h"

#ifdef __cplusplus
extern "C" {
#endif

/** A capture holds at most this many points; adding one more fails with
 * "Signature capture is full (at most 100000 points)." and changes nothing.
 * 100000 points are over eight minutes of writing at 200 samples a second. */
#define VANTIX_SIGNATURE_MAX_POINTS 100000u

/** Coordinate reports carry no pressure: their pen-down samples get this
 * pressure (the full range, 0 to 1). */
#define VANTIX_SIGNATURE_DEFAULT_PRESSURE 1.0f

/** PNG pictures are at most this many pixels wide and high; the limit
 * holds for the size drawn, also where a width or height of 0 takes the
 * display's. */
#define VANTIX_SIGNATURE_MAX_PNG_SIZE 8192u

/** A pad's display is at most this many pixels wide and high. Signature pad
 * displays measure a few hundred to about two thousand pixels a side; a pad
 * (or a caller's description) claiming more is refused with "The pad's
 * display size is over 4096 pixels." rather than cut down, since a cut
 * size would map every point to the wrong pixel. */
#define VANTIX_SIGNATURE_MAX_DISPLAY_SIZE 4096u

/** A signature being captured: points, strokes and the pad's description.
 * Created by vantix_signature_capture_new*, released with
 * vantix_signature_capture_free. */
typedef struct vantix_signature_capture vantix_signature_capture;

/** What a capture knows of its pad. Strings are NUL-terminated, cut to fit;
 * from a pad, bytes outside printable ASCII read as '?'. */
typedef struct vantix_signature_pad_info {
    uint16_t vendor_id;     /**< USB vendor ID. */
    uint16_t product_id;    /**< USB product ID. */
    char manufacturer[64];  /**< Manufacturer string. */
    char model[64];         /**< Model (product) string. */
    char serial_number[32]; /**< Serial number (feature report 27). */
    /** The range of coordinates the pad reports. @{ */
    uint16_t x_min;
    uint16_t x_max;
    uint16_t y_min;
    uint16_t y_max;
    /** @} */
    /** The part of that range the pad maps onto its display. @{ */
    uint16_t active_x_min;
    uint16_t active_x_max;
    uint16_t active_y_min;
    uint16_t active_y_max;
    /** @} */
    /** Display size in pixels. @{ */
    uint16_t display_width;
    uint16_t display_height;
    /** @} */
} vantix_signature_pad_info;

/** One captured point. */
typedef struct vantix_signature_point {
    uint16_t x;     /**< Digitizer units. */
    uint16_t y;     /**< Digitizer units. */
    float pressure; /**< 0 to 1. */
    /** Host steady (monotonic) clock, microseconds: for intervals between
     * points, not a date (the JSON export dates the signature). */
    uint64_t time_us;
    uint32_t stroke; /**< Index of the stroke the point belongs to. */
} vantix_signature_point;

/** The coordinate space of exported or measured points. */
typedef enum vantix_signature_space {
    VANTIX_SIGNATURE_SPACE_DISPLAY = 0,  /**< Display pixels, mapped as described above. */
    VANTIX_SIGNATURE_SPACE_DIGITIZER = 1 /**< The pad's coordinate range. */
} vantix_signature_space;

/** A box in one coordinate space (see vantix_signature_bounding_box). */
typedef struct vantix_signature_box {
    /** Edges; left <= right and top <= bottom. @{ */
    double left;
    double top;
    double right;
    double bottom;
    /** @} */
} vantix_signature_box;

/** Options of every exporter; each format uses the fields it names.
 * A NULL options pointer means vantix_signature_default_options(). */
typedef struct vantix_signature_export_options {
    /** SVG and JSON: the space of the written coordinates (JSON always also
     * writes the digitizer coordinates). InkML is always in digitizer units;
     * PNG always draws the display, scaled to its size. */
    vantix_signature_space space;
    /** PNG: picture size in pixels; 0 takes the display's width or height.
     * The display is scaled to fit, keeping its aspect, and centred. @{ */
    uint32_t width;
    uint32_t height;
    /** @} */
    /** SVG and PNG: stroke width in units of the output (SVG: the chosen
     * space, PNG: pixels). Must be above 0 and at most 1000 (NaN and
     * infinity are refused). A PNG export whose drawing would visit more
     * than 2^29 pixels, a wide line over many points, is refused with
     * "Drawing the signature picture would take too long: lower its line
     * width or size." before any is drawn. */
    double line_width;
    /** SVG and PNG: non-zero makes the width follow pressure: a point draws
     * line_width * pressure wide. */
    int pressure_width;
} vantix_signature_export_options;

/** Fills `options` with the defaults: display space, 0 x 0 (the display's size), line width 2, no pressure
 * width. */
VANTIX_EXPORT void vantix_signature_default_options(vantix_signature_export_options *options);

/** A capture for an open pad: reads its coordinate range and capabilities and
 * takes its display size, identity and serial number. Call it before
 * reading starts (it performs feature report transfers). NULL on failure
 * ("The device of a signature capture must be open.", "Unable to read the
 * pad's coordinate range.", ...). Release with vantix_signature_capture_free. */
VANTIX_EXPORT vantix_signature_capture *vantix_signature_capture_new(vantix_device *device);
/** A capture for a pad described by the caller (tests, bindings, replays).
 * The ranges must not be inverted and the display size must be 1 to
 * VANTIX_SIGNATURE_MAX_DISPLAY_SIZE pixels a side. */
VANTIX_EXPORT vantix_signature_capture *vantix_signature_capture_new_with_info(
    const vantix_signature_pad_info *info);
/** Releases a capture; NULL is ignored. No thread may use it any more. */
VANTIX_EXPORT void vantix_signature_capture_free(vantix_signature_capture *capture);
/** Copies the capture's pad description into `info`. */
VANTIX_EXPORT vantix_error_code vantix_signature_get_pad_info(const vantix_signature_capture *capture,
                                                              vantix_signature_pad_info *info);

/** What an input callback calls with the report and type it was given.
 * Coordinate and extended coordinate reports add a point while the pen is
 * down; the first pen-down sample after a pen-up begins a stroke and a
 * pen-up sample ends it. A button event (down, move, up, press) ends the
 * stroke too: the pen is on a button, not writing, so the next stroke does
 * not join on to it. Button events and card swipes are passed to the event
 * callback. Other reports are ignored.
 * Fails for a NULL capture or report, or when the capture is full. */
VANTIX_EXPORT vantix_error_code vantix_signature_feed(vantix_signature_capture *capture,
                                                      const vantix_input_report *report, uint8_t type);
/** One sample, as feed would add it, with the caller's pressure (0 to 1;
 * values outside are clamped to it) and timestamp (microseconds, on a clock
 * that does not go back; an earlier timestamp than the last point's is
 * raised to it). A pressure that is not a finite number (NaN, infinity) is
 * refused ("The pressure of a signature point must be a finite number.")
 * and changes nothing. */
VANTIX_EXPORT vantix_error_code vantix_signature_add_point(vantix_signature_capture *capture, uint16_t x,
                                                           uint16_t y, float pressure, int down,
                                                           uint64_t time_us);

/** Called on the feeding thread with button events and card swipes. The
 * report is valid only during the call. */
typedef void (*vantix_signature_event_callback)(vantix_signature_capture *capture,
                                                const vantix_input_report *report, uint8_t type,
                                                void *user_data);
/** Sets the one event callback of a capture (and its user_data, handed back
 * unchanged); NULL removes it. */
VANTIX_EXPORT void vantix_signature_set_event_callback(vantix_signature_capture *capture,
                                                       vantix_signature_event_callback callback,
                                                       void *user_data);

/** Removes every point. */
VANTIX_EXPORT void vantix_signature_clear(vantix_signature_capture *capture);
/** Removes the last stroke, also one still being written (the pen must be
 * lifted and set down again to go on). Fails when there is none. */
VANTIX_EXPORT vantix_error_code vantix_signature_undo_stroke(vantix_signature_capture *capture);

/** Number of points, or of strokes; 0 for a NULL capture. @{ */
VANTIX_EXPORT size_t vantix_signature_point_count(const vantix_signature_capture *capture);
VANTIX_EXPORT size_t vantix_signature_stroke_count(const vantix_signature_capture *capture);
/** @} */
/** Copies point `index` (from 0) into `point`; fails past the end ("Point
 * index past the end of the signature."). */
VANTIX_EXPORT vantix_error_code vantix_signature_get_point(const vantix_signature_capture *capture,
                                                           size_t index, vantix_signature_point *point);
/** The smallest box holding every point, in the given space. Fails for an
 * empty capture. */
VANTIX_EXPORT vantix_error_code vantix_signature_bounding_box(const vantix_signature_capture *capture,
                                                              vantix_signature_space space,
                                                              vantix_signature_box *box);

/** @name Exporters
 * SVG, PNG, InkML and JSON. The _buffer variants hand back a new buffer of
 * *size bytes (text formats are also NUL-terminated past *size) that the
 * caller releases with vantix_signature_free_buffer. An empty capture
 * exports a valid empty document. The file variants write `path`,
 * replacing it. Options as in vantix_signature_export_options (NULL: the
 * defaults).
 *
 * JSON: `version`, `space`, `pad` (identity, `coordinate_range`,
 * `active_area`, `display`), `start_time_us` and `strokes`, an array of
 * strokes, each an array of points {`x`, `y` (in `space`), `digitizer_x`,
 * `digitizer_y`, `t_us`, `pressure`}. `start_time_us` dates the signature:
 * the wall-clock time (UTC, microseconds since the Unix epoch) at which the
 * capture took its first point, 0 when it has none. `t_us` is the time since
 * that first point on the steady clock, so intervals are right even when
 * the wall clock is set meanwhile.
 * @{ */
/** Writes the signature to `path` in the format the name says. @{ */
VANTIX_EXPORT vantix_error_code vantix_signature_export_svg(const vantix_signature_capture *capture,
                                                            const vantix_signature_export_options *options,
                                                            const char *path);
VANTIX_EXPORT vantix_error_code vantix_signature_export_png(const vantix_signature_capture *capture,
                                                            const vantix_signature_export_options *options,
                                                            const char *path);
VANTIX_EXPORT vantix_error_code vantix_signature_export_inkml(const vantix_signature_capture *capture,
                                                              const vantix_signature_export_options *options,
                                                              const char *path);
VANTIX_EXPORT vantix_error_code vantix_signature_export_json(const vantix_signature_capture *capture,
                                                             const vantix_signature_export_options *options,
                                                             const char *path);
/** PDF content-stream operators drawing the SVG export's paths (a round cap
 * as cubic curves) in the coordinates of `space`, y pointing down, wrapped
 * in q ... Q: a caller places them with a cm matrix, e.g. in a form
 * XObject. */
VANTIX_EXPORT vantix_error_code
vantix_signature_export_pdf_paths(const vantix_signature_capture *capture,
                                  const vantix_signature_export_options *options, const char *path);
/** @} */
/** Hands back a new buffer (*data, *size bytes) in the format the name
 * says; release it with vantix_signature_free_buffer. @{ */
VANTIX_EXPORT vantix_error_code vantix_signature_export_svg_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size);
VANTIX_EXPORT vantix_error_code vantix_signature_export_png_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size);
VANTIX_EXPORT vantix_error_code vantix_signature_export_inkml_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size);
VANTIX_EXPORT vantix_error_code vantix_signature_export_json_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size);
VANTIX_EXPORT vantix_error_code vantix_signature_export_pdf_paths_buffer(
    const vantix_signature_capture *capture, const vantix_signature_export_options *options,
    unsigned char **data, size_t *size);
/** @} */
/** Releases a buffer of the exporters; NULL is ignored. */
VANTIX_EXPORT void vantix_signature_free_buffer(unsigned char *data);
/** @} */

/** @name The signature record and its sealing
 * A signature record binds a capture to the document it signs: the
 * document's SHA-256 digest, its name and the prompt the pad showed, the
 * capture's UTC start and end, the pad's description, every pen sample and
 * the digest of the signature's picture. It is deterministic JSON (see
 * docs/signature-record.md). Sealing encrypts the record to one or more
 * recipients' X.509 certificates as CMS AuthEnvelopedData (RFC 5083) with
 * AES-256-GCM, RSA recipients through RSA-OAEP and EC recipients through
 * ECDH key agreement, and optionally signs that envelope (CMS SignedData)
 * with the capturing host's key. Stock OpenSSL opens it:
 *     openssl cms -decrypt -inform DER -in s.p7m -recip cert.pem -inkey key.pem
 * Opening fails with one of these texts: "The data is not a sealed
 * signature record.", "The key does not open this sealed record (wrong key,
 * or its recipient information is damaged).", "The sealed record is damaged
 * (its authentication tag does not match).", "The host signature of the
 * sealed record does not verify.", "Unsupported record version.", "The
 * signature record is malformed: ..." (what is wrong).
 * @{ */

/** The version of the signature records this library writes; it reads this one only. */
#define VANTIX_SIGNATURE_RECORD_VERSION 1u
/** A sealed record (and a plain record) is at most this many bytes; larger input is refused unread. */
#define VANTIX_SIGNATURE_MAX_SEALED_SIZE (64u * 1024u * 1024u)
/** Document names and prompts are at most this many bytes. */
#define VANTIX_SIGNATURE_MAX_RECORD_TEXT 1024u

/** The document a record signs, given one way: set exactly one of `sha256`
 * (its 32-byte SHA-256 digest), `data` (its bytes; `size` may be 0) or
 * `path` (a file, read and digested). */
typedef struct vantix_signature_document {
    const unsigned char *sha256; /**< 32 bytes, or NULL. */
    const unsigned char *data;   /**< The document's bytes, or NULL. */
    size_t size;                 /**< Bytes at `data`. */
    const char *path;            /**< A file holding the document, or NULL. */
} vantix_signature_document;

/** What a record says beyond the capture. Strings are UTF-8, NULL means
 * none (an empty text in the record); names and prompts are at most
 * VANTIX_SIGNATURE_MAX_RECORD_TEXT bytes, the pad's texts at most 128. */
typedef struct vantix_signature_record_options {
    vantix_signature_document document; /**< The signed document (required). */
    const char *document_name;          /**< Its name, e.g. a file name. */
    const char *prompt;                 /**< The text the pad showed the signer. */
    const char *pad_serial_number;      /**< Replaces the pad description's serial number. */
    const char *pad_uuid;               /**< The pad's UUID, as text. */
    const char *pad_firmware;           /**< The pad's firmware version, as text. */
} vantix_signature_record_options;

/** A certificate or key, in PEM or DER: set `path` (a file) or `data` and
 * `size` (bytes in memory). Keys are unencrypted (PKCS#8 or traditional). */
typedef struct vantix_signature_material {
    const char *path;          /**< A file, or NULL to use `data`. */
    const unsigned char *data; /**< The bytes, when `path` is NULL. */
    size_t size;               /**< Bytes at `data`. */
} vantix_signature_material;

/** A sealed record opened with a recipient's key. Created by
 * vantix_signature_open_sealed, released with vantix_signature_opened_free. */
typedef struct vantix_signature_opened vantix_signature_opened;

/** The texts of an opened record (vantix_signature_opened_text). */
typedef enum vantix_signature_record_text {
    VANTIX_SIGNATURE_RECORD_DOCUMENT_NAME = 0,   /**< The document's name. */
    VANTIX_SIGNATURE_RECORD_PROMPT = 1,          /**< The prompt the pad showed. */
    VANTIX_SIGNATURE_RECORD_PAD_UUID = 2,        /**< The pad's UUID. */
    VANTIX_SIGNATURE_RECORD_PAD_FIRMWARE = 3,    /**< The pad's firmware version. */
    VANTIX_SIGNATURE_RECORD_LIBRARY_VERSION = 4, /**< The version of the library that wrote the record. */
    /** The subject (RFC 2253) of the host certificate that signed the sealed
     * record; empty when it is not signed. */
    VANTIX_SIGNATURE_RECORD_HOST_SIGNER = 5
} vantix_signature_record_text;

/** The digests of an opened record (vantix_signature_opened_digest). */
typedef enum vantix_signature_record_digest {
    VANTIX_SIGNATURE_RECORD_DOCUMENT_SHA256 = 0, /**< The signed document's SHA-256. */
    /** The SHA-256 of the signature's SVG export with the default options. */
    VANTIX_SIGNATURE_RECORD_IMAGE_SHA256 = 1
} vantix_signature_record_digest;

/** The plain (unsealed) record of a capture as a new buffer (*data, *size
 * bytes, NUL-terminated past *size), released with
 * vantix_signature_free_buffer. It holds the pen data in the clear: seal it
 * rather than store it. Fails for an empty capture ("The signature has no
 * points.") and for a missing or unreadable document. */
VANTIX_EXPORT vantix_error_code vantix_signature_record_buffer(const vantix_signature_capture *capture,
                                                               const vantix_signature_record_options *options,
                                                               unsigned char **data, size_t *size);

/** Seals the capture's record to `recipient_count` (1 to 64) certificates:
 * DER CMS AuthEnvelopedData in a new buffer (*data, *size bytes) released
 * with vantix_signature_free_buffer. With `signer_key` and `signer_cert`
 * (both or neither) the envelope is signed by the host: the buffer is then
 * DER CMS SignedData holding the envelope. The plain record is wiped from
 * memory before this returns. */
VANTIX_EXPORT vantix_error_code vantix_signature_seal(const vantix_signature_capture *capture,
                                                      const vantix_signature_record_options *options,
                                                      const vantix_signature_material *recipients,
                                                      size_t recipient_count,
                                                      const vantix_signature_material *signer_key,
                                                      const vantix_signature_material *signer_cert,
                                                      unsigned char **data, size_t *size);

/** Opens a sealed record (signed or not, DER) with a recipient's private
 * key; `cert`, the recipient's certificate, may be NULL (it then picks the
 * recipient information the key opens). A host signature is verified
 * (the signature over the envelope with the certificate it carries; whether
 * that host is trusted is the caller's call, see
 * VANTIX_SIGNATURE_RECORD_HOST_SIGNER). NULL on failure, with one of the
 * texts above. Release with vantix_signature_opened_free. */
VANTIX_EXPORT vantix_signature_opened *vantix_signature_open_sealed(const unsigned char *data, size_t size,
                                                                    const vantix_signature_material *key,
                                                                    const vantix_signature_material *cert);
/** Releases an opened record; NULL is ignored. */
VANTIX_EXPORT void vantix_signature_opened_free(vantix_signature_opened *opened);
/** One of the record's texts (NUL-terminated, "" when it has none), valid
 * until the record is released; NULL for a NULL record or unknown field. */
VANTIX_EXPORT const char *vantix_signature_opened_text(const vantix_signature_opened *opened,
                                                       vantix_signature_record_text field);
/** Copies one of the record's digests (32 bytes) to `sha256`. */
VANTIX_EXPORT vantix_error_code vantix_signature_opened_digest(const vantix_signature_opened *opened,
                                                               vantix_signature_record_digest which,
                                                               unsigned char *sha256);
/** The capture's UTC start and end (microseconds since the Unix epoch);
 * either pointer may be NULL. */
VANTIX_EXPORT vantix_error_code vantix_signature_opened_times(const vantix_signature_opened *opened,
                                                              uint64_t *start_utc_us, uint64_t *end_utc_us);
/** Copies the pad description the record holds into `info` (its serial
 * number the record's). */
VANTIX_EXPORT vantix_error_code vantix_signature_opened_pad_info(const vantix_signature_opened *opened,
                                                                 vantix_signature_pad_info *info);
/** 1 when the sealed record was signed by a host and that signature
 * verified (opening fails when it does not), 0 when it was not signed. */
VANTIX_EXPORT int vantix_signature_opened_host_signed(const vantix_signature_opened *opened);
/** Succeeds when `document` is the one the record signs; fails with "The
 * document does not match the signature record." when it is another. */
VANTIX_EXPORT vantix_error_code vantix_signature_opened_check_document(
    const vantix_signature_opened *opened, const vantix_signature_document *document);
/** A new capture holding the record's pad description and pen samples,
 * dated by the record's start, ready for any exporter. Release it with
 * vantix_signature_capture_free. */
VANTIX_EXPORT vantix_signature_capture *vantix_signature_opened_load_capture(
    const vantix_signature_opened *opened);
/** @} */

/** The text of this thread's last failure of a vantix_signature_ function. */
VANTIX_EXPORT const char *vantix_signature_last_error(void);

#ifdef __cplusplus
}
#endif

#endif /* VANTIX_SIGNATURE_H */
