/* SPDX-License-Identifier: Apache-2.0 */
/* A program that defines functions of its own under the library's generic
 * exported names, then runs a session on the virtual pad through the shared
 * library. The library must keep calling its own definitions: any of these
 * being reached from inside it ends the program with a failure. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "vantix-padsim.h"
#include "vantix-zelnar.h"

static void reached(const char *name) {
    fprintf(stderr, "the library called this program's %s\n", name);
    abort();
}

/* The stand-ins ignore their arguments. */
int wait_for_interlock(vantix_device *device, int sleep, int lockFlags) {
    reached(__func__);
    return 0;
}
void replace_token(char **src, const char *token, const char *replace) { reached(__func__); }
unsigned char read_key_value_pair_file(const char *file, vantix_list *list) {
    reached(__func__);
    return 0;
}
void free_keypair_list(vantix_list *list) { reached(__func__); }
char *linux_get_redhat_distribution(void) {
    reached(__func__);
    return NULL;
}
char *linux_get_distribution(void) {
    reached(__func__);
    return NULL;
}
int32_t *parse_string_encoding(const char *data, size_t dataLen, const char *encoding, size_t *charLen) {
    reached(__func__);
    return NULL;
}
size_t u_strlen32(const int32_t *string) {
    reached(__func__);
    return 0;
}
const vantix_font_char *enhanced_get_font_character(const vantix_enhanced_font *font, int32_t character) {
    reached(__func__);
    return NULL;
}
unsigned int enhanced_get_string_width(const vantix_enhanced_font *font, const int32_t *string) {
    reached(__func__);
    return 0;
}
unsigned int enhanced_get_string_height(const vantix_enhanced_font *font, const int32_t *string) {
    reached(__func__);
    return 0;
}
void enhanced_draw_char(vantix_bitmap *bmp, const vantix_enhanced_font *font, int32_t chr, int32_t x,
                        int32_t y, vantix_gcolor color) {
    reached(__func__);
}
void enhanced_draw_string(vantix_bitmap *bmp, const vantix_enhanced_font *font, const int32_t *string,
                          int32_t x, int32_t y, vantix_gcolor color) {
    reached(__func__);
}
void enhanced_draw_string_aligned(vantix_bitmap *bmp, const vantix_enhanced_font *font, const int32_t *string,
                                  int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                  vantix_string_alignment hAlign, vantix_string_alignment vAlign,
                                  vantix_gcolor color) {
    reached(__func__);
}

#include "check.h"

int main(void) {
    vantix_device *devices = NULL, *pad = NULL, *d;
    char *name = malloc(sizeof "log-${pid}");

    vantix_init();
    vantix_padsim_register();
    CHECK(vantix_list_devices(&devices) == VANTIX_CODE_SUCCESS);
    for (d = devices; d; d = d->next)
        if (d->driver == vantix_padsim_driver())
            pad = d;
    CHECK(pad != NULL);
    if (pad) {
        /* Waits for the interlock; converts, measures and draws text. */
        CHECK(vantix_open_device(pad) == VANTIX_CODE_SUCCESS);
        CHECK(vantix_device_draw_text(pad, "Sign here", 10, 10, VANTIX_ALIGN_LEFT, 0) == VANTIX_CODE_SUCCESS);
        CHECK(vantix_close_device(pad) == VANTIX_CODE_SUCCESS);
    }
    /* Reads the release files. */
    CHECK(strlen(vantix_debug_get_operating_system()) > 0);
    /* Substitutes the tokens of a log file name. */
    if (name) {
        strcpy(name, "log-${pid}");
        vantix_debug_file_sub(&name);
        CHECK(strstr(name, "${pid}") == NULL);
        free(name);
    }
    vantix_free_device_list(devices);
    vantix_destroy();
    return failures ? 1 : 0;
}
