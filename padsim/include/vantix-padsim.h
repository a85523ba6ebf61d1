// SPDX-License-Identifier: Apache-2.0
/**
 * @file
 * The virtual pad for C programs: a driver table named "SIM" whose pads
 * behave like pad firmware, so the library can be tried without hardware.
 *
 *     vantix_init();
 *     vantix_padsim_register();      // lists one pad as "sim:0"
 *     vantix_list_devices(&pads);
 *
 * Link with the static vantix-padsim before vantix-zelnar. Pads are
 * addressed by index; the functions return 0 for an index that names no pad.
 * The build also makes a shared libvantix-padsim.so (not installed) for
 * programs that load the virtual pad at run time, such as the Python
 * binding's tests; it uses the shared libvantix-zelnar, so the program and
 * the pad share one library and one device list.
 *
 * @par The default pad and its screen
 * A pad added here has a black-and-white display of 240 x 64 pixels (one
 * bit each), x 0..239 from the left and y 0..63 from the top. Its pen
 * reports digitizer coordinates x 0..4095 and y 0..1091; the calibrated part
 * x 100..3995, y 50..1041 covers the display, and pixel
 * (px, py) = ((x - 100) * 240 / 3896, (y - 50) * 64 / 992), rounded down.
 * The pen outside that part lies off the display and over no region. The
 * pad leaves the factory with three regions and shows its two buttons from
 * power-on: a frame along each button's border with its caption centred in
 * it. Clearing the display (vantix_clear_screen, or
 * vantix_set_display_content with content 0) blanks them too; restoring the
 * store's factory contents (vantix_set_screen_region_commit with
 * VANTIX_SCREEN_REGION_FACTORY_DEFAULTS) shows them again. Pen strokes in
 * region 1 leave ink on the display.
 *
 * | Region | What            | Display pixels (x; y) | Pen coordinates (x; y) | Its middle, pen |
 * |--------|-----------------|-----------------------|------------------------|-----------------|
 * | 1      | ink container   | 0..239; 0..47         | 100..3995; 50..793     |                 |
 * | 2      | "OK" button     | 0..119; 48..63        | 100..2047; 794..1041   | 1082; 925       |
 * | 3      | "Cancel" button | 120..239; 48..63      | 2048..3995; 794..1041  | 3030; 925       |
 *
 * vantix_padsim_tap and the other pen functions take pen (digitizer)
 * coordinates: vantix_padsim_tap(0, 1082, 925) presses OK.
 * vantix_padsim_tap_display takes display pixels: vantix_padsim_tap_display(0,
 * 180, 56) presses Cancel. Either way the host gets VANTIX_INPUT_BUTTONDOWN
 * and then VANTIX_INPUT_BUTTONPRESS, whose region->common.region_number is 2
 * for OK and 3 for Cancel.
 */
#ifndef VANTIX_PADSIM_H
#define VANTIX_PADSIM_H

#include "vantix-zelnar.h"

#ifdef __cplusplus
extern "C" {
#endif

/** The "SIM" driver table (owned by this library; never free it). */
VANTIX_EXPORT vantix_device_driver *vantix_padsim_driver(void);

/** After vantix_init: registers and starts the SIM driver, and adds one
 * default pad when none exists. */
VANTIX_EXPORT void vantix_padsim_register(void);

/** Adds a pad of the default model; returns its index (path "sim:<index>"). */
VANTIX_EXPORT int vantix_padsim_add_pad(void);

/** Number of pads added since the last reset. */
VANTIX_EXPORT int vantix_padsim_pad_count(void);

/** Queues an input report on pad `index`; the next vantix_device_read of
 * its record delivers it. Returns 0 when there is no such pad. */
VANTIX_EXPORT int vantix_padsim_queue_input(int index, const unsigned char *report, unsigned int length);

/**
 * @name Pen input
 * Pen input on pad `index`, in digitizer coordinates (the calibrated
 * digitizer range covers the display). Each sample becomes an input report
 * carrying the region under the pen, read by the next vantix_device_read.
 * All return 1, or 0 when there is no such pad or an argument is out of
 * range.
 * @{
 */
/** One sample at x, y; `down` non-zero while the pen touches. */
VANTIX_EXPORT int vantix_padsim_pen_sample(int index, int x, int y, int down);
/** `point_count` pen-down samples from x, y pairs, then a pen-up at the last. */
VANTIX_EXPORT int vantix_padsim_stroke(int index, const int *xy_pairs, int point_count);
/** Pen down and up at one place: on a button, BUTTONDOWN then BUTTONPRESS. */
VANTIX_EXPORT int vantix_padsim_tap(int index, int x, int y);
/** The same at display pixel x, y (for example inside a button's box). */
VANTIX_EXPORT int vantix_padsim_tap_display(int index, int x, int y);
/** @} */

/** A valid financial card swipe; null tracks are empty. Returns 0 when there
 * is no such pad or it has no card reader. */
VANTIX_EXPORT int vantix_padsim_swipe_card(int index, const char *track1, const char *track2,
                                           const char *track3);

/** Writes what pad `index` shows on its display (its buttons, chunks sent to
 * it and the ink of its pen) to `path` as a PNG picture. Returns 1, or 0
 * when there is no such pad or the file cannot be written. */
VANTIX_EXPORT int vantix_padsim_write_png(int index, const char *path);

/** Adds a pad that replays the recording at `path` (made with `vantix-tool
 * record`; see docs/recording.md): it is listed with the recorded pad's
 * identity, answers every feature report as recorded until the host sets
 * that report, and each time it is opened plays the recorded input, at the
 * recorded pace when `paced` is non-zero, else all at once. Returns the new
 * pad's index, or -1 with the reason in vantix_get_last_error() (a file
 * that cannot be read, is no recording, is damaged or of a newer format). */
VANTIX_EXPORT int vantix_padsim_add_replay(const char *path, int paced);

/** Removes every pad; the next one added is index 0 again. */
VANTIX_EXPORT void vantix_padsim_reset(void);

#ifdef __cplusplus
}
#endif

#endif /* VANTIX_PADSIM_H */
