// SPDX-License-Identifier: Apache-2.0
/* List the attached pads, then print the identity and capabilities of one. */
#include "example_pad.h"

int main(void) {
    vantix_device *list = NULL, *pad, *d;
    vantix_hid_capabilities capabilities;
    int virtual_pad;

    vantix_init();
    pad = example_open_pad(&list, &virtual_pad);
    for (d = list; d; d = d->next)
        printf("%s  %04x:%04x  %s %s\n", d->path, d->vendor_id, d->product_id, d->manufacturer, d->model);
    if (pad) {
        vantix_print_display_info(&pad->display_info);
        vantix_print_version(&pad->version_info);
        capabilities = vantix_get_capabilities(pad);
        vantix_print_capabilities(capabilities.report_id ? &capabilities : NULL);
        vantix_close_device(pad);
    }
    vantix_free_device_list(list);
    vantix_destroy();
    return pad ? 0 : 1;
}
