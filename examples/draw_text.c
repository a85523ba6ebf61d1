// SPDX-License-Identifier: Apache-2.0
/* Draw a line of text in the middle of the pad's display. */
#include "example_pad.h"

int main(int argc, char **argv) {
    const char *text = argc > 1 ? argv[1] : "Hello from libvantix-zelnar";
    vantix_device *list = NULL, *pad;
    int virtual_pad, ok = 0;

    vantix_init();
    pad = example_open_pad(&list, &virtual_pad);
    if (pad) {
        unsigned int y = (pad->display_info.height - vantix_measure_text_height(pad, text)) / 2;
        ok = vantix_clear_screen(pad) == VANTIX_CODE_SUCCESS &&
             vantix_device_draw_text(pad, text, pad->display_info.width / 2, y, VANTIX_ALIGN_CENTER, 0) ==
                 VANTIX_CODE_SUCCESS;
        if (!ok)
            printf("could not draw: %s\n", vantix_get_last_error());
        else if (virtual_pad && vantix_padsim_write_png(0, "draw-text.png"))
            printf("the virtual pad's screen is in draw-text.png\n");
        vantix_close_device(pad);
    }
    vantix_free_device_list(list);
    vantix_destroy();
    return ok ? 0 : 1;
}
