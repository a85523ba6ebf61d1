// SPDX-License-Identifier: Apache-2.0
/*
 * Trying the library without a pad: start it, register the virtual pad's
 * "SIM" driver, find "sim:0" and print what the pad says it can do. The
 * reads need no open: they are plain feature reports.
 */
#include <stdio.h>
#include <string.h>

#include "vantix-padsim.h"
#include "vantix-zelnar.h"

static void print_capabilities(const vantix_hid_capabilities *c) {
    printf("capabilities:\n");
    printf("  display          %ux%u, type %d, depth %u, %u brightness / %u contrast levels\n",
           c->display_width, c->display_height, (int)c->display_id, c->color_depth, c->brightness_levels,
           c->contrast_levels);
    printf("  digitizer        %ux%u, x %u..%u, y %u..%u\n", c->digitizer_width, c->digitizer_height,
           c->coordinate_xmin, c->coordinate_xmax, c->coordinate_ymin, c->coordinate_ymax);
    printf("  coordinate modes 0x%02x\n", c->coordinate_modes);
    printf("  card reader      %d\n", (int)c->mag_reader_id);
    printf("  screens          %s\n", c->supports_screens_resources ? "yes" : "no");
}

static void print_display_info(const vantix_hid_feature_display_info *d) {
    printf("display information:\n");
    printf("  %ux%u pixels, %u bit(s) per pixel, text %ux%u\n", d->width, d->height, d->color_depth,
           d->text_width, d->text_height);
    printf("  %u regions, captions up to %u characters\n", d->region_count, d->max_caption_length);
}

int main(void) {
    vantix_device *pads = NULL;
    vantix_device *pad;
    vantix_device *sim0 = NULL;
    vantix_hid_capabilities capabilities;
    vantix_hid_feature_display_info display_info;
    int status = 0;

    vantix_init();
    vantix_padsim_register();

    vantix_list_devices(&pads);
    for (pad = pads; pad; pad = pad->next) {
        if (pad->driver != vantix_padsim_driver())
            continue;
        printf("%s  %04x:%04x  %s %s\n", pad->path, pad->vendor_id, pad->product_id, pad->manufacturer,
               pad->model);
        if (strcmp(pad->path, "sim:0") == 0)
            sim0 = pad;
    }

    if (!sim0) {
        fprintf(stderr, "sim:0 was not listed\n");
        status = 1;
    } else {
        capabilities = vantix_get_capabilities(sim0);
        display_info = vantix_get_display_info(sim0);
        if (capabilities.report_id == 0 || display_info.report_id == 0) {
            fprintf(stderr, "reading the pad failed: %s", vantix_get_last_error());
            status = 1;
        } else {
            print_capabilities(&capabilities);
            print_display_info(&display_info);
        }
    }

    vantix_free_device_list(pads);
    vantix_destroy();
    return status;
}
