/*
 * Trying the library without a pad: start it, register the virtual pad's
 * "SIM" driver and list what it offers.
 */
#include <stdio.h>
#include <string.h>

#include "vantix-padsim.h"
#include "vantix-zelnar.h"

int main(void) {
    vantix_device *pads = NULL;
    vantix_device *pad;
    int found = 0;

    vantix_init();
    vantix_padsim_register();

    vantix_list_devices(&pads);
    for (pad = pads; pad; pad = pad->next) {
        if (pad->driver != vantix_padsim_driver())
            continue;
        printf("%s  %04x:%04x  %s %s\n", pad->path, pad->vendor_id, pad->product_id, pad->manufacturer,
               pad->model);
        if (strcmp(pad->path, "sim:0") == 0)
            found = 1;
    }
    vantix_free_device_list(pads);

    vantix_destroy();
    if (!found) {
        fprintf(stderr, "sim:0 was not listed\n");
        return 1;
    }
    return 0;
}
