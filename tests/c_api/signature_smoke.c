// SPDX-License-Identifier: Apache-2.0
/* A C99 program using the signature header: a capture described by hand,
 * two strokes, an undo, and an SVG in memory. */
#include <stdio.h>
#include <string.h>

#include "vantix-signature.h"

int main(void) {
    vantix_signature_pad_info info;
    vantix_signature_capture *capture;
    unsigned char *svg = NULL;
    size_t size = 0;
    int failed = 0;

    memset(&info, 0, sizeof info);
    info.x_max = info.active_x_max = 4095;
    info.y_max = info.active_y_max = 1091;
    info.display_width = 240;
    info.display_height = 64;
    capture = vantix_signature_capture_new_with_info(&info);
    if (!capture)
        return 1;
    vantix_signature_add_point(capture, 100, 100, 1.0f, 1, 0);
    vantix_signature_add_point(capture, 900, 400, 1.0f, 1, 1000);
    vantix_signature_add_point(capture, 900, 400, 0.0f, 0, 2000);
    vantix_signature_add_point(capture, 2000, 500, 1.0f, 1, 3000);
    vantix_signature_add_point(capture, 2000, 500, 0.0f, 0, 4000);
    failed |= vantix_signature_stroke_count(capture) != 2;
    failed |= vantix_signature_undo_stroke(capture) != VANTIX_CODE_SUCCESS;
    failed |= vantix_signature_point_count(capture) != 2;
    failed |= vantix_signature_export_svg_buffer(capture, NULL, &svg, &size) != VANTIX_CODE_SUCCESS;
    failed |= !svg || size == 0 || !strstr((const char *)svg, "<path");
    vantix_signature_free_buffer(svg);
    vantix_signature_capture_free(capture);
    if (failed)
        fprintf(stderr, "signature smoke failed: %s\n", vantix_signature_last_error());
    return failed;
}
