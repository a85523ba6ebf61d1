// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * libvantix-document: sign PDF documents with a signature captured on a pad.
 * The ink goes into a signature field's appearance as vector paths, the
 * sealed signature record (see vantix-signature.h) is embedded in the file
 * and associated with the field, and with a signer key the field carries a
 * PAdES baseline B-B signature (CMS SignedData, detached, SHA-256,
 * /SubFilter /ETSI.CAdES.detached). Every change is written as an
 * incremental update, so signatures already in the file stay valid. Built
 * on the public API of libvantix-signature; PDF files are read with qpdf.
 * Compiles as C99 and as C++.
 *
 *     vantix_document *doc = vantix_document_open("form.pdf");
 *     // show vantix_document_title(doc) and the digest on the pad, capture ...
 *     vantix_document_sign_options options;
 *     vantix_document_default_sign_options(&options);
 *     options.placement.field = "Signature1";
 *     vantix_document_sign(doc, capture, &options, "signed.pdf");
 *     vantix_document_free(doc);
 *
 * Errors: functions returning vantix_error_code report failure with
 * VANTIX_CODE_ERROR (functions returning a pointer with NULL) and leave a
 * text for vantix_document_last_error(), kept per thread.
 *
 * Coordinates: a new field's rectangle is given in PDF points in the page's
 * visible coordinates: the origin at the lower left corner of the page as
 * it is shown (its crop box, turned by its /Rotate), x to the right, y up.
 */
#ifndef VANTIX_DOCUMENT_H
#define VANTIX_DOCUMENT_H

#include <stddef.h>
#include <stdint.h>

#include "vantix-signature.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Files of more than this many bytes are refused unread. */
#define VANTIX_DOCUMENT_MAX_SIZE (1024u * 1024u * 1024u)

/** A PDF opened for signing: its bytes, as read once, and their parse.
 * Created by vantix_document_open, released with vantix_document_free. */
typedef struct vantix_document vantix_document;

/** Reads and parses the PDF at `path`. Fails with "The PDF is encrypted:
 * encrypted documents cannot be signed.", "The file is not a readable PDF:
 * ..." (damaged files, with qpdf's account of what is wrong) or a file
 * error. */
VANTIX_EXPORT vantix_document *vantix_document_open(const char *path);
/** Releases a document; NULL is ignored. */
VANTIX_EXPORT void vantix_document_free(vantix_document *document);
/** The document's /Title, else its file name (UTF-8), valid while the document is. */
VANTIX_EXPORT const char *vantix_document_title(const vantix_document *document);
/** Copies the SHA-256 of the file's bytes, the revision being signed, to `sha256` (32 bytes). */
VANTIX_EXPORT vantix_error_code vantix_document_sha256(const vantix_document *document,
                                                       unsigned char *sha256);

/** Where the signature goes: an existing empty signature field by its fully
 * qualified name, or a new field on a page, or (neither given) the first
 * empty signature field. */
typedef struct vantix_document_placement {
    const char *field; /**< An existing signature field's name, or NULL. */
    /** With `field` NULL: the page (counting from 1) of a new field; 0 for none. */
    unsigned page;
    /** The new field's rectangle in the page's visible coordinates (points). @{ */
    double x;
    double y;
    double width;
    double height;
    /** @} */
} vantix_document_placement;

/** Checks that `placement` names a place the signature can go, before
 * anyone signs. Fails with "No signature field named ...", "The signature
 * field ... is already signed.", "The document has no empty signature
 * field: name a page and a rectangle for a new one.", "The document has N
 * pages; there is no page ...", "The rectangle is not inside the page ..."
 * or "The rectangle must have a width and height above 0.". */
VANTIX_EXPORT vantix_error_code vantix_document_check_placement(const vantix_document *document,
                                                                const vantix_document_placement *placement);

/** How vantix_document_sign signs. Strings are UTF-8; NULL means none. */
typedef struct vantix_document_sign_options {
    vantix_document_placement placement; /**< Where the signature goes. */
    const char *reason;                  /**< /Reason of the signature. */
    const char *location;                /**< /Location of the signature. */
    /** The signer's name: /Name, and the line under the ink (with the date). */
    const char *name;
    const char *prompt; /**< The text the pad showed, for the sealed record. */
    /** The pad's UUID and firmware version, for the sealed record. @{ */
    const char *pad_uuid;
    const char *pad_firmware;
    /** @} */
    /** The certificates (1 to 64) the sealed record is encrypted to; with
     * none, no record is embedded. @{ */
    const vantix_signature_material *recipients;
    size_t recipient_count;
    /** @} */
    /** The signer's key and certificate for the PAdES signature, both or
     * neither; without them the file carries the ink and the record but no
     * digital signature. @{ */
    const vantix_signature_material *signer_key;
    const vantix_signature_material *signer_cert;
    /** @} */
    /** Further certificates carried in the CMS (the signer's chain). @{ */
    const vantix_signature_material *chain;
    size_t chain_count;
    /** @} */
    /** The signing time, seconds since the Unix epoch; 0 takes the current time. */
    int64_t signing_time;
} vantix_document_sign_options;

/** Fills `options` with the defaults: everything NULL or 0. */
VANTIX_EXPORT void vantix_document_default_sign_options(vantix_document_sign_options *options);

/** Signs the document with `capture`'s signature and writes the result to
 * `out_path`: the input's bytes followed by one incremental update. The
 * file is written under a temporary name beside `out_path` and renamed;
 * on failure nothing is left there. Fails for an empty capture ("The
 * signature has no points."), a placement that does not check, unreadable
 * keys or certificates, and file errors. */
VANTIX_EXPORT vantix_error_code vantix_document_sign(const vantix_document *document,
                                                     const vantix_signature_capture *capture,
                                                     const vantix_document_sign_options *options,
                                                     const char *out_path);

/** One signature field of a verified document. Strings are UTF-8, "" when
 * absent, valid while the report is. */
typedef struct vantix_document_signature {
    const char *field;        /**< The field's fully qualified name. */
    unsigned page;            /**< The page of its widget (from 1), 0 when none. */
    int is_signed;            /**< 1 when it holds a digital signature (/V). */
    const char *signer;       /**< The signer certificate's subject (RFC 2253). */
    const char *reason;       /**< /Reason. */
    const char *location;     /**< /Location. */
    const char *name;         /**< /Name. */
    const char *time;         /**< /M, as the file writes it. */
    const char *sub_filter;   /**< /SubFilter, e.g. "ETSI.CAdES.detached". */
    int covers_whole_file;    /**< 1 when the byte range ends at the end of the file. */
    uint64_t signed_length;   /**< Bytes of the revision the byte range covers (its end). */
    unsigned char sha256[32]; /**< SHA-256 over the byte range. */
    int valid;                /**< 1 when the byte range digest and the CMS signature check. */
    const char *problem;      /**< Why not, "" when valid or unsigned. */
    int has_record;           /**< 1 when a sealed signature record is associated with the field. */
    /** With a key: 1 when the record opened and its document digest is
     * that of the revision it was sealed for, else 0. */
    int record_matches;
    uint64_t record_revision_length; /**< Bytes of the revision the record was sealed for. */
    const char *record_problem;      /**< Why the record does not match, "" otherwise. */
} vantix_document_signature;

/** What vantix_document_verify found. Released with vantix_document_report_free. */
typedef struct vantix_document_report vantix_document_report;

/** Checks every signature field of the PDF at `path`. With `key` (a
 * recipient's private key, may be NULL) the sealed records are opened and
 * compared with their revisions. NULL, with the texts of vantix_document_open,
 * when the file is not a readable PDF or is encrypted. */
VANTIX_EXPORT vantix_document_report *vantix_document_verify(const char *path,
                                                             const vantix_signature_material *key);
/** The number of signature fields in the report. */
VANTIX_EXPORT size_t vantix_document_report_count(const vantix_document_report *report);
/** The `index`th field (in the document's field order), NULL past the end. */
VANTIX_EXPORT const vantix_document_signature *vantix_document_report_at(const vantix_document_report *report,
                                                                         size_t index);
/** Releases a report; NULL is ignored. */
VANTIX_EXPORT void vantix_document_report_free(vantix_document_report *report);

/** The text of this thread's last failure of a vantix_document_ function. */
VANTIX_EXPORT const char *vantix_document_last_error(void);

#ifdef __cplusplus
}
#endif

#endif
