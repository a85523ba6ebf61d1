/*
 * The smallest useful program: start the library, say what it is, list the
 * pads that are attached, stop.
 */
#include <stdio.h>

#include "vantix-zelnar.h"

int main(void) {
    vantix_list_item *item;
    vantix_device *pads = NULL;
    vantix_device *pad;

    vantix_init();
    printf("libvantix-zelnar %s (built %s)\n", vantix_get_zelnar_version(), vantix_get_zelnar_build_date());

    printf("drivers:\n");
    for (item = vantix_get_drivers() ? vantix_get_drivers()->first : NULL; item; item = item->next) {
        vantix_device_driver *driver = (vantix_device_driver *)item->ptr;
        printf("  %-6s %s\n", driver->get_name(), driver->initialized ? "ready" : "failed to start");
    }

    if (vantix_list_devices(&pads) != VANTIX_CODE_SUCCESS || !pads) {
        printf("pads: none attached\n");
    } else {
        printf("pads: %u attached\n", vantix_count_device_list(pads));
        for (pad = pads; pad; pad = pad->next)
            printf("  %s  %04x:%04x  %s %s\n", pad->path, pad->vendor_id, pad->product_id, pad->manufacturer,
                   pad->model);
    }
    vantix_free_device_list(pads);

    vantix_destroy();
    return 0;
}
