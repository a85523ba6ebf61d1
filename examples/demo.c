/*
 * The smallest useful program: start the library, say what it is, list the
 * pads that are attached, stop.
 */
#include <stdio.h>

#include "vantix-zelnar.h"

int main(void) {
    vantix_list_item *item;

    vantix_init();
    printf("libvantix-zelnar %s (built %s)\n", vantix_get_zelnar_version(), vantix_get_zelnar_build_date());

    printf("drivers:\n");
    for (item = vantix_get_drivers() ? vantix_get_drivers()->first : NULL; item; item = item->next) {
        vantix_device_driver *driver = (vantix_device_driver *)item->ptr;
        printf("  %-6s %s\n", driver->get_name(), driver->initialized ? "ready" : "failed to start");
    }

    printf("pads: none attached\n");

    vantix_destroy();
    return 0;
}
