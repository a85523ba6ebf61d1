// SPDX-License-Identifier: Apache-2.0
/*
 * Sign a document on the pad, seal the signature to a certificate, then
 * open it with that certificate's key and check it against the document:
 *
 *     example_seal_and_verify contract.pdf notary.crt notary.key
 *
 * The sealed record (signature.p7m) holds the document's SHA-256, the pen
 * data and when and on which pad it was written, readable only with the
 * key. On the virtual pad a scripted pen signs.
 */
#include <inttypes.h>
#include <time.h>

#include "example_pad.h"
#include "vantix-signature.h"

/* Captures what the pen writes: on the virtual pad a scripted stroke, else 10 seconds of the signer's. */
static vantix_signature_capture *capture_signature(vantix_device *pad, int virtual_pad) {
    static const int stroke[] = {300, 650, 500, 350, 700, 650, 900, 350, 1100, 650};
    struct timespec pause = {0, 10000000};
    vantix_signature_capture *capture = vantix_signature_capture_new(pad);
    int waited;
    if (!capture)
        return NULL;
    pad->user_defined = capture;
    vantix_device_read_until_done(pad);
    if (virtual_pad)
        vantix_padsim_stroke(0, stroke, 5);
    else
        printf("sign on the pad (10 seconds)...\n");
    for (waited = 0; waited < (virtual_pad ? 50 : 1000); ++waited)
        nanosleep(&pause, NULL);
    vantix_device_read_done(pad);
    return capture;
}

static void on_input(vantix_device *device, vantix_input_report *report, uint8_t type, unsigned char *raw,
                     unsigned int length) {
    (void)raw, (void)length;
    vantix_signature_feed((vantix_signature_capture *)device->user_defined, report, type);
}

/* Seals the capture's record of `document` to `cert` and writes signature.p7m. */
static int seal(const vantix_signature_capture *capture, const char *document, const char *cert) {
    vantix_signature_record_options options = {0};
    vantix_signature_material recipient = {0};
    unsigned char *sealed = NULL;
    size_t size = 0;
    FILE *out;
    options.document.path = document;
    options.document_name = document;
    recipient.path = cert;
    if (vantix_signature_seal(capture, &options, &recipient, 1, NULL, NULL, &sealed, &size) !=
        VANTIX_CODE_SUCCESS)
        return printf("not sealed: %s\n", vantix_signature_last_error()), 0;
    out = fopen("signature.p7m", "wb");
    if (out) {
        fwrite(sealed, 1, size, out);
        fclose(out);
    }
    vantix_signature_free_buffer(sealed);
    printf("sealed %zu bytes to signature.p7m\n", size);
    return out != NULL;
}

/* Opens signature.p7m with `key` and checks it against `document`. */
static int verify(const char *document, const char *key) {
    static unsigned char sealed[1 << 20];
    vantix_signature_material recipient_key = {0};
    vantix_signature_document signed_document = {0};
    vantix_signature_opened *opened;
    uint64_t start = 0;
    size_t size;
    int matches;
    FILE *in = fopen("signature.p7m", "rb");
    if (!in)
        return printf("signature.p7m cannot be read\n"), 0;
    size = fread(sealed, 1, sizeof sealed, in);
    fclose(in);
    recipient_key.path = key;
    opened = vantix_signature_open_sealed(sealed, size, &recipient_key, NULL);
    if (!opened)
        return printf("not opened: %s\n", vantix_signature_last_error()), 0;
    vantix_signature_opened_times(opened, &start, NULL);
    printf("signed \"%s\" at %" PRIu64 " s after 1970 (UTC)\n",
           vantix_signature_opened_text(opened, VANTIX_SIGNATURE_RECORD_DOCUMENT_NAME), start / 1000000);
    signed_document.path = document;
    matches = vantix_signature_opened_check_document(opened, &signed_document) == VANTIX_CODE_SUCCESS;
    printf("%s\n", matches ? "the document matches the signature" : vantix_signature_last_error());
    vantix_signature_opened_free(opened);
    return matches;
}

int main(int argc, char **argv) {
    vantix_device *list = NULL, *pad;
    vantix_signature_capture *capture = NULL;
    int virtual_pad, ok = 0;

    if (argc != 4)
        return printf("usage: %s DOCUMENT CERTIFICATE KEY\n", argv[0]), 2;
    vantix_init();
    pad = example_open_pad(&list, &virtual_pad);
    if (pad) {
        vantix_register_input_callback(pad, on_input);
        capture = capture_signature(pad, virtual_pad);
        vantix_close_device(pad);
    }
    if (capture)
        ok = seal(capture, argv[1], argv[2]) && verify(argv[1], argv[3]);
    vantix_signature_capture_free(capture);
    vantix_free_device_list(list);
    vantix_destroy();
    return ok ? 0 : 1;
}
