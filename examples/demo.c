/*
 * The demo: start the library, say what it is, list the attached pads and
 * record a signature. With no pad attached it signs on the virtual pad,
 * whose pen draws a scripted signature of a few strokes.
 */
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "vantix-padsim.h"
#include "vantix-zelnar.h"

/* What the input callback has seen, updated on the read thread. */
static volatile unsigned samples = 0, strokes = 0, pen_ups = 0, buttons = 0, cards = 0;
static volatile int pen_down = 0;

static void on_input(vantix_device *device, vantix_input_report *report, uint8_t type, unsigned char *raw,
                     unsigned int length) {
    int down;
    (void)device, (void)raw, (void)length;
    switch (type) {
    case VANTIX_INPUT_COORDINATE:
    case VANTIX_INPUT_EXTENDEDCOORDINATE:
        /* Both records begin with report_id and sample_info. */
        down = report->coordinate.sample_info.common.down;
        if (down) {
            ++samples;
            if (!pen_down)
                ++strokes;
        } else {
            ++pen_ups;
        }
        pen_down = down;
        break;
    case VANTIX_INPUT_BUTTONPRESS: ++buttons; break;
    case VANTIX_INPUT_MAGCARDDATA: ++cards; break;
    default: break;
    }
}

static void sleep_ms(long ms) {
    struct timespec pause;
    pause.tv_sec = ms / 1000;
    pause.tv_nsec = (ms % 1000) * 1000000L;
    nanosleep(&pause, NULL);
}

/* A short signature in digitizer coordinates: three strokes in the upper
 * part of the pad, away from the buttons along the bottom. */
static void sign_on_virtual_pad(void) {
    static const int first[] = {300, 500, 420, 300, 540, 180, 660, 300, 780, 500, 900, 320};
    static const int second[] = {1100, 200, 1150, 350, 1200, 500, 1300, 420, 1420, 260};
    static const int third[] = {1700, 450, 1900, 430, 2100, 410, 2300, 400, 2500, 390, 2700, 380};
    vantix_padsim_stroke(0, first, (int)(sizeof first / sizeof first[0] / 2));
    vantix_padsim_stroke(0, second, (int)(sizeof second / sizeof second[0] / 2));
    vantix_padsim_stroke(0, third, (int)(sizeof third / sizeof third[0] / 2));
    vantix_padsim_tap_display(0, 60, 56); /* the OK button along the bottom */
    vantix_padsim_swipe_card(0, "%B4111111111111111^DOE/JANE^29121010000000000000?",
                             ";4111111111111111=2912101?", NULL);
}

static vantix_device *first_pad(vantix_device *list, const char *driver_name) {
    for (; list; list = list->next)
        if (strcmp(list->driver->get_name(), driver_name) == 0)
            return list;
    return NULL;
}

int main(void) {
    vantix_list_item *item;
    vantix_device *pads = NULL, *pad;
    int virtual_pad = 0, waited;

    vantix_init();
    printf("libvantix-zelnar %s (built %s)\n", vantix_get_zelnar_version(), vantix_get_zelnar_build_date());
    printf("drivers:\n");
    for (item = vantix_get_drivers() ? vantix_get_drivers()->first : NULL; item; item = item->next) {
        vantix_device_driver *driver = (vantix_device_driver *)item->ptr;
        printf("  %-6s %s\n", driver->get_name(), driver->initialized ? "ready" : "failed to start");
    }

    vantix_list_devices(&pads);
    printf("pads: %u attached\n", vantix_count_device_list(pads));
    for (pad = pads; pad; pad = pad->next)
        printf("  %s  %04x:%04x  %s %s\n", pad->path, pad->vendor_id, pad->product_id, pad->manufacturer,
               pad->model);

    pad = first_pad(pads, "REAL");
    if (!pad) {
        printf("no pad attached: signing on the virtual pad instead\n");
        vantix_free_device_list(pads);
        vantix_padsim_register();
        vantix_list_devices(&pads);
        pad = first_pad(pads, "SIM");
        virtual_pad = 1;
    }
    if (!pad || vantix_open_device(pad) != VANTIX_CODE_SUCCESS) {
        printf("could not open a pad: %s\n", vantix_get_last_error());
        vantix_free_device_list(pads);
        vantix_destroy();
        return 1;
    }
    printf("opened %s: display %ux%u, firmware %u.%u.%u, %u regions\n", pad->path, pad->display_info.width,
           pad->display_info.height, pad->version_info.firmware_version[0],
           pad->version_info.firmware_version[1], pad->version_info.firmware_version[2],
           pad->display_info.region_count);
    vantix_print_device_uuid(pad->uuid);

    vantix_register_input_callback(pad, on_input);
    vantix_device_read_until_done(pad);
    if (virtual_pad) {
        sign_on_virtual_pad();
        for (waited = 0; (pen_ups < 3 || buttons < 1 || cards < 1) && waited < 3000; waited += 10)
            sleep_ms(10);
    } else {
        printf("sign on the pad now (10 seconds)...\n");
        sleep_ms(10000);
    }
    vantix_device_read_done(pad);

    printf("signature: %u pen samples in %u strokes, %u button presses, %u card swipes\n", samples, strokes,
           buttons, cards);
    vantix_free_device_list(pads);
    vantix_destroy();
    return virtual_pad && samples == 0 ? 1 : 0;
}
