// SPDX-License-Identifier: Apache-2.0
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

/* A short signature in digitizer coordinates: three strokes between the
 * prompt and the signature line, away from the buttons along the bottom. */
static void sign_on_virtual_pad(void) {
    static const int first[] = {300, 650, 420, 450, 540, 330, 660, 450, 780, 650, 900, 470};
    static const int second[] = {1100, 350, 1150, 500, 1200, 650, 1300, 570, 1420, 410};
    static const int third[] = {1700, 600, 1900, 580, 2100, 560, 2300, 550, 2500, 540, 2700, 530};
    vantix_padsim_stroke(0, first, (int)(sizeof first / sizeof first[0] / 2));
    vantix_padsim_stroke(0, second, (int)(sizeof second / sizeof second[0] / 2));
    vantix_padsim_stroke(0, third, (int)(sizeof third / sizeof third[0] / 2));
    vantix_padsim_tap_display(0, 60, 56); /* the OK button along the bottom */
    vantix_padsim_swipe_card(0, "%B4111111111111111^DOE/JANE^29121010000000000000?",
                             ";4111111111111111=2912101?", NULL);
}

/* A picture of the pad's size, drawn by `draw` and sent at depth 1. */
static int send_picture(vantix_device *pad, unsigned int x, unsigned int y, int32_t width, int32_t height,
                        void (*draw)(vantix_bitmap *bmp)) {
    static unsigned char buffer[54 + 240 * 3 * 64];
    vantix_bitmap bmp;
    if ((size_t)(54 + (24 * width + 31) / 32 * 4 * height) > sizeof buffer)
        return 0;
    vantix_bitmap_init(&bmp, buffer, width, height);
    draw(&bmp);
    return vantix_transfer_bitmap_to_device(pad, &bmp, x, y, 1) == VANTIX_CODE_SUCCESS;
}

static void draw_sign_line(vantix_bitmap *bmp) { vantix_draw_line(bmp, 0, 0, bmp->width - 1, 0, 0x000000FF); }

static void draw_ok_button(vantix_bitmap *bmp) {
    static const int32_t ok[] = {'O', 'K', 0};
    vantix_draw_rectangle(bmp, 0, 0, bmp->width - 1, bmp->height - 1, 0x000000FF);
    enhanced_draw_string_aligned(bmp, &vantix_default, ok, 0, 0, bmp->width, bmp->height, VANTIX_ALIGN_MIDDLE,
                                 VANTIX_ALIGN_MIDDLE, 0x000000FF);
}

/* The signing screen: a prompt along the top, a line to sign on and an OK
 * button over the pad's OK region (region 2). */
static void show_signing_screen(vantix_device *pad) {
    unsigned int width = pad->display_info.width, height = pad->display_info.height;
    vantix_device_region_info *ok =
        pad->regions && pad->display_info.region_count >= 2 ? &pad->regions[1] : NULL;
    if (width < 240 || height < 64) {
        printf("display of %ux%u: too small for the signing screen\n", width, height);
        return;
    }
    vantix_clear_screen(pad);
    if (vantix_device_draw_text(pad, "Please sign below", width / 2, 1, VANTIX_ALIGN_CENTER, 0) !=
            VANTIX_CODE_SUCCESS ||
        !send_picture(pad, 10, 44, (int32_t)width - 20, 1, draw_sign_line) ||
        (ok && ok->common.region_type == VANTIX_REGION_TYPE_BUTTON &&
         !send_picture(pad, ok->common.x1, ok->common.y1, ok->common.x2 - ok->common.x1 + 1,
                       ok->common.y2 - ok->common.y1 + 1, draw_ok_button)))
        printf("could not draw the signing screen: %s\n", vantix_get_last_error());
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

    show_signing_screen(pad);
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
    if (virtual_pad && vantix_padsim_write_png(0, "pad-screen.png"))
        printf("the virtual pad's screen is in pad-screen.png\n");

    printf("signature: %u pen samples in %u strokes, %u button presses, %u card swipes\n", samples, strokes,
           buttons, cards);
    vantix_free_device_list(pads);
    vantix_destroy();
    return virtual_pad && samples == 0 ? 1 : 0;
}
