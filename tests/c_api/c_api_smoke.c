// SPDX-License-Identifier: Apache-2.0
/* A C99 program using the public header: lifecycle, versions, lists, errors. */
#include <stdio.h>
#include <string.h>

#include "vantix-zelnar.h"

#include "check.h"

int main(void) {
    int element = 7;
    vantix_list *list = vantix_create_list();
    vantix_device *devices = NULL;
    vantix_hid_feature_screen screen;
    vantix_hid_feature_region region;

    CHECK(strcmp(vantix_get_zelnar_version(), "2.2.79") == 0);
    CHECK(vantix_get_zelnar_version_major() == 2);
    CHECK(strlen(vantix_get_zelnar_build_date()) == 24);

    CHECK(vantix_list_add(list, &element) != NULL);
    CHECK(vantix_list_count(list) == 1);
    vantix_list_free(list);

    vantix_report_error_internal("code %d", 42);
    CHECK(strcmp(vantix_get_last_error(), "code 42") == 0);

    /* Store records are plain C: a screen record is edited in memory. */
    memset(&screen, 0, sizeof screen);
    memset(&region, 0, sizeof region);
    CHECK(vantix_add_region_to_screen(&screen, 3, 1) == VANTIX_CODE_SUCCESS);
    CHECK(screen.region_count == 1 && screen.region_list[0] == 3 && screen.screen_next_list[0] == 1);
    CHECK(sizeof region.button.caption == VANTIX_REGION_CAPTION_SIZE);
    CHECK(vantix_set_region_contents(NULL, &region) == VANTIX_CODE_ERROR);
    CHECK(strcmp(vantix_get_last_error(), "No device given.") == 0);

    vantix_init();
    CHECK(vantix_get_driver_count() == 1);
    CHECK(vantix_list_devices(&devices) == VANTIX_CODE_SUCCESS);
    CHECK(vantix_count_device_list(devices) == 0);
    vantix_free_device_list(devices);
    vantix_destroy();
    CHECK(vantix_get_driver_count() == 0);

    return failures ? 1 : 0;
}
