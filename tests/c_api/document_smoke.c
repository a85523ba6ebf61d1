// SPDX-License-Identifier: Apache-2.0
/* A C99 program using the document header: the arguments it refuses, each
 * with its text, and a file that is no PDF. */
#include <string.h>

#include "check.h"
#include "vantix-document.h"

int main(int argc, char **argv) {
    vantix_document_sign_options options;
    vantix_document_placement placement;

    CHECK(argc == 2); /* a file that is no PDF */
    CHECK(vantix_document_open(NULL) == NULL);
    CHECK(strcmp(vantix_document_last_error(), "No file given.") == 0);
    CHECK(vantix_document_open(argv[1]) == NULL);
    CHECK(strncmp(vantix_document_last_error(), "The file is not a readable PDF: ", 32) == 0);
    CHECK(vantix_document_verify(argv[1], NULL) == NULL);
    vantix_document_default_sign_options(&options);
    CHECK(options.placement.field == NULL && options.recipient_count == 0 && options.signer_key == NULL);
    memset(&placement, 0, sizeof placement);
    CHECK(vantix_document_check_placement(NULL, &placement) == VANTIX_CODE_ERROR);
    CHECK(strcmp(vantix_document_last_error(), "No document given.") == 0);
    CHECK(vantix_document_sign(NULL, NULL, &options, "out.pdf") == VANTIX_CODE_ERROR);
    CHECK(vantix_document_title(NULL) == NULL);
    CHECK(vantix_document_report_count(NULL) == 0 && vantix_document_report_at(NULL, 0) == NULL);
    vantix_document_free(NULL);
    vantix_document_report_free(NULL);
    return failures != 0;
}
