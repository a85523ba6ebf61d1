// SPDX-License-Identifier: Apache-2.0
/* Print pads coming and going for a number of seconds (default 10). */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include "vantix-zelnar.h"

static void on_hotplug(vantix_hotplug_type type, const char *path) {
    printf("%s %s\n", type == VANTIX_HOTPLUG_ATTACHED ? "attached" : "detached", path);
    fflush(stdout);
}

int main(int argc, char **argv) {
    struct timespec second = {1, 0};
    int seconds = argc > 1 ? atoi(argv[1]) : 10;

    vantix_init();
    vantix_register_hotplug_callback(on_hotplug);
    printf("watching for %d seconds\n", seconds);
    fflush(stdout);
    while (seconds-- > 0)
        nanosleep(&second, NULL);
    vantix_unregister_hotplug_callback(on_hotplug);
    vantix_destroy();
    return 0;
}
