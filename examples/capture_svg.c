// SPDX-License-Identifier: Apache-2.0
/*
 * Capture a signature and save it as signature.svg: feed every input report
 * to a capture until the pad's OK button (region 2) is pressed. On the
 * virtual pad a scripted pen signs and taps OK.
 */
#include <time.h>

#include "example_pad.h"
#include "vantix-signature.h"

static volatile int ok_pressed = 0;

static void on_input(vantix_device *device, vantix_input_report *report, uint8_t type, unsigned char *raw,
                     unsigned int length) {
    (void)raw, (void)length;
    vantix_signature_feed((vantix_signature_capture *)device->user_defined, report, type);
    if (type == VANTIX_INPUT_BUTTONPRESS && report->button_press.region &&
        report->button_press.region->common.region_number == 2)
        ok_pressed = 1;
}

static void sign_on_virtual_pad(void) {
    static const int stroke[] = {300, 650, 500, 350, 700, 650, 900, 350, 1100, 650};
    vantix_padsim_stroke(0, stroke, 5);
    vantix_padsim_tap_display(0, 60, 56); /* the OK button */
}

int main(void) {
    vantix_device *list = NULL, *pad;
    vantix_signature_capture *capture = NULL;
    struct timespec pause = {0, 10000000};
    int virtual_pad, waited, saved = 0;

    vantix_init();
    pad = example_open_pad(&list, &virtual_pad);
    if (pad)
        capture = vantix_signature_capture_new(pad);
    if (capture) {
        pad->user_defined = capture; /* the library never touches it */
        vantix_register_input_callback(pad, on_input);
        vantix_device_read_until_done(pad);
        if (virtual_pad)
            sign_on_virtual_pad();
        else
            printf("sign on the pad and press OK (60 seconds)...\n");
        for (waited = 0; !ok_pressed && waited < 6000; ++waited)
            nanosleep(&pause, NULL);
        vantix_device_read_done(pad);
        saved = vantix_signature_export_svg(capture, NULL, "signature.svg") == VANTIX_CODE_SUCCESS;
        if (saved)
            printf("%zu points in %zu strokes saved to signature.svg\n",
                   vantix_signature_point_count(capture), vantix_signature_stroke_count(capture));
        else
            printf("not saved: %s\n", vantix_signature_last_error());
        vantix_signature_capture_free(capture);
    } else if (pad) {
        printf("could not start a capture: %s\n", vantix_signature_last_error());
        vantix_close_device(pad);
    }
    vantix_free_device_list(list);
    vantix_destroy();
    return saved ? 0 : 1;
}
