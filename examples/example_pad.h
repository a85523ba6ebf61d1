// SPDX-License-Identifier: Apache-2.0
/*
 * What the examples share: the first real pad, or the virtual pad when none
 * is attached, listed and opened. Copy it along with an example.
 */
#ifndef EXAMPLE_PAD_H
#define EXAMPLE_PAD_H

#include <stdio.h>
#include <string.h>

#include "vantix-padsim.h"
#include "vantix-zelnar.h"

static vantix_device *example_first_of(vantix_device *list, const char *driver) {
    for (; list; list = list->next)
        if (strcmp(list->driver->get_name(), driver) == 0)
            return list;
    return NULL;
}

/* After vantix_init: lists the pads into *list and opens one. Sets *virtual_pad
 * when that is the virtual pad. Null (with the reason printed) on failure. */
static vantix_device *example_open_pad(vantix_device **list, int *virtual_pad) {
    vantix_device *pad;
    vantix_list_devices(list);
    pad = example_first_of(*list, "REAL");
    *virtual_pad = pad == NULL;
    if (!pad) {
        vantix_free_device_list(*list);
        vantix_padsim_register();
        vantix_list_devices(list);
        pad = example_first_of(*list, "SIM");
    }
    if (!pad || vantix_open_device(pad) != VANTIX_CODE_SUCCESS) {
        printf("could not open a pad: %s\n", vantix_get_last_error());
        return NULL;
    }
    printf("using %s%s\n", pad->path, *virtual_pad ? " (the virtual pad)" : "");
    return pad;
}

#endif
