// SPDX-License-Identifier: Apache-2.0
/**
 * @mainpage libvantix-zelnar
 *
 * Drive USB signature pads from C and C++: list and open pads, show text,
 * pictures and buttons on their displays, and receive pen samples, button
 * presses and card swipes. The C API is the one header vantix-zelnar.h;
 * vantix-zelnar.hpp wraps it in RAII handles for C++.
 *
 * @section session A typical session
 *
 * Start the library, list the pads, open one, register an input callback,
 * draw on the display, read pen input, then close the pad and stop the
 * library:
 *
 * @code{.c}
 * #include <stdio.h>
 * #include <vantix-zelnar.h>
 *
 * static void on_input(vantix_device *pad, vantix_input_report *report, uint8_t type,
 *                      unsigned char *raw, unsigned int length) {
 *     (void)pad, (void)raw, (void)length;
 *     if ((type == VANTIX_INPUT_COORDINATE || type == VANTIX_INPUT_EXTENDEDCOORDINATE) &&
 *         report->coordinate.sample_info.common.down)
 *         printf("pen at %u, %u\n", report->coordinate.x, report->coordinate.y);
 *     else if (type == VANTIX_INPUT_BUTTONPRESS && report->button_press.region)
 *         printf("button %u pressed\n", report->button_press.region->common.region_number);
 * }
 *
 * int main(void) {
 *     vantix_device *list = NULL, *pad;
 *     int second;
 *
 *     vantix_init();
 *     vantix_list_devices(&list);
 *     pad = list;
 *     if (pad && vantix_open_device(pad) == VANTIX_CODE_SUCCESS) {
 *         vantix_register_input_callback(pad, on_input);
 *         vantix_clear_screen(pad);
 *         vantix_device_draw_text(pad, "Please sign", pad->display_info.width / 2, 10,
 *                                 VANTIX_ALIGN_CENTER, 0);
 *         for (second = 0; second < 10; ++second) // each read waits up to a second
 *             if (vantix_device_read(pad) != VANTIX_CODE_SUCCESS)
 *                 break;
 *         vantix_close_device(pad);
 *     } else {
 *         printf("no pad: %s\n", pad ? vantix_get_last_error() : "none attached");
 *     }
 *     vantix_free_device_list(list);
 *     vantix_destroy();
 *     return 0;
 * }
 * @endcode
 *
 * To read on a thread of its own instead, call
 * vantix_device_read_until_done() after registering the callbacks; the
 * callbacks then run on that thread until the pad is closed.
 *
 * @section groups The API by topic
 *
 * In the order a program uses them: @ref lifecycle, @ref opening,
 * @ref input, @ref display, @ref store, @ref configuration, @ref genii,
 * @ref printers, @ref drawing, @ref logging and, for drivers and tools,
 * @ref support.
 *
 * @section more Examples and further reading
 *
 * Small programs to copy from are in the examples/ directory; those that
 * need a pad use the virtual pad when none is attached:
 * - examples/list_info.c: list the pads and print one's identity and
 *   capabilities;
 * - examples/draw_text.c: a line of text in the middle of the display;
 * - examples/capture_svg.c: capture a signature until OK is pressed and
 *   save it as SVG (with vantix-signature.h);
 * - examples/watch_hotplug.c: pads coming and going;
 * - examples/sim_capabilities.c: the library without a pad, on the
 *   virtual pad's driver;
 * - examples/seal_and_verify.c: sign, seal the signature to a certificate
 *   and check it;
 * - examples/demo.c: the demo program (vantix-demo);
 * - examples/python/sign.py and examples/python/sign_pdf.py: the same from
 *   Python, through the ctypes binding.
 *
 * The README covers building, configuration (the VANTIX_DEBUG* variables),
 * ownership and threads. The documents in docs/: @ref md_docs_signature_record,
 * @ref md_docs_pdf_signing, @ref md_docs_recording, and docs/bridge-protocol.md
 * for the WebSocket service vantix-bridge.
 */
/**
 * @file
 * libvantix-zelnar: drive USB signature pads from C and C++.
 *
 * This is the library's one public header. It compiles as C99 and as C++.
 * Every function returning vantix_error_code reports failure with
 * VANTIX_CODE_ERROR and leaves a text for vantix_get_last_error(); a
 * success does not clear an earlier text, so read it only after a failure.
 *
 * Ownership: records the library hands out are released with the matching
 * free function named beside each (vantix_free_device_list,
 * vantix_free_regions, vantix_free_input_report, ...); records passed in
 * (driver tables, log handlers, bitmaps) stay the caller's.
 *
 * Threads: see the README. In short, the open-device list, the log handler
 * list and the hotplug callback list are guarded; make every other set-up
 * call from one thread and read each pad from one thread.
 */
#ifndef VANTIX_ZELNAR_H
#define VANTIX_ZELNAR_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <time.h>
/* Public records hold pthread types by value (vantix_event, vantix_mutex,
 * vantix_thread, the device's vantix_device_os_params), so callers need
 * their definitions to size and embed those records. */
#include <pthread.h>
#include <stdarg.h>

/** @def VANTIX_EXPORT
 * Marks the functions and data the library exports.
 * @def VANTIX_PRINTF
 * Lets the compiler check printf-style arguments. */
#if defined(__GNUC__)
#define VANTIX_EXPORT __attribute__((visibility("default")))
#define VANTIX_PRINTF(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#else
#define VANTIX_EXPORT
#define VANTIX_PRINTF(fmt_index, first_arg)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The records of lists, events, mutexes and threads come first because the
 * device record and the trace's dispatch record hold them; they belong with
 * their functions in the support group at the end. */
/** @addtogroup support
 * @{ */

/** A doubly linked list of untyped pointers. It never owns its elements. */
typedef struct vantix_list_item {
    void *ptr;                     /**< The element. */
    struct vantix_list_item *next; /**< Next item, or null at the end. */
    struct vantix_list_item *prev; /**< Previous item, or null at the start. */
} vantix_list_item;

/** The list itself; items are owned by the list, elements are not. */
typedef struct vantix_list {
    vantix_list_item *first; /**< First item, or null when empty. */
    vantix_list_item *last;  /**< Last item, or null when empty. */
} vantix_list;

/** A manual-reset event: waiters block until it is triggered. */
typedef struct vantix_event {
    pthread_mutex_t mutex; /**< Guards `triggered`. */
    pthread_cond_t cond;   /**< Signalled by vantix_event_trigger. */
    uint8_t triggered;     /**< Non-zero once triggered, until reset. */
} vantix_event;

/** A plain (non-recursive) mutex. */
typedef struct vantix_mutex {
    pthread_mutex_t mutex; /**< The POSIX mutex. */
} vantix_mutex;

/** A joinable thread. */
typedef struct vantix_thread {
    pthread_t thread; /**< The POSIX thread; zero when it could not start. */
} vantix_thread;

/** @} */

/**
 * @defgroup lifecycle Lifecycle and listing
 * Start and stop the library, list the attached pads and hear about pads
 * being plugged in and out. vantix_init() comes first and vantix_destroy()
 * last; every call that can fail returns a vantix_error_code and leaves its
 * reason for vantix_get_last_error().
 * @{
 */

/** Result of the calls that can fail. */
typedef enum vantix_error_code {
    VANTIX_CODE_ERROR = 0,  /**< Failed; vantix_get_last_error() says why. */
    VANTIX_CODE_SUCCESS = 1 /**< Done. */
} vantix_error_code;

/**
 * The last error text (at most 1022 characters). One buffer for the whole
 * process, shared by every thread, and overwritten only by the next
 * failure: a call that succeeds leaves the previous text in place, so read
 * it only right after a call has failed.
 * @return the text, empty before the first failure; owned by the library,
 *         do not free it.
 */
VANTIX_EXPORT char *vantix_get_last_error(void);

/** One attached pad (see struct vantix_device). */
typedef struct vantix_device vantix_device;
/** A driver table (see struct vantix_device_driver). */
typedef struct vantix_device_driver vantix_device_driver;

/**
 * Starts the library: the log (VANTIX_DEBUG_* variables), the built-in
 * "REAL" driver, then driver_init of every registered table, marking each
 * `initialized` when it succeeds (on Linux the REAL driver starts the
 * hotplug thread). Call it first, from one thread. Calling it again runs
 * driver_init of every table again, which starts a table added since.
 */
VANTIX_EXPORT void vantix_init(void);
/**
 * Stops the library: driver_destroy of every initialised table, shutdown of
 * every table, then the log. It forgets the open-device list but closes no
 * pad: close pads and free device lists first.
 */
VANTIX_EXPORT void vantix_destroy(void);

/** The library's version, as text ("major.minor.release") and as its three numbers. @{ */
VANTIX_EXPORT const char *vantix_get_zelnar_version(void);
VANTIX_EXPORT unsigned int vantix_get_zelnar_version_major(void);
VANTIX_EXPORT unsigned int vantix_get_zelnar_version_minor(void);
VANTIX_EXPORT unsigned int vantix_get_zelnar_version_release(void);
/** @} */
/** UTC time of the build, as "YYYY-MM-DD HH:MM:SS+0000". */
VANTIX_EXPORT const char *vantix_get_zelnar_build_date(void);

/** Lists the attached pads of every started driver (those whose
 * driver_init succeeded), chaining their records through `next`.
 * @param start receives the first record, or null when no pad is attached;
 *              the chain is the caller's, released with
 *              vantix_free_device_list(). A null `start` frees the chain at
 *              once.
 * @return always VANTIX_CODE_SUCCESS: a driver that fails to list adds no
 *         records. */
VANTIX_EXPORT vantix_error_code vantix_list_devices(vantix_device **start);
/** Number of records in a chain.
 * @param list the first record, or null.
 * @return the number of records from `list` on (0 for null). */
VANTIX_EXPORT unsigned int vantix_count_device_list(vantix_device *list);
/** Frees every record of the chain, each through its driver's free_device.
 * Close open pads first; a read thread still ending is waited for.
 * @param list the first record from vantix_list_devices(), or null. */
VANTIX_EXPORT void vantix_free_device_list(vantix_device *list);

/** What happened to a pad. */
typedef enum vantix_hotplug_type {
    VANTIX_HOTPLUG_ATTACHED = 0, /**< A pad appeared. */
    VANTIX_HOTPLUG_DETACHED = 1  /**< A pad was removed. */
} vantix_hotplug_type;

/** Called on the hotplug thread when a pad appears or goes.
 * @param type whether the pad was attached or detached.
 * @param path the driver's name for the pad (as vantix_device.path); valid
 *             only during the call. */
typedef void (*vantix_hotplug_callback)(vantix_hotplug_type type, const char *path);

/**
 * Add or remove a hotplug callback (process-wide; called on the hotplug
 * thread). Hotplug callbacks may be registered and unregistered at any time
 * after vantix_init, also while the hotplug thread delivers an event; a
 * callback unregistered during a delivery may still be called for that
 * event. Registering a callback twice makes it called twice; unregistering
 * removes one registration. @{
 */
VANTIX_EXPORT void vantix_register_hotplug_callback(vantix_hotplug_callback callback);
VANTIX_EXPORT void vantix_unregister_hotplug_callback(vantix_hotplug_callback callback);
/** @} */

/**
 * Calls vantix_device_notify_close for every open record with this exact
 * path (a null path does nothing). Holds the open-device lock while it
 * looks, so it may be called from a hotplug callback while other threads
 * open and close pads. On Linux (and
 * macOS) that notification does nothing, so this has no visible effect: the
 * records stay open. An unplugged pad is noticed by its next read, which
 * fails and closes it; on VANTIX_HOTPLUG_DETACHED close the pad yourself.
 */
VANTIX_EXPORT void vantix_handle_device_unplug(const char *path);

/** @} */

/**
 * @defgroup opening Opening and identity
 * Open a listed pad, close it again, and read what it is: the device
 * record, its UUID, capabilities, serial number and status.
 * @{
 */

/** Display information (feature report 100), read when a pad is opened. */
typedef struct vantix_hid_feature_display_info {
    uint8_t report_id;          /**< 100, or 0 after a failed read. */
    uint16_t width;             /**< Display width in pixels. */
    uint16_t height;            /**< Display height in pixels. */
    uint8_t color_depth;        /**< Bits per pixel. */
    uint8_t text_width;         /**< Text width, as the pad reports it. */
    uint8_t text_height;        /**< Text height, as the pad reports it. */
    uint8_t region_count;       /**< Number of legacy regions (numbered 1 to region_count). */
    uint8_t max_caption_length; /**< Longest button caption the pad takes. */
} vantix_hid_feature_display_info;

/** Firmware version (feature report 22), read when a pad is opened. */
typedef struct vantix_hid_feature_version {
    uint8_t report_id;           /**< 22, or 0 after a failed read. */
    uint8_t kernel_version[3];   /**< Major, minor, release. */
    uint8_t firmware_version[3]; /**< Major, minor, release. */
    uint16_t asic_signature;     /**< The digitizer chip's signature. */
} vantix_hid_feature_version;

/** @} */

/* The legacy region records come before the device record, which caches
 * them; they belong with the region calls in the display group. */
/** @addtogroup display
 * @{ */

/** Legacy regions: a colour, declared alpha, blue, green, red (on the wire
 * red, green, blue, alpha). */
typedef struct vantix_color {
    /** Channels, 0 to 255. @{ */
    uint8_t alpha;
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    /** @} */
} vantix_color;

/** What a region is. */
typedef enum vantix_region_type {
    VANTIX_REGION_TYPE_CONTAINER = 0,
    VANTIX_REGION_TYPE_BUTTON = 1,
    VANTIX_REGION_TYPE_LINE = 2,
    VANTIX_REGION_TYPE_GRAPHIC = 3,
    VANTIX_REGION_TYPE_TEXT = 4,
    VANTIX_REGION_TYPE_NULL = 255
} vantix_region_type;

/** What every legacy region has (reports 110 to 112). */
typedef struct vantix_device_region_common {
    /** 1 to display_info.region_count. In a region array the region sits at
     * index region_number - 1: the index is not the number. */
    uint8_t region_number;
    vantix_region_type region_type; /**< Which member of vantix_device_region_info applies. */
    /** Flags, 0 or 1, as the pad keeps them: accepts touch, decodes pen input, visible, in use, framed. @{ */
    uint8_t accept_touch;
    uint8_t decode;
    uint8_t visible;
    uint8_t in_use;
    uint8_t has_frame;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint32_t reserved_2;
    /** @} */
    /** The region's box in display pixels. @{ */
    uint16_t x1;
    uint16_t x2;
    uint16_t y1;
    uint16_t y2;
    /** @} */
    vantix_color color_foreground; /**< Ink and text colour. */
    vantix_color color_background; /**< Fill colour. */
} vantix_device_region_common;

/** A container region: an area that may ink under the pen. */
typedef struct vantix_device_region_container {
    vantix_device_region_common region_info; /**< The common fields. */
    uint8_t ink_enable;                      /**< Non-zero: the pad inks pen strokes here. */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint16_t reserved_3;
    /** @} */
} vantix_device_region_container;

/** Captions hold at most 99 characters and their terminator, whatever
 * longer maximum a pad announces. */
#define VANTIX_REGION_CAPTION_SIZE 100

/** A button region; pen input on it becomes button events. */
typedef struct vantix_device_region_button {
    vantix_device_region_common region_info; /**< The common fields. */
    uint8_t parent;                          /**< Number of the region it belongs to, or 0. */
    /** Button flags, 0 or 1, as the pad keeps them: enabled, highlighted
     * when selected, clears when selected. @{ */
    uint8_t enable;
    uint8_t highlight_on_select;
    uint8_t clear_on_select;
    /** @} */
    uint16_t reserved;                        /**< Reserved. */
    char caption[VANTIX_REGION_CAPTION_SIZE]; /**< Terminated caption text. */
} vantix_device_region_button;

/** A line region (for example the signing line). */
typedef struct vantix_device_region_line {
    vantix_device_region_common region_info; /**< The common fields. */
    uint8_t parent;                          /**< Number of the region it belongs to, or 0. */
    uint8_t width;                           /**< Line width in pixels. */
    uint16_t reserved;                       /**< Reserved. */
} vantix_device_region_line;

/** One legacy region; common.region_type says which member applies. */
typedef union vantix_device_region_info {
    vantix_device_region_common common;       /**< Every type. */
    vantix_device_region_container container; /**< VANTIX_REGION_TYPE_CONTAINER. */
    vantix_device_region_button button;       /**< VANTIX_REGION_TYPE_BUTTON. */
    vantix_device_region_line line;           /**< VANTIX_REGION_TYPE_LINE. */
} vantix_device_region_info;

/** @} */

/** @addtogroup opening
 * @{ */

/** Platform state of an open pad (Linux: its hidraw node; macOS: the report
 * map and read thread only, `handle` is -1 and the IOKit state is the
 * driver's own). */
typedef struct vantix_device_os_params {
    int handle;                        /**< The open hidraw descriptor, or -1. */
    uint8_t interrupted;               /**< Set to make the next read close the pad. */
    pthread_t readUntilDoneThread;     /**< The read thread, while one runs. */
    unsigned char hid_report_map[255]; /**< Which report IDs the pad's descriptor declares. */
} vantix_device_os_params;

/** One attached pad, from listing until vantix_free_device_list. */
struct vantix_device {
    char *path;          /**< The driver's name for the pad ("/dev/hidraw3", "sim:0"). */
    uint16_t product_id; /**< USB product ID. */
    uint16_t vendor_id;  /**< USB vendor ID. */
    char *model;         /**< Product string, or null. */
    char *manufacturer;  /**< Manufacturer string, or null. */
    unsigned char *uuid; /**< 16 bytes while open (see vantix_get_device_uuid). */
    uint8_t open;        /**< Non-zero while open. */
    uint8_t button_down; /**< Non-zero while the pen is down on a button. */
    uint8_t last_button; /**< Number of the button the pen last came down on. */
    vantix_hid_feature_display_info display_info; /**< Read at open. */
    vantix_hid_feature_version version_info;      /**< Read at open. */
    /** The legacy regions, read at open and freed at close:
     * display_info.region_count records, region number n at index n - 1. */
    vantix_device_region_info *regions;
    vantix_list *input_callbacks; /**< Created at open, freed at close. */
    /** The application's own pointer. The library never reads or changes
     * it; an input callback can find its context here (the C++ layer keeps
     * its input handler in it). */
    void *user_defined;
    vantix_device *next;          /**< Next record of the list. */
    vantix_device_driver *driver; /**< The driver that listed it. */
    void *driver_defined;         /**< The driver's own state. */
    void *font; /**< A vantix_enhanced_font for drawing text; vantix_default from open on, replaceable. */
    vantix_device_os_params parameters; /**< Platform state of the open pad. */
};

/**
 * Opens a listed pad: waits for its start-up (up to ten seconds), reads
 * display information, version, regions and UUID into the record, assigns
 * the default font when it has none, and starts an empty input callback
 * list (register callbacks now). When one of those reads fails the pad is
 * closed again and the call fails. Failures: "Parameter passed into
 * vantix_open_device was null.", "Device is already open.", "Device has no
 * driver for this operation.", or the driver's text (Linux: "Problem opening
 * device (%i): %s").
 * @param device a record from vantix_list_devices().
 * @return VANTIX_CODE_SUCCESS when the pad is open and its record filled in.
 */
VANTIX_EXPORT vantix_error_code vantix_open_device(vantix_device *device);
/**
 * Closes a pad, stopping its read thread first (from one of its own input
 * callbacks the thread ends after the current report). Drops the input
 * callbacks, the regions and the UUID; the record stays listed and can be
 * opened again. Failures: "Parameter passed into vantix_close_device was
 * null.", "Device is already closed.", or the driver's text.
 * @param device an open pad.
 * @return VANTIX_CODE_SUCCESS when it was closed.
 */
VANTIX_EXPORT vantix_error_code vantix_close_device(vantix_device *device);

/** The pad's UUID: the MD5 digest of its error-correction table, read from
 * the pad anew on each call (device->uuid holds the one read at open).
 * @param device the pad.
 * @return 16 newly allocated bytes, released with vantix_free_device_uuid();
 *         null when the table cannot be read. */
VANTIX_EXPORT unsigned char *vantix_get_device_uuid(vantix_device *device);
/** Releases a UUID from vantix_get_device_uuid (null accepted). */
VANTIX_EXPORT void vantix_free_device_uuid(unsigned char *uuid);
/** Prints a UUID's 16 bytes to standard output, in the usual 8-4-4-4-12
 * hex form ("  NULL" for null). */
VANTIX_EXPORT void vantix_print_device_uuid(unsigned char *uuid);

/** Display kinds (vantix_hid_capabilities.display_id). */
typedef enum vantix_display_type {
    VANTIX_DISPLAY_TYPE_NONE = 0,
    VANTIX_DISPLAY_TYPE_240X64_1X5_BLACKWHITE = 1,
    VANTIX_DISPLAY_TYPE_240X64_1X5_GRAYSCALE = 2,
    VANTIX_DISPLAY_TYPE_RAW_MAX = 255 /**< any raw byte is a valid value */
} vantix_display_type;

/** Card reader kinds (vantix_hid_capabilities.mag_reader_id). */
typedef enum vantix_card_reader {
    VANTIX_CARDREADER_NONE = 0,
    VANTIX_CARDREADER_HID = 1,
    VANTIX_CARDREADER_KEYBOARD_BASIC = 2,
    VANTIX_CARDREADER_KEYBOARD_PREAMBLE = 3,
    VANTIX_CARDREADER_INTERCHANGEABLE = 131,
    VANTIX_MAG_CARDREADER_HID = 1,
    VANTIX_MAG_CARDREADER_KEYBOARD = 2,
    VANTIX_MAG_CARDREADER_CHANGEABLE = 128
} vantix_card_reader;

/** Bits of vantix_hid_capabilities.coordinate_modes. */
typedef enum vantix_coordinate_mode {
    VANTIX_MODE_STREAMING = 1,
    VANTIX_MODE_BUFFERING = 2,
    VANTIX_MODE_COMPRESSION = 4,
    VANTIX_MODE_THROTTLING = 8
} vantix_coordinate_mode;

/** Capabilities (feature report 11). */
typedef struct vantix_hid_capabilities {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint16_t supported_reports;
    uint8_t coordinate_modes;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved1;
    /** @} */
    /** The report's fields, in wire order. @{ */
    vantix_display_type display_id;
    uint8_t brightness_levels;
    uint8_t contrast_levels;
    uint8_t color_depth;
    uint16_t display_width;
    uint16_t display_height;
    uint16_t digitizer_width;
    uint16_t digitizer_height;
    uint16_t coordinate_xmin;
    uint16_t coordinate_xmax;
    uint16_t coordinate_ymin;
    uint16_t coordinate_ymax;
    uint16_t calibration_xmin;
    uint16_t calibration_xmax;
    uint16_t calibration_ymin;
    uint16_t calibration_ymax;
    /** @} */
    /** Reserved. @{ */
    uint32_t reserved_4;
    uint32_t reserved_5;
    /** @} */
    /** The report's fields, in wire order. @{ */
    vantix_card_reader mag_reader_id;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_6;
    uint16_t reserved_7;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t supports_screens_resources;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_9;
    /** @} */
    uint32_t reserved_10; /**< a 16-bit wire field, sign-extended */
    /** Reserved. @{ */
    uint32_t reserved_11;
    uint32_t reserved_12;
    uint32_t reserved_13;
    uint32_t reserved_14;
    /** @} */
} vantix_hid_capabilities;

/** Serial number (feature report 27). The key letters are never read back. */
typedef struct vantix_hid_feature_serial_number {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t serial_number[32];
    uint8_t write_key_1;
    uint8_t write_key_2;
    /** @} */
} vantix_hid_feature_serial_number;

/** Range of the pen coordinates (feature report 23). */
typedef struct vantix_hid_feature_coordinate_range {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint16_t x_min;
    uint16_t x_max;
    uint16_t y_min;
    uint16_t y_max;
    /** @} */
} vantix_hid_feature_coordinate_range;

/**
 * Readers of the identity reports, named after their records. A getter
 * returns the record; its _ref twin fills the caller's (a null record is
 * ignored and nothing is read). On failure the record is all zero
 * (report_id 0) and the last-error text says why ("No device given.", the
 * transport's text, or "Problem waiting for firmware interlock: ..." where
 * the report waits for one).
 * @return the record; all zero (report_id 0) on failure.
 * @{
 */
VANTIX_EXPORT vantix_hid_capabilities vantix_get_capabilities(vantix_device *device);
/** Reads the same record as vantix_get_capabilities() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_capabilities_ref(vantix_device *device, vantix_hid_capabilities *record);
VANTIX_EXPORT vantix_hid_feature_display_info vantix_get_display_info(vantix_device *device);
/** Reads the same record as vantix_get_display_info() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_display_info_ref(vantix_device *device,
                                               vantix_hid_feature_display_info *record);
VANTIX_EXPORT vantix_hid_feature_version vantix_get_version(vantix_device *device);
/** Reads the same record as vantix_get_version() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_version_ref(vantix_device *device, vantix_hid_feature_version *record);
VANTIX_EXPORT vantix_hid_feature_serial_number vantix_get_serial_number(vantix_device *device);
/** Reads the same record as vantix_get_serial_number() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_serial_number_ref(vantix_device *device,
                                                vantix_hid_feature_serial_number *record);
/** Writes the pad's serial number (feature report 27). It waits for the
 * region interlock, drops uncommitted region edits, sends the report in
 * command mode and then restores the run mode the pad was in.
 * @param device the pad.
 * @param serial_number the new number; at most 31 bytes are sent, the
 *        rest of the field is zero (null sends an empty number).
 * @param len number of bytes in serial_number.
 * @return VANTIX_CODE_ERROR when the interlock, the mode change or the
 *         transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_serial_number(vantix_device *device,
                                                         const unsigned char *serial_number,
                                                         unsigned int len);
VANTIX_EXPORT vantix_hid_feature_coordinate_range vantix_get_coordinate_range(vantix_device *device);
/** Reads the same record as vantix_get_coordinate_range() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_coordinate_range_ref(vantix_device *device,
                                                   vantix_hid_feature_coordinate_range *record);

/** @} */

/** Device status (feature report 13). report_id is 0 when the read failed. */
typedef struct vantix_hid_feature_device_status {
    uint8_t report_id; /**< 13, or 0 when the read failed. */
    /** State and lock flags, 0 or 1; a lock flag is set while the pad works
     * on commands of that group (see wait_for_interlock). @{ */
    uint8_t is_initializing;
    uint8_t is_idle;
    uint8_t calibration_required;
    uint8_t is_calibrating;
    uint8_t all_output_commands_locked;
    uint8_t operating_mode_commands_locked;
    uint8_t region_commands_locked;
    uint8_t screen_commands_locked;
    uint8_t display_commands_locked;
    uint8_t calibration_commands_locked;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved1;
    uint16_t reserved2;
    /** @} */
    uint16_t last_error; /**< The pad's last error code (vantix_clear_last_error clears it). */
    char error_info[64]; /**< not necessarily terminated */
} vantix_hid_feature_device_status;

/** Reads the same record as vantix_get_device_status() into the caller's.
 * @param device the pad.
 * @param status receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_device_status_ref(vantix_device *device,
                                                vantix_hid_feature_device_status *status);
/** Reads the device status (feature report 13).
 * @return the record; report_id is 0 when the read failed. */
VANTIX_EXPORT vantix_hid_feature_device_status vantix_get_device_status(vantix_device *device);

/** Prints a status record to standard output. */
VANTIX_EXPORT void vantix_print_device_status(vantix_hid_feature_device_status *status);

/** Clears the pad's own error state (not the library's last-error text)
 * by writing 0 to the status report.
 * @return VANTIX_CODE_ERROR when the write fails. */
VANTIX_EXPORT vantix_error_code vantix_clear_last_error(vantix_device *device);

/** @} */

/**
 * @defgroup input Input
 * Pen samples, button events and card swipes reach the application through
 * input callbacks registered on an open pad. vantix_device_read() reads once
 * on the calling thread; vantix_device_read_until_done() reads on a thread of
 * its own until the pad closes.
 * @{
 */

/** Report IDs. Feature and input reports share one numbering space. */
typedef enum vantix_report_id {
    VANTIX_FEATURE_RUNMODE = 10,
    VANTIX_FEATURE_CAPABILITIES = 11,
    VANTIX_FEATURE_DEVICE_STATUS = 13,
    VANTIX_FEATURE_DEVICECONFIGURE = 15,
    VANTIX_FEATURE_CONTACTCOUNTMAXIMUM = 16,
    VANTIX_FEATURE_FREQUENCYAMPLITUDE = 20,
    VANTIX_FEATURE_POWERSTATE = 21,
    VANTIX_FEATURE_VERSIONINFO = 22,
    VANTIX_FEATURE_COORDINATERANGE = 23,
    VANTIX_FEATURE_FIRMWAREDOWNLOAD = 25,
    VANTIX_FEATURE_ERRORCORRECTION = 26,
    VANTIX_FEATURE_SERIALNUMBER = 27,
    VANTIX_FEATURE_SAVECONFIGURATION = 28,
    VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS = 29,
    VANTIX_FEATURE_OPERATINGMODE = 40,
    VANTIX_FEATURE_GENERALPARAMETERS = 41,
    VANTIX_FEATURE_ASICRESET = 42,
    VANTIX_FEATURE_REGISTERGET = 43,
    VANTIX_FEATURE_REGISTERSET = 44,
    VANTIX_FEATURE_PENPARAMETERS = 50,
    VANTIX_FEATURE_TOUCHPARAMETERS = 60,
    VANTIX_FEATURE_OUTPUTCONFIGURATION = 91,
    VANTIX_FEATURE_PERIPHERAL_CONFIGURATION = 92,
    VANTIX_FEATURE_DISPLAYINFO = 100,
    VANTIX_FEATURE_DISPLAYCONTENT = 101,
    VANTIX_FEATURE_DISPLAYSETTINGS = 102,
    VANTIX_FEATURE_UPDATEDISPLAYCHUNK = 103,
    VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION = 104,
    VANTIX_FEATURE_PIXELS = 105,
    VANTIX_FEATURE_REGIONGET = 110,
    VANTIX_FEATURE_REGIONGETDEFAULT = 111,
    VANTIX_FEATURE_REGIONSET = 112,
    VANTIX_FEATURE_REGIONUPDATE = 113,
    VANTIX_FEATURE_REGIONDELETE = 114,
    VANTIX_FEATURE_REGIONEDITCOMPLETE = 115,
    VANTIX_FEATURE_CALIBRATE = 130,
    VANTIX_FEATURE_CALIBRATION_DATA = 131,
    VANTIX_FEATURE_RESOURCE_IDX = 140,
    VANTIX_FEATURE_RESOURCE_INFO = 141,
    VANTIX_FEATURE_RESOURCE = 142,
    VANTIX_FEATURE_DELETE_RESOURCE = 143,
    VANTIX_FEATURE_RESOURCE_AVAILABILITY = 144,
    VANTIX_FEATURE_REGION_IDX = 150,
    VANTIX_FEATURE_REGION = 152,
    VANTIX_FEATURE_DELETE_REGION = 153,
    VANTIX_FEATURE_SCREEN_IDX = 160,
    VANTIX_FEATURE_SCREEN = 162,
    VANTIX_FEATURE_DELETE_SCREEN = 163,
    VANTIX_FEATURE_MODIFY_SCREEN = 164,
    VANTIX_FEATURE_SCREEN_REGION_INFO = 170,
    VANTIX_FEATURE_ACTIVE_SCREEN = 171,
    VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD = 172,
    VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS = 230,
    VANTIX_FEATURE_ENGINEERING_TEST = 253,
    VANTIX_INPUT_COORDINATE = 1,
    VANTIX_INPUT_EXTENDEDCOORDINATE = 2,
    VANTIX_INPUT_ADCVALUES = 3,
    VANTIX_INPUT_MOUSECOORDINATE = 4,
    VANTIX_INPUT_DIGITIZERPENCOORDINATE = 5,
    VANTIX_INPUT_DIGITIZERTOUCHCOORDINATE = 6,
    VANTIX_INPUT_KEYBOARD = 7,
    VANTIX_INPUT_MULTITOUCHCOORDINATE = 8,
    VANTIX_INPUT_MAGCARDDATA = 12,
    VANTIX_INPUT_BUTTONDOWN = 250,
    VANTIX_INPUT_BUTTONMOVE = 251,
    VANTIX_INPUT_BUTTONUP = 252,
    VANTIX_INPUT_BUTTONPRESS = 253,
    VANTIX_INPUT_DEBUGCOORDINATE = 254
} vantix_report_id;

/** A decoded input report. */
typedef union vantix_input_report vantix_input_report;

/**
 * Called on the reading thread for every decoded input report. The report
 * and the raw bytes are valid only during the call. `type` is the report's
 * ID (report->type.report_id), including the synthesised button events: a
 * tap on a button gives VANTIX_INPUT_BUTTONDOWN, then VANTIX_INPUT_BUTTONPRESS
 * when the pen lifts on it (VANTIX_INPUT_BUTTONUP only when the pen leaves the
 * button while down). The callback may close its own pad; no callback is
 * called for that report afterwards.
 * @param device the pad the report came from (device->user_defined holds
 *               the application's context).
 * @param report the decoded report; report->type.report_id names the member
 *               that applies.
 * @param type the report's ID, a VANTIX_INPUT_* value of vantix_report_id.
 * @param buffer the raw report as the pad sent it, the ID in byte 0.
 * @param length number of bytes in buffer.
 */
typedef void (*vantix_input_callback)(vantix_device *device, vantix_input_report *report, uint8_t type,
                                      unsigned char *buffer, unsigned int length);

/**
 * Adds `callback` to an open pad's input callbacks. The list exists only
 * while the pad is open: on a pad that is not open (for example before
 * vantix_open_device) the call is silently ignored, and vantix_close_device
 * drops every callback. Register after every open. Each registration counts:
 * registering a callback twice makes it called twice per report. The list is
 * not locked: register from the thread that reads the pad, or before reading
 * starts.
 * @param device an open pad; null is ignored.
 * @param callback the function to call for every report.
 */
VANTIX_EXPORT void vantix_register_input_callback(vantix_device *device, vantix_input_callback callback);
/** Removes one registration of `callback`; nothing happens when it has none.
 * @param device the pad; null is ignored.
 * @param callback the function registered with
 *                 vantix_register_input_callback(). */
VANTIX_EXPORT void vantix_unregister_input_callback(vantix_device *device, vantix_input_callback callback);

/**
 * Waits up to a second for input and dispatches it to the pad's input
 * callbacks, on the calling thread (one report; on macOS every report queued
 * by then). When the second passes without input it still returns
 * VANTIX_CODE_SUCCESS, having dispatched nothing: a success does not mean a
 * report arrived. It fails for a pad that is not
 * open ("Device is not open.") and when the read fails ("Problem reading from
 * the device (%i): %s", typically an unplugged pad), which also closes the
 * pad. On macOS a pad receives input on the run loop of the thread that
 * reads it: a read from another thread moves the pad to that thread, and
 * reports not yet dispatched go with it. Read each pad from one thread at a
 * time.
 * @param device an open pad (null fails with "No device given.").
 * @return VANTIX_CODE_SUCCESS after a report or after a quiet second;
 *         VANTIX_CODE_ERROR when the pad is not open or the read failed.
 */
VANTIX_EXPORT vantix_error_code vantix_device_read(vantix_device *device);

/** Starts a thread that calls vantix_device_read until the pad closes or a
 * read fails; input callbacks then run on that thread. One per pad: a second
 * call while it runs does nothing. A callback that closed its own pad may
 * open it again and call this: a new thread reads while the old one ends.
 * A null device is ignored. */
VANTIX_EXPORT void vantix_device_read_until_done(vantix_device *device);
/**
 * Stops the read thread of vantix_device_read_until_done by closing the pad
 * (a full vantix_close_device: callbacks, regions and UUID are dropped) and
 * waits for the thread to end. To read again, open the pad and register its
 * callbacks again. Without a running read thread (or with a null device)
 * it does nothing and the pad stays open.
 */
VANTIX_EXPORT void vantix_device_read_done(vantix_device *device);

/** An input report ID (vantix_report_id). */
typedef uint8_t vantix_hid_input_type;

/** The pad's sample status; the decoder fills the common view. */
typedef union vantix_sample_info {
    /** The view the decoder fills. */
    struct {
        uint8_t down;        /**< Non-zero while the pen touches. */
        uint8_t reserved1;   /**< Reserved. */
        uint8_t data_source; /**< 0 or 16 */
        uint8_t reserved2;   /**< Reserved. */
    } common;
    /** The same bytes named for a pen. */
    struct {
        uint8_t tip_switch;  /**< Non-zero while the pen touches. */
        uint8_t reserved1;   /**< Reserved. */
        uint8_t data_source; /**< As in common. */
        uint8_t reserved2;   /**< Reserved. */
    } pen;
    /** The same bytes named for touch. */
    struct {
        uint8_t contact;     /**< Non-zero while touching. */
        uint8_t contact_id;  /**< Which contact. */
        uint8_t reserved1;   /**< Reserved. */
        uint8_t data_source; /**< Source of the sample. */
        uint8_t reserved2;   /**< Reserved. */
    } touch;
} vantix_sample_info;

/** A pen sample (input report 1). */
typedef struct vantix_hid_input_coordinate {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    vantix_sample_info sample_info;
    uint16_t x;
    uint16_t y;
    /** @} */
} vantix_hid_input_coordinate;

/** A pen sample with the region under the pen (input report 2); on a button region it becomes a button event
 * instead. */
typedef struct vantix_hid_input_extended_coordinate {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    vantix_sample_info sample_info;
    uint16_t x;
    uint16_t y;
    uint8_t region;
    /** @} */
} vantix_hid_input_extended_coordinate;

/** Which values an ADC input report carries. */
typedef enum vantix_adc_data_type {
    VANTIX_ADC_DATA_TYPE_SCAN = 2,
    VANTIX_ADC_DATA_TYPE_CHANNEL = 3,
    /** Records hold the pad's raw byte; this keeps every byte a valid value. */
    VANTIX_ADC_DATA_TYPE_RAW_MAX = 255
} vantix_adc_data_type;

/** Raw converter values (input report 3). */
typedef struct vantix_hid_input_adc_values {
    uint8_t report_id;              /**< VANTIX_INPUT_ADCVALUES. */
    vantix_adc_data_type data_type; /**< Which member of adc_data applies. */
    /** The values. */
    union {
        /** VANTIX_ADC_DATA_TYPE_SCAN: the sample and its scan limits. */
        struct {
            vantix_sample_info sample_info; /**< Pen state. */
            /** Scan limits. @{ */
            uint16_t x_max;
            uint16_t x_min;
            uint16_t y_max;
            uint16_t y_min;
            /** @} */
        } scan_values;
        /** VANTIX_ADC_DATA_TYPE_CHANNEL: four samples of one channel. */
        struct {
            uint8_t channel_number; /**< The channel. */
            /** The samples. @{ */
            uint16_t sample1;
            uint16_t sample2;
            uint16_t sample3;
            uint16_t sample4;
            /** @} */
        } channel_values;
    } adc_data;
} vantix_hid_input_adc_values;

/** Card formats. */
typedef enum vantix_cardswipe_type {
    VANTIX_CARDSWIPE_TYPE_FINANCIAL = 1,
    VANTIX_CARDSWIPE_TYPE_IDENTIFICATION = 2,
    VANTIX_CARDSWIPE_TYPE_UNKNOWN = 255
} vantix_cardswipe_type;

/** Status of one card track. */
typedef enum vantix_cardswipe_track_status {
    VANTIX_CARDSWIPE_STATUS_VALID = 0,
    VANTIX_CARDSWIPE_STATUS_PARITY_ERROR = 1,
    VANTIX_CARDSWIPE_STATUS_UNKNOWN_FORMAT = 16,
    VANTIX_CARDSWIPE_STATUS_CORRUPT = 17,
    VANTIX_CARDSWIPE_STATUS_RAW_MAX = 255 /**< any raw byte is a valid value */
} vantix_cardswipe_track_status;

/** Track bytes are copied as the pad sent them: not interpreted, not
 * terminated. */
typedef struct vantix_hid_input_card_swipe {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    vantix_cardswipe_type card_format;
    vantix_cardswipe_track_status track1_status;
    vantix_cardswipe_track_status track2_status;
    vantix_cardswipe_track_status track3_status;
    uint8_t track1[79];
    uint8_t track2[40];
    uint8_t track3[107];
    /** @} */
} vantix_hid_input_card_swipe;

/** A pen sample with its intermediate values (input report 254). */
typedef struct vantix_hid_input_debug_coordinate {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    vantix_sample_info sample_info;
    uint16_t offset;
    uint16_t x_max;
    uint16_t x_min;
    uint16_t y_max;
    uint16_t y_min;
    uint16_t x_errcor;
    uint16_t y_errcor;
    uint16_t x_mapped;
    uint16_t y_mapped;
    uint8_t region;
    /** @} */
} vantix_hid_input_debug_coordinate;

/** Button events synthesised from extended coordinates on button regions.
 * `region` points into the pad's cached region list. */
typedef struct vantix_hid_input_button {
    uint8_t report_id; /**< VANTIX_INPUT_BUTTONDOWN, _BUTTONMOVE, _BUTTONUP or _BUTTONPRESS. */
    uint16_t x;        /**< Pen position, digitizer units. */
    uint16_t y;        /**< Pen position, digitizer units. */
    /** The button in device->regions (null for a BUTTONUP after the cache
     * was dropped); valid while the pad stays open. */
    vantix_device_region_info *region;
} vantix_hid_input_button;
/** The button events, one name each. @{ */
typedef vantix_hid_input_button vantix_hid_input_button_down;
typedef vantix_hid_input_button vantix_hid_input_button_move;
typedef vantix_hid_input_button vantix_hid_input_button_up;
typedef vantix_hid_input_button vantix_hid_input_button_press;
/** @} */

/** A decoded input report: type.report_id says which member applies. */
union vantix_input_report {
    /** The report ID every member starts with. */
    struct {
        vantix_hid_input_type report_id; /**< A vantix_report_id input value. */
    } type;
    vantix_hid_input_coordinate coordinate; /**< VANTIX_INPUT_COORDINATE. */
    vantix_hid_input_extended_coordinate
        extended_coordinate;                /**< VANTIX_INPUT_EXTENDEDCOORDINATE (not on a button). */
    vantix_hid_input_adc_values adc_values; /**< VANTIX_INPUT_ADCVALUES. */
    vantix_hid_input_card_swipe card_swipe; /**< VANTIX_INPUT_MAGCARDDATA. */
    vantix_hid_input_debug_coordinate debug_coordinate; /**< VANTIX_INPUT_DEBUGCOORDINATE. */
    vantix_hid_input_button_down button_down; /**< VANTIX_INPUT_BUTTONDOWN: the pen came down on a button. */
    vantix_hid_input_button_move button_move; /**< VANTIX_INPUT_BUTTONMOVE: it moves on it, still down. */
    vantix_hid_input_button_up button_up;     /**< VANTIX_INPUT_BUTTONUP: it left the button while down. */
    vantix_hid_input_button_press button_press; /**< VANTIX_INPUT_BUTTONPRESS: it lifted on the button. */
};

/** Decodes one raw input report into a new record. With a device, extended
 * coordinates on button regions become button events and update the pad's
 * button state; with a null device they stay plain coordinates.
 * @param device the open pad the report came from, or null.
 * @param buffer the raw report, its ID in byte 0.
 * @param length number of bytes in buffer.
 * @return a new record, released with vantix_free_input_report(); null for
 *         a null or empty buffer ("Buffer passed into
 *         vantix_parse_input_report was null or empty."), an unknown report
 *         ID ("Unknown input report in buffer."), a report shorter than its
 *         layout, or no memory. */
VANTIX_EXPORT vantix_input_report *vantix_parse_input_report(vantix_device *device,
                                                             const unsigned char *buffer,
                                                             unsigned int length);
/** Releases a record from vantix_parse_input_report (null accepted). */
VANTIX_EXPORT void vantix_free_input_report(vantix_input_report *report);

/** @} */

/**
 * @defgroup display Display and regions
 * The pad's display settings and its legacy regions: numbered areas
 * (containers, buttons, lines) the pad draws and decodes pen input in. The
 * region records (vantix_device_region_info and its members) stand in the
 * header before the device record, which caches them (device->regions).
 * @{
 */

/** Display settings (feature report 102). */
typedef struct vantix_hid_feature_display_settings {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t brightness;
    uint8_t contrast;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t set_command;
    /** @} */
} vantix_hid_feature_display_settings;

/** Reads the display settings (feature report 102).
 * @return the record; all zero (report_id 0) when the read failed. */
VANTIX_EXPORT vantix_hid_feature_display_settings vantix_get_display_settings(vantix_device *device);
/** Reads the same record as vantix_get_display_settings() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_display_settings_ref(vantix_device *device,
                                                   vantix_hid_feature_display_settings *record);
/** Writes the display settings (feature report 102).
 * @param device the pad.
 * @param settings the settings to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_display_settings(vantix_device *device,
                                                            vantix_hid_feature_display_settings settings);

/** Ending legacy region edits (vantix_set_region_commit). */
typedef enum vantix_region_save_changes {
    VANTIX_REGION_DISCARD_CHANGES = 0,
    VANTIX_REGION_SAVE_CHANGES = 1
} vantix_region_save_changes;

/** Caller-filled record for report 113 (update region). */
typedef struct vantix_hid_feature_region_update {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t region_number;
    uint8_t function_enable;
    uint8_t visible;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved1;
    /** @} */
    /** The report's fields, in wire order. @{ */
    vantix_color color_foreground;
    /** @} */
    /** Reserved. @{ */
    uint32_t reserved2;
    /** @} */
} vantix_hid_feature_region_update;

/** Decodes the records of a region list report (110 or 111); nothing
 * happens when buffer or regions is null.
 * @param buffer the whole report, its ID in byte 0:
 *               region_count * (caption_length + 29) + 1 bytes.
 * @param regions region_count zero-filled records to decode into.
 * @param region_count number of records in the report.
 * @param caption_length the pad's maximum caption length
 *                       (display_info.max_caption_length). */
VANTIX_EXPORT void vantix_parse_regions(const unsigned char *buffer, vantix_device_region_info *regions,
                                        unsigned int region_count, unsigned int caption_length);
/** Read the current or the factory default region list (reports 110 and
 * 111), waiting for the region interlock first. The array holds
 * display_info.region_count records; region number n is at index n - 1
 * (the index is not the region_number).
 * @param device an open pad (its display_info gives the count).
 * @return a new array, released with vantix_free_regions(); null on failure
 *         ("No device given.", out of memory, or the transfer's text). @{ */
VANTIX_EXPORT vantix_device_region_info *vantix_get_regions(vantix_device *device);
VANTIX_EXPORT vantix_device_region_info *vantix_get_default_regions(vantix_device *device);
/** @} */
/** Writes one legacy region (number region.common.region_number) and
 * updates the pad's cached copy at index number - 1. Refuses numbers outside
 * 1 to display_info.region_count ("Region number was out of bounds, min: 1,
 * max: %u, specified: %u"). Waits for the region interlock first.
 * @param device an open pad.
 * @param region the region to write; its common.region_number says which.
 * @return VANTIX_CODE_ERROR when the number is refused, the interlock wait
 *         times out or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_region(vantix_device *device, vantix_device_region_info region);
/** Deletes a legacy region (report 114) after waiting for the region
 * interlock.
 * @param device an open pad.
 * @param region its number, 1 to display_info.region_count (else "Region
 *               number out of bounds.").
 * @return VANTIX_CODE_ERROR when the number is refused, the interlock wait
 *         times out or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_delete_region(vantix_device *device, uint8_t region);
/** Changes an existing legacy region's flags and colour (report 113),
 * without waiting for an interlock; the device's cached regions are not
 * changed.
 * @param device an open pad.
 * @param region the caller's record; its region_number must be 1 to
 *               display_info.region_count (null or another number: "Region
 *               number out of bounds.").
 * @return VANTIX_CODE_ERROR when refused or when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_update_region(vantix_device *device,
                                                     vantix_hid_feature_region_update *region);
/** Prints regions to standard output.
 * @param regions an array from vantix_get_regions() or device->regions.
 * @param count number of records to print (display_info.region_count). */
VANTIX_EXPORT void vantix_print_regions(vantix_device_region_info *regions, unsigned int count);

/** Ends a series of legacy region edits (report 115): saves or discards
 * them. Sent at once, even while the pad holds the region interlock.
 * @param device the pad.
 * @param commit VANTIX_REGION_SAVE_CHANGES or VANTIX_REGION_DISCARD_CHANGES.
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_region_commit(vantix_device *device,
                                                         vantix_region_save_changes commit);

/** Releases a region array handed out by the library (null is accepted). */
VANTIX_EXPORT void vantix_free_regions(vantix_device_region_info *regions);

/** @} */

/**
 * @defgroup store Region, screen and resource store
 * Pads that support screens and resources keep numbered regions, resources
 * and screens. An index report selects what the next read of a record
 * returns; the pad moves its region and screen index on after each read.
 * Changes stay pending until vantix_set_screen_region_commit().
 * @{
 */

/** Ending store edits (vantix_set_screen_region_commit). */
typedef enum vantix_screen_region_save_changes {
    VANTIX_SCREEN_REGION_DISCARD_CHANGES = 0,
    VANTIX_SCREEN_REGION_SAVE_CHANGES = 1,
    VANTIX_SCREEN_REGION_FACTORY_DEFAULTS = 90
} vantix_screen_region_save_changes;

/** Placement of a resource in its region (four bits on the wire). */
typedef enum vantix_resource_justification {
    VANTIX_JUSTIFICATION_LEFT = 0,
    VANTIX_JUSTIFICATION_TOP = 0,
    VANTIX_JUSTIFICATION_RIGHT = 1,
    VANTIX_JUSTIFICATION_BOTTOM = 1,
    VANTIX_JUSTIFICATION_CENTER = 8 /**< the wire's four bits hold any value up to 15 */
} vantix_resource_justification;

/** What a resource holds. */
typedef enum vantix_resource_type {
    VANTIX_RESOURCE_TYPE_TEXT = 0,
    VANTIX_RESOURCE_TYPE_GRAPHIC = 1,
    VANTIX_RESOURCE_TYPE_INVALID = 255
} vantix_resource_type;

/** What every store region has (report 152). report_id is 152 after a
 * successful read and 0 after a failed one. */
typedef struct vantix_hid_feature_region_common {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t region_index;
    vantix_region_type region_type;
    uint8_t accepts_touch;
    uint8_t decode_region;
    uint8_t has_frame;
    uint8_t output_to_host;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    uint8_t reserved_9;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint16_t x1;
    uint16_t x2;
    uint16_t y1;
    uint16_t y2;
    vantix_color foreground_color;
    vantix_color background_color;
    /** @} */
} vantix_hid_feature_region_common;

/** A store container region. */
typedef struct vantix_hid_feature_region_container {
    vantix_hid_feature_region_common common; /**< The common fields. */
    /** The report's fields, in wire order. @{ */
    uint8_t ink_enabled;
    uint8_t ink_width;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    /** @} */
} vantix_hid_feature_region_container;

/** With use_resource set the button shows the two resources instead of its
 * caption. A caption read from the pad is always terminated within the
 * field; a written one is sent up to its terminator and never beyond the
 * pad's maximum caption length. */
typedef struct vantix_hid_feature_region_button {
    vantix_hid_feature_region_common common; /**< The common fields. */
    /** The report's fields, in wire order. @{ */
    uint8_t enabled;
    uint8_t highlight_on_select;
    uint8_t clear_on_select;
    uint8_t confirm_on_select;
    uint8_t use_resource;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t resource_number_normal;
    uint8_t resource_number_selected;
    char caption[VANTIX_REGION_CAPTION_SIZE];
    /** @} */
} vantix_hid_feature_region_button;

/** A store line region. */
typedef struct vantix_hid_feature_region_line {
    vantix_hid_feature_region_common common; /**< The common fields. */
    /** Reserved. @{ */
    uint8_t reserved_1;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t line_width;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_2;
    uint8_t reserved_3;
    /** @} */
} vantix_hid_feature_region_line;

/** A store graphic region: shows a graphic resource. */
typedef struct vantix_hid_feature_region_graphic {
    vantix_hid_feature_region_common common; /**< The common fields. */
    /** Reserved. @{ */
    uint8_t reserved_1;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t graphic_number;
    vantix_resource_justification horizontal_justification;
    vantix_resource_justification vertical_justification;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_2;
    /** @} */
} vantix_hid_feature_region_graphic;

/** A store text region: shows a text resource in one of the pad's fonts. */
typedef struct vantix_hid_feature_region_text {
    vantix_hid_feature_region_common common; /**< The common fields. */
    /** Reserved. @{ */
    uint8_t reserved_1;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t resource_number;
    uint8_t font_number;
    vantix_resource_justification horizontal_justification;
    vantix_resource_justification vertical_justification;
    /** @} */
} vantix_hid_feature_region_text;

/** One store region; common.region_type says which member applies. A region
 * of another type is read with its common fields only. */
typedef union vantix_hid_feature_region {
    vantix_hid_feature_region_common common;       /**< Every type. */
    vantix_hid_feature_region_container container; /**< VANTIX_REGION_TYPE_CONTAINER. */
    vantix_hid_feature_region_button button;       /**< VANTIX_REGION_TYPE_BUTTON. */
    vantix_hid_feature_region_line line;           /**< VANTIX_REGION_TYPE_LINE. */
    vantix_hid_feature_region_graphic graphic;     /**< VANTIX_REGION_TYPE_GRAPHIC. */
    vantix_hid_feature_region_text text;           /**< VANTIX_REGION_TYPE_TEXT. */
} vantix_hid_feature_region;

/** Resource information (report 141): the resource the resource index
 * selects. */
typedef struct vantix_hid_feature_resource_info {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t resource_number;
    vantix_resource_type resource_type;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint32_t resource_size;
    uint32_t resource_crc;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    uint8_t reserved_9;
    /** @} */
} vantix_hid_feature_resource_info;

/** Data bytes one resource piece carries at most. */
#define VANTIX_RESOURCE_DATA_SIZE 1024

/** One piece of a resource (report 142), at most 1024 data bytes. A read
 * never reports more bytes_valid than resource_data holds; a write sends
 * the whole data area and the caller's bytes_valid, resource_size and
 * resource_crc unchanged. */
typedef struct vantix_hid_feature_resource {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t resource_number;
    vantix_resource_type resource_type;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint32_t resource_size;
    uint32_t resource_crc;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint16_t bytes_valid;
    uint8_t resource_data[VANTIX_RESOURCE_DATA_SIZE];
    /** @} */
} vantix_hid_feature_resource;

/** Free resource slots and space (report 144); each reserved field holds one
 * wire byte. */
typedef struct vantix_hid_feature_resource_availability {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t number_available;
    uint32_t space_available;
    /** @} */
    /** Reserved. @{ */
    uint32_t reserved_1;
    uint32_t reserved_2;
    uint32_t reserved_3;
    uint32_t reserved_4;
    uint32_t reserved_5;
    uint32_t reserved_6;
    uint32_t reserved_7;
    uint32_t reserved_8;
    uint32_t reserved_9;
    uint32_t reserved_10;
    uint32_t reserved_11;
    uint32_t reserved_12;
    /** @} */
} vantix_hid_feature_resource_availability;

/** Room in a screen record's lists. */
#define VANTIX_SCREEN_REGION_LIST_SIZE 100
/** Entries a screen report carries. */
#define VANTIX_SCREEN_WIRE_REGION_COUNT 30

/** A screen (report 162): its regions and, entry for entry, the screen each
 * one switches to when pressed. Only the first 30 entries travel: a write
 * sends 30 entries whatever region_count says, and a read holds at most 30,
 * with region_count cut to 30 when the pad claims more. */
typedef struct vantix_hid_feature_screen {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t screen_number;
    uint8_t reset_timeout_on_activity;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    uint8_t reserved_9;
    uint8_t reserved_10;
    uint8_t reserved_11;
    uint8_t reserved_12;
    uint8_t reserved_13;
    uint8_t reserved_14;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t timeout;
    uint8_t timeout_screen_next;
    uint8_t region_count;
    uint8_t region_list[VANTIX_SCREEN_REGION_LIST_SIZE];
    uint8_t screen_next_list[VANTIX_SCREEN_REGION_LIST_SIZE];
    /** @} */
} vantix_hid_feature_screen;

/** One change to a stored screen (report 164). */
typedef struct vantix_hid_feature_edit_screen {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t region_add;
    uint8_t region_delete;
    uint8_t timeout_set;
    uint8_t screen_index;
    uint8_t region_index;
    uint8_t region_screen_next;
    uint8_t timeout;
    uint8_t timeout_screen_next;
    /** @} */
} vantix_hid_feature_edit_screen;

/** How large the pad's store is (report 170). */
typedef struct vantix_hid_feature_screen_region_info {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t screen_count;
    uint8_t region_count;
    uint8_t regions_per_screen;
    uint8_t resource_count;
    uint8_t caption_length;
    uint8_t text_region_length;
    uint8_t text_width;
    uint8_t text_height;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    uint8_t reserved_9;
    uint8_t reserved_10;
    uint8_t reserved_11;
    uint8_t reserved_12;
    uint8_t reserved_13;
    uint8_t reserved_14;
    uint8_t reserved_15;
    uint8_t reserved_16;
    /** @} */
} vantix_hid_feature_screen_region_info;

/** Reads the region index (report 150): the store region the next
 * vantix_get_region() returns.
 * @return the index, 0 to 255, or -1 on failure. */
VANTIX_EXPORT int vantix_get_region_idx(vantix_device *device);
/** Selects the store region the next vantix_get_region() returns
 * (report 150).
 * @param device the pad.
 * @param region_index the region's number.
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_region_idx(vantix_device *device, uint8_t region_index);
/** Reads the region the region index selects (report 152), after waiting
 * for the region interlock; the pad then moves the index on.
 * @return the region; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_region vantix_get_region(vantix_device *device);
/** Reads the same record as vantix_get_region() into the caller's.
 * @param device the pad.
 * @param region receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_region_ref(vantix_device *device, vantix_hid_feature_region *region);
/** Writes one store region (report 152) after waiting for the region
 * interlock; afterwards the device's cached legacy list is read anew (null
 * if that read fails), so button events delivered before point into the
 * old list.
 * @param device an open pad.
 * @param region the region to write; common.region_index says which.
 * @return VANTIX_CODE_ERROR for a null device or region ("No record
 *         given.") or when the interlock wait or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_region_contents(vantix_device *device,
                                                           vantix_hid_feature_region *region);
/** Deletes a store region (report 153) after waiting for the region and
 * screen interlocks.
 * @param device an open pad.
 * @param region its number, 1 to display_info.region_count (else "Region
 *               number out of bounds.").
 * @return VANTIX_CODE_ERROR when refused or when the wait or the transfer
 *         fails. */
VANTIX_EXPORT vantix_error_code vantix_delete_device_region(vantix_device *device, uint8_t region);

/** Reads the resource index (report 140): the resource the next
 * vantix_get_resource_info() and vantix_get_resource() describe.
 * @return the index, 0 to 255, or -1 on failure. */
VANTIX_EXPORT int vantix_get_resource_idx(vantix_device *device);
/** Selects a resource (report 140).
 * @param device the pad.
 * @param idx the resource's number.
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_resource_idx(vantix_device *device, uint8_t idx);
/** Reads the information on the selected resource (report 141).
 * @return the record; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_resource_info vantix_get_resource_info(vantix_device *device);
/** Reads the same record as vantix_get_resource_info() into the caller's.
 * @param device the pad.
 * @param info receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_resource_info_ref(vantix_device *device,
                                                vantix_hid_feature_resource_info *info);
/** Reads one piece of the selected resource (report 142).
 * @return the piece; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_resource vantix_get_resource(vantix_device *device);
/** Reads the same record as vantix_get_resource() into the caller's.
 * @param device the pad.
 * @param resource receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_resource_ref(vantix_device *device, vantix_hid_feature_resource *resource);
/** Sends one piece of a resource (report 142) after waiting for the region
 * and screen interlocks; a longer resource is sent piece by piece by the
 * caller.
 * @param device the pad.
 * @param resource the piece; its size and CRC fields are sent unchanged.
 * @return VANTIX_CODE_ERROR for a null device or piece or when the wait or
 *         the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_resource(vantix_device *device,
                                                    vantix_hid_feature_resource *resource);
/** Deletes a resource (report 143) after waiting for the region and screen
 * interlocks.
 * @param device the pad.
 * @param resource_index the resource's number.
 * @return VANTIX_CODE_ERROR when the wait or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_delete_resource(vantix_device *device, uint8_t resource_index);
/** Reads the free resource slots and space (report 144).
 * @return the record; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_resource_availability
vantix_get_resource_availability(vantix_device *device);
/** Reads the same record as vantix_get_resource_availability() into the caller's.
 * @param device the pad.
 * @param info receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_resource_availability_ref(vantix_device *device,
                                                        vantix_hid_feature_resource_availability *info);

/** Reads the screen index (report 160): the screen the next
 * vantix_get_screen() returns.
 * @return the index, 0 to 255, or -1 on failure. */
VANTIX_EXPORT int vantix_get_screen_idx(vantix_device *device);
/** Selects the screen the next vantix_get_screen() returns (report 160).
 * @param device the pad.
 * @param screen_index the screen's number.
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_screen_idx(vantix_device *device, uint8_t screen_index);
/** Reads the screen the screen index selects (report 162), after waiting
 * for the screen interlock; the pad then moves the index on.
 * @return the screen; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_screen vantix_get_screen(vantix_device *device);
/** Reads the same record as vantix_get_screen() into the caller's.
 * @param device the pad.
 * @param screen receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_screen_ref(vantix_device *device, vantix_hid_feature_screen *screen);
/** Writes a screen (report 162) after waiting for the screen interlock.
 * @param device the pad.
 * @param screen the screen; screen_number says which, and the first 30
 *               entries of its lists are sent.
 * @return VANTIX_CODE_ERROR for a null device or screen or when the wait
 *         or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_screen(vantix_device *device, vantix_hid_feature_screen *screen);
/** Deletes a screen (report 163) after waiting for the screen interlock.
 * @param device the pad.
 * @param screen_index the screen's number.
 * @return VANTIX_CODE_ERROR when the wait or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_delete_screen(vantix_device *device, uint8_t screen_index);
/** Changes a stored screen (report 164) after waiting for the screen
 * interlock.
 * @param device the pad.
 * @param screen_edit the change.
 * @return VANTIX_CODE_ERROR for a null device or record or when the wait
 *         or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_edit_screen(vantix_device *device,
                                                       vantix_hid_feature_edit_screen *screen_edit);
/** Reads how large the pad's store is (report 170).
 * @return the record; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_screen_region_info vantix_get_screen_region_info(vantix_device *device);
/** Reads the same record as vantix_get_screen_region_info() into the caller's.
 * @param device the pad.
 * @param info receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_screen_region_info_ref(vantix_device *device,
                                                     vantix_hid_feature_screen_region_info *info);
/** Reads the number of the screen on display (report 171), after waiting
 * for the screen interlock.
 * @return the screen's number, 0 to 255, or -1 on failure. */
VANTIX_EXPORT int vantix_get_active_screen(vantix_device *device);
/** Shows a stored screen (report 171) after waiting for the screen
 * interlock; setting the active screen again redraws it.
 * @param device the pad.
 * @param screen_index the screen's number.
 * @return VANTIX_CODE_ERROR when the wait or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_active_screen(vantix_device *device, uint8_t screen_index);

/** Reads every region of the store, as many as the store information's
 * region_count, from region index 1 on.
 * @param device the pad.
 * @return a new array, released with vantix_free_device_regions() (a
 *         non-null empty array when the store has no regions); null when a
 *         read fails. */
VANTIX_EXPORT vantix_hid_feature_region *vantix_get_device_regions(vantix_device *device);
/** Releases an array from vantix_get_device_regions (null accepted). */
VANTIX_EXPORT void vantix_free_device_regions(vantix_hid_feature_region *regions);
/** Prints store regions to standard output ("  NULL" for a null array).
 * @param regions an array from vantix_get_device_regions().
 * @param count number of records to print. */
VANTIX_EXPORT void vantix_print_device_regions(vantix_hid_feature_region *regions, unsigned int count);
/** Edits a screen record in memory, sending nothing: sets the next screen
 * of `region` if the screen lists it, else appends it.
 * @param screen the caller's record (null: "No screen given.").
 * @param region the region's number, 0 to 255.
 * @param next the screen a press on the region switches to, 0 to 255.
 * @return VANTIX_CODE_ERROR for a null record, a number out of range, or a
 *         full list (100 entries). */
VANTIX_EXPORT vantix_error_code vantix_add_region_to_screen(vantix_hid_feature_screen *screen, int region,
                                                            int next);
/** Blanks the display: re-activates the active screen, or on pads without
 * one shows and hides a full-screen container in the last legacy region.
 * @param device an open pad.
 * @return VANTIX_CODE_ERROR for a null device, or on a pad without a store
 *         when its record has no regions or display information. */
VANTIX_EXPORT vantix_error_code vantix_clear_screen(vantix_device *device);
/** Drops pending store changes (and reads the cached legacy list anew), or
 * on pads without a store writes back every legacy region (from number 2)
 * that differs from the factory list.
 * @param device an open pad.
 * @return VANTIX_CODE_ERROR for a null device or when a wait, read or write
 *         fails. */
VANTIX_EXPORT vantix_error_code vantix_restore_default_regions(vantix_device *device);

/** Ends a series of store edits (report 172): saves them, discards them or
 * restores the factory contents. Waits for the region and screen
 * interlocks before and after.
 * @param device the pad.
 * @param commit what to do with the pending changes.
 * @return VANTIX_CODE_ERROR when a wait or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_screen_region_commit(vantix_device *device,
                                                                vantix_screen_region_save_changes commit);

/** @} */

/**
 * @defgroup configuration Configuration
 * The feature reports that configure a pad: device configuration and
 * modes, acquisition and tuning parameters, output, peripheral and
 * calibration settings, and the ready-made signing presets.
 * @{
 */

/** Run modes (feature report 10). */
typedef enum vantix_device_run_mode {
    VANTIX_RUNMODE_COMMAND = 0,
    VANTIX_RUNMODE_TOUCH = 1,
    VANTIX_RUNMODE_PEN = 2,
    VANTIX_RUNMODE_AUTOTOUCH = 4,
    VANTIX_RUNMODE_TOUCHSINGLE = 8,
    VANTIX_RUNMODE_TOUCHSTREAM = 10,
    VANTIX_RUNMODE_PENSINGLE = 16,
    VANTIX_RUNMODE_PENSTREAM = 18,
    VANTIX_RUNMODE_PENCONTINUOUS = 20
} vantix_device_run_mode;

/** Acquisition modes, also the start-up mode (vantix_set_startup_mode). */
typedef enum vantix_device_acquisition_mode {
    VANTIX_ACQMODE_TOUCH = 0,
    VANTIX_ACQMODE_PEN = 1,
    VANTIX_ACQMODE_AUTOTOUCH = 2,
    VANTIX_ACQMODE_COMMAND = 3
} vantix_device_acquisition_mode;

/** Device configuration (feature report 15). */
typedef struct vantix_hid_feature_device_configure {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t device_mode;
    uint8_t device_id;
    /** @} */
} vantix_hid_feature_device_configure;

/** Most simultaneous contacts (feature report 16). */
typedef struct vantix_hid_feature_contact_count_maximum {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t contact_count_max;
    /** @} */
} vantix_hid_feature_contact_count_maximum;

/** Operating modes (feature report 40). */
typedef struct vantix_hid_feature_operating_modes {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t supported_modes;
    /** @} */
    uint8_t reserved; /**< always 0: the wire has no such byte */
    /** The report's fields, in wire order. @{ */
    uint8_t acquisition_mode;
    uint8_t touch_mode;
    uint8_t pen_mode;
    /** @} */
} vantix_hid_feature_operating_modes;

/**
 * Readers and writers of the configuration reports, named after their
 * records. A getter returns the record; its _ref twin fills the caller's.
 * On failure the record is all zero (report_id 0) and the last-error text
 * says why. Setters send the record and return VANTIX_CODE_ERROR on
 * failure.
 * @return the record; all zero (report_id 0) on failure.
 * @{
 */
VANTIX_EXPORT vantix_hid_feature_device_configure vantix_get_device_configure(vantix_device *device);
/** Reads the same record as vantix_get_device_configure() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_device_configure_ref(vantix_device *device,
                                                   vantix_hid_feature_device_configure *record);
/** Writes the device configuration (feature report 15).
 * @param device the pad.
 * @param configure the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_device_configure(vantix_device *device,
                                                            vantix_hid_feature_device_configure configure);
VANTIX_EXPORT vantix_hid_feature_contact_count_maximum
vantix_get_contact_count_maximum(vantix_device *device);
/** Reads the same record as vantix_get_contact_count_maximum() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_contact_count_maximum_ref(vantix_device *device,
                                                        vantix_hid_feature_contact_count_maximum *record);
VANTIX_EXPORT vantix_hid_feature_operating_modes vantix_get_operating_modes(vantix_device *device);
/** Reads the same record as vantix_get_operating_modes() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_operating_modes_ref(vantix_device *device,
                                                  vantix_hid_feature_operating_modes *record);
/** @} */

/** Switches the pad's run mode (feature report 10), waiting for its report
 * buffer interlock before and after.
 * @param device the pad.
 * @param run_mode the mode; VANTIX_RUNMODE_COMMAND stops pen input.
 * @return VANTIX_CODE_ERROR when a wait times out or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_run_mode(vantix_device *device, vantix_device_run_mode run_mode);
/** Saves the acquisition mode the pad starts in (feature report 28).
 * @param device the pad.
 * @param mode the start-up mode.
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_startup_mode(vantix_device *device,
                                                        vantix_device_acquisition_mode mode);

/** Digitizer power states. */
typedef enum vantix_asic_power_state {
    VANTIX_ASIC_POWER_STATE_NORMAL = 0,
    VANTIX_ASIC_POWER_STATE_POWERDOWN = 1,
    VANTIX_ASIC_POWER_STATE_STANDBY = 2,
    VANTIX_ASIC_POWER_STATE_RAW_MAX = 255 /**< any raw byte is a valid value */
} vantix_asic_power_state;

/** Scan frequency and amplitudes (feature report 20). */
typedef struct vantix_hid_feature_frequency_amplitude {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t frequency;
    uint8_t pen_amplitude;
    uint8_t touch_amplitude;
    /** @} */
} vantix_hid_feature_frequency_amplitude;

/** Digitizer power state (feature report 21). */
typedef struct vantix_hid_feature_power_state {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    vantix_asic_power_state power_state;
    /** @} */
} vantix_hid_feature_power_state;

/** General acquisition parameters (feature report 41). */
typedef struct vantix_hid_feature_general_parameters {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t xy_output_enable;
    uint8_t adc_output_enable;
    uint8_t map_coordinates;
    uint8_t channel_lock_enable;
    uint8_t channel_lock_number;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t corner_lower_left;
    uint8_t corner_upper_left;
    uint8_t corner_lower_right;
    uint8_t corner_upper_right;
    uint16_t samples;
    uint8_t filter_frequency;
    /** @} */
} vantix_hid_feature_general_parameters;

/** Digitizer chip reset (feature report 42). */
typedef struct vantix_hid_feature_asic_reset {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t hardware_reset;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved;
    /** @} */
} vantix_hid_feature_asic_reset;

/** Digitizer chip registers read back (feature report 43). */
typedef struct vantix_hid_feature_register_get {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t register_info[8];
    /** @} */
} vantix_hid_feature_register_get;

/** One digitizer chip register write (feature report 44). */
typedef struct vantix_hid_feature_register_set {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t register_id;
    uint8_t register_value;
    /** @} */
} vantix_hid_feature_register_set;

/** Pen tuning parameters (feature report 50). */
typedef struct vantix_hid_feature_pen_parameters {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint16_t proximity;
    uint16_t auto_pen_threshold;
    uint16_t auto_touch_threshold;
    uint8_t adc_average;
    uint8_t coordinate_average;
    uint16_t offset_interval;
    uint8_t debounce_pre_down;
    uint8_t debounce_post_down;
    uint8_t debounce_pre_up;
    uint8_t debounce_post_up;
    uint8_t error_correction_enable;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_1;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t offset_correction_enable;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_2;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t tip_inverted;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved_3;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint16_t interrupt_rate;
    /** @} */
} vantix_hid_feature_pen_parameters;

/** Touch tuning parameters (feature report 60). */
typedef struct vantix_hid_feature_touch_parameters {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t adc_average;
    uint8_t coordinate_average;
    int16_t slope_down;
    int16_t slope_liftoff;
    uint8_t slope_minimum;
    uint16_t pressure_single;
    uint16_t pressure_multiple;
    uint8_t gain;
    uint8_t error_correction_enable;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint16_t scale_x;
    int16_t offset_x;
    uint16_t scale_y;
    int16_t offset_y;
    /** @} */
} vantix_hid_feature_touch_parameters;

/** The error-correction table (feature report 26); its MD5 digest is the pad's UUID. */
typedef struct vantix_hid_feature_error_correction_table {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t data[2048];
    /** @} */
} vantix_hid_feature_error_correction_table;

/** One block of a firmware download (feature report 25). */
typedef struct vantix_hid_feature_firmware_download {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint32_t address;
    uint8_t data[128];
    uint8_t checksum;
    /** @} */
} vantix_hid_feature_firmware_download;

/** Firmware download status (feature report 29). */
typedef struct vantix_hid_feature_download_command_status {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint16_t command_status;
    /** @} */
} vantix_hid_feature_download_command_status;

/**
 * Readers and writers of the acquisition and tuning reports, named after
 * their records. A getter returns the record; its _ref twin fills the
 * caller's. On failure the record is all zero (report_id 0) and the
 * last-error text says why. Setters send the record and return
 * VANTIX_CODE_ERROR on failure.
 * @return the record; all zero (report_id 0) on failure.
 * @{
 */
VANTIX_EXPORT vantix_hid_feature_frequency_amplitude vantix_get_frequency_amplitude(vantix_device *device);
/** Reads the same record as vantix_get_frequency_amplitude() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_frequency_amplitude_ref(vantix_device *device,
                                                      vantix_hid_feature_frequency_amplitude *record);
/** Writes the scan frequency and amplitudes (feature report 20).
 * @param device the pad.
 * @param freq the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_frequency_amplitude(vantix_device *device,
                                                               vantix_hid_feature_frequency_amplitude freq);
VANTIX_EXPORT vantix_hid_feature_power_state vantix_get_power_state(vantix_device *device);
/** Writes the digitizer power state (feature report 21).
 * @param device the pad.
 * @param state the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_power_state(vantix_device *device,
                                                       vantix_hid_feature_power_state state);
VANTIX_EXPORT vantix_hid_feature_general_parameters vantix_get_general_parameters(vantix_device *device);
/** Reads the same record as vantix_get_general_parameters() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_general_parameters_ref(vantix_device *device,
                                                     vantix_hid_feature_general_parameters *record);
/** Writes the general acquisition parameters (feature report 41).
 * @param device the pad.
 * @param params the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_general_parameters(vantix_device *device,
                                                              vantix_hid_feature_general_parameters params);
/** Resets the digitizer chip (feature report 42).
 * @param device the pad.
 * @param reset the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_asic_reset(vantix_device *device,
                                                      vantix_hid_feature_asic_reset reset);
VANTIX_EXPORT vantix_hid_feature_register_get vantix_get_asic_register(vantix_device *device);
/** Reads the same record as vantix_get_asic_register() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_asic_register_ref(vantix_device *device,
                                                vantix_hid_feature_register_get *record);
/** Writes one digitizer chip register (feature report 44).
 * @param device the pad.
 * @param reg the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_asic_register(vantix_device *device,
                                                         vantix_hid_feature_register_set reg);
VANTIX_EXPORT vantix_hid_feature_pen_parameters vantix_get_pen_parameters(vantix_device *device);
/** Reads the same record as vantix_get_pen_parameters() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_pen_parameters_ref(vantix_device *device,
                                                 vantix_hid_feature_pen_parameters *record);
/** Writes the pen tuning parameters (feature report 50).
 * @param device the pad.
 * @param params the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_pen_parameters(vantix_device *device,
                                                          vantix_hid_feature_pen_parameters params);
VANTIX_EXPORT vantix_hid_feature_touch_parameters vantix_get_touch_parameters(vantix_device *device);
/** Reads the same record as vantix_get_touch_parameters() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_touch_parameters_ref(vantix_device *device,
                                                   vantix_hid_feature_touch_parameters *record);
/** Writes the touch tuning parameters (feature report 60).
 * @param device the pad.
 * @param params the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_touch_parameters(vantix_device *device,
                                                            vantix_hid_feature_touch_parameters params);
VANTIX_EXPORT vantix_hid_feature_error_correction_table
vantix_get_error_correction_table(vantix_device *device);
/** Reads the same record as vantix_get_error_correction_table() into the caller's.
 * @param device the pad.
 * @param record receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_error_correction_table_ref(vantix_device *device,
                                                         vantix_hid_feature_error_correction_table *record);
/** Writes the error-correction table (feature report 26): drops
 * uncommitted region edits, switches to command mode, waits for the report
 * buffer interlock, sends the table and returns to pen mode. The pad's
 * UUID is the table's digest, so it changes with the table.
 * @param device the pad.
 * @param errcor the table to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the wait times out (the pad then stays in
 *         command mode) or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_error_correction(vantix_device *device,
                                                            vantix_hid_feature_error_correction_table errcor);
/** Sends one block of a firmware download (feature report 25).
 * @param device the pad.
 * @param firmware the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_firmware(vantix_device *device,
                                                    vantix_hid_feature_firmware_download firmware);
/** Writes the firmware download status (feature report 29).
 * @param device the pad.
 * @param status the record to send (report_id is not read).
 * @return VANTIX_CODE_ERROR when the transfer fails. */
VANTIX_EXPORT vantix_error_code
vantix_set_firmware_download_status(vantix_device *device, vantix_hid_feature_download_command_status status);
/** @} */

/** Bits of vantix_hid_feature_output_parameters.output_report: the input
 * reports the pad emits. */
typedef enum vantix_output_configuration {
    VANTIX_OUTPUT_CONFIGURATION_OEM = 0x1,
    VANTIX_OUTPUT_CONFIGURATION_OEM_EXTENDED = 0x2,
    VANTIX_OUTPUT_CONFIGURATION_MOUSE = 0x100,
    VANTIX_OUTPUT_CONFIGURATION_PEN_DIGITIZER = 0x200,
    VANTIX_OUTPUT_CONFIGURATION_TOUCH = 0x400,
    VANTIX_OUTPUT_CONFIGURATION_KEYBOARD = 0x10000,
    VANTIX_OUTPUT_CONFIGURATION_RAW_DATA = 0x40000000,
    VANTIX_OUTPUT_CONFIGURATION_DEBUG_DATA = (int)0x80000000u
} vantix_output_configuration;

/** When the pad sends its pen data. */
typedef enum vantix_output_mode {
    REAL_TIME = 0,
    TRANSMIT_ON_CONFIRM = 1,
    TRANSMIT_ON_HOST_COMMAND = 2,
    VANTIX_OUTPUT_MODE_RAW_MAX = 255 /**< any raw byte is a valid value */
} vantix_output_mode;

/** Pen data resolution and compression. */
typedef enum vantix_compression_mode {
    VANTIX_OUTPUT_UNCOMPRESSED_LORES = 0,
    VANTIX_OUTPUT_COMPRESSED_LORES = 1,
    VANTIX_OUTPUT_UNCOMPRESSED_HIRES = 2,
    VANTIX_OUTPUT_COMPRESSED_HIRES = 3,
    VANTIX_OUTPUT_COMPRESSION_RAW_MAX = 255 /**< any raw byte is a valid value */
} vantix_compression_mode;

/** Bits of vantix_hid_feature_peripheral_configuration.mag_card_output. */
typedef enum vantix_mag_card_output {
    VANTIX_MAG_CARD_OEM_FORMAT = 1,
    VANTIX_MAG_CARD_KEYBOARD = 4,
    VANTIX_MAG_CARD_KEYBOARD_PREAMBLE = 8,
    VANTIX_MAG_CARD_RAW_MAX = 255 /**< any raw byte is a valid value */
} vantix_mag_card_output;

/** Calibration targets. */
typedef enum vantix_calibration_point {
    VANTIX_CALIBRATION_POINT_CENTER = 0,
    VANTIX_CALIBRATION_POINT_UPPERLEFT = 2,
    VANTIX_CALIBRATION_POINT_LOWERLEFT = 4,
    VANTIX_CALIBRATION_POINT_LOWERRIGHT = 6,
    VANTIX_CALIBRATION_POINT_UPPERRIGHT = 8,
    VANTIX_CALIBRATION_POINT_RAW_MAX = 255 /**< any raw byte is a valid value */
} vantix_calibration_point;

/** Output configuration (feature report 91). On writing, save_as_default
 * stores the settings as the pad's defaults and load_factory_settings
 * restores the factory ones (each sent as one bit when non-zero). */
typedef struct vantix_hid_feature_output_parameters {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint32_t output_report;
    vantix_output_mode output_mode;
    /** @} */
    vantix_compression_mode compression; /**< bits 0-1 of the wire byte */
    /** The report's fields, in wire order. @{ */
    uint16_t packets_per_second;
    uint8_t save_as_default;
    uint8_t load_factory_settings;
    /** @} */
} vantix_hid_feature_output_parameters;

/** Peripheral configuration (feature report 92). The reserved bytes travel
 * both ways, so a read, a change and a write keep them. */
typedef struct vantix_hid_feature_peripheral_configuration {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    vantix_mag_card_output mag_card_output;
    /** @} */
    /** Reserved. @{ */
    uint8_t reserved1;
    uint8_t reserved2;
    uint8_t reserved3;
    uint8_t reserved4;
    uint8_t reserved5;
    uint8_t reserved6;
    uint8_t reserved7;
    uint8_t reserved8;
    uint8_t reserved9;
    uint8_t reserved10;
    uint8_t reserved11;
    uint8_t reserved12;
    uint8_t reserved13;
    uint8_t reserved14;
    /** @} */
    /** The report's fields, in wire order. @{ */
    uint8_t save_as_default;
    uint8_t load_factory_settings;
    /** @} */
} vantix_hid_feature_peripheral_configuration;

/** Stored calibration (feature report 131); the library only moves it. */
typedef struct vantix_hid_feature_calibration_data {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t calibration_type;
    uint8_t is_calibrated;
    uint16_t rotation_scale;
    uint16_t local_multiplier_scale;
    uint16_t host_multiplier_scale;
    int16_t rotation_sin_scaled;
    int16_t rotation_cos_scaled;
    uint16_t local_width_calibrated;
    uint16_t local_height_calibrated;
    int32_t local_x_multiplier_scaled;
    int32_t local_x_offset;
    int32_t local_y_multiplier_scaled;
    int32_t local_y_offset;
    int32_t host_x_multiplier_scaled;
    int32_t host_x_offset;
    int32_t host_y_multiplier_scaled;
    int32_t host_y_offset;
    /** @} */
} vantix_hid_feature_calibration_data;

/** Calibrate state (feature report 130). */
typedef struct vantix_hid_feature_calibrate {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t calibration_mode;
    vantix_calibration_point point;
    /** @} */
} vantix_hid_feature_calibrate;

/** Readers and writers of the output, peripheral and calibration
 * configuration. A failed read leaves the record all zero (report_id 0)
 * and logs nothing; the writes wait for no interlock.
 * @{ */
/** Reads the same record as vantix_get_output_configuration() into the caller's.
 * @param device the pad.
 * @param report receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_output_configuration_ref(vantix_device *device,
                                                       vantix_hid_feature_output_parameters *report);
/** Reads the output configuration (report 91).
 * @return the record; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_output_parameters vantix_get_output_configuration(vantix_device *device);
/** Writes the output configuration (feature report 91).
 * @param device the pad.
 * @param settings the record to send (report_id is not read).
 * @return the transport's result. */
VANTIX_EXPORT vantix_error_code
vantix_set_output_configuration(vantix_device *device, vantix_hid_feature_output_parameters settings);
/** Reads the same record as vantix_get_peripheral_configuration() into the caller's.
 * @param device the pad.
 * @param report receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_peripheral_configuration_ref(
    vantix_device *device, vantix_hid_feature_peripheral_configuration *report);
/** Reads the peripheral configuration (report 92).
 * @return the record; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_peripheral_configuration
vantix_get_peripheral_configuration(vantix_device *device);
/** Writes the peripheral configuration (feature report 92).
 * @param device the pad.
 * @param settings the record to send (report_id is not read).
 * @return the transport's result. */
VANTIX_EXPORT vantix_error_code vantix_set_peripheral_configuration(
    vantix_device *device, vantix_hid_feature_peripheral_configuration settings);
/** Reads the same record as vantix_get_calibration_data() into the caller's.
 * @param device the pad.
 * @param calibration_data receives the record, all zero on failure;
 *        null fails ("No record given."). */
VANTIX_EXPORT void vantix_get_calibration_data_ref(vantix_device *device,
                                                   vantix_hid_feature_calibration_data *calibration_data);
/** Reads the stored calibration (report 131).
 * @return the record; all zero (report_id 0) on failure. */
VANTIX_EXPORT vantix_hid_feature_calibration_data vantix_get_calibration_data(vantix_device *device);
/** Writes the stored calibration (feature report 131).
 * @param device the pad.
 * @param calibration_data the record to send (report_id is not read).
 * @return the transport's result. */
VANTIX_EXPORT vantix_error_code
vantix_set_calibration_data(vantix_device *device, vantix_hid_feature_calibration_data calibration_data);
/** @} */
/** Reads the calibrate state; waits for the calibrate interlock before and
 * after the read.
 * @return the record; all zero (report_id 0) when the first wait times out
 *         or the read fails. @{ */
VANTIX_EXPORT vantix_hid_feature_calibrate vantix_get_calibrate_state(vantix_device *device);
/** Reads the same record as vantix_get_calibrate_state() into the caller's.
 * @param device the pad.
 * @param report receives the record, all zero on failure;
 *        null is ignored and nothing is read. */
VANTIX_EXPORT void vantix_get_calibrate_state_ref(vantix_device *device,
                                                  vantix_hid_feature_calibrate *report);
/** @} */
/** Starts a calibration (dropping uncommitted region edits first), or
 * cancels the one running (feature report 130). Both wait for the
 * calibrate interlock first.
 * @return VANTIX_CODE_ERROR when the wait times out or the transfer fails.
 * @{ */
VANTIX_EXPORT vantix_error_code vantix_device_calibrate(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_device_cancel_calibrate(vantix_device *device);
/** @} */

/**
 * Put a pad with a region store into a ready-made signing configuration:
 * factory store contents, screens 1 and 2 adjusted, raw data with extended
 * OEM reports and OEM card data (zelnar) or raw data with keyboard output
 * and keyboard card data with preamble (travon). A non-zero commit_changes
 * saves the store and marks the output and peripheral settings as the
 * pad's defaults. Pads without a store, or without compression,
 * throttling, or streaming and buffering, are left untouched.
 * @param device an open pad.
 * @param commit_changes non-zero to save the store and make the settings
 *        the pad's defaults; zero leaves them pending.
 * @return always VANTIX_CODE_SUCCESS; the steps' own failures leave their
 *         last-error text.
 * @{ */
VANTIX_EXPORT vantix_error_code vantix_set_zelnar_mode(vantix_device *device, char commit_changes);
VANTIX_EXPORT vantix_error_code vantix_set_travon_mode(vantix_device *device, char commit_changes);
/** @} */

/** @} */

/**
 * @defgroup genii Second-generation commands and diagnostics
 * Commands of second-generation pads (report 230), simulated pen input and
 * reading display pixels back.
 * @{
 */

/** Steps of a tuning run. */
typedef enum vantix_tuning_state {
    VANTIX_LOCATION_1_STYLUS_DOWN = 0,
    VANTIX_LOCATION_1_STYLUS_UP = 1,
    VANTIX_LOCATION_2_STYLUS_DOWN = 2,
    VANTIX_LOCATION_2_STYLUS_UP = 3,
    VANTIX_TUNING_STATE_RAW_MAX = 255 /**< any raw value is a valid value */
} vantix_tuning_state;

/** Tuning status (report 230 command). */
typedef struct vantix_hid_feature_tuning_status {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint8_t command_id;
    /** @} */
    uint8_t tuning_mode;    /**< 0 or 1 */
    uint8_t tuning_aborted; /**< 0 or 2: the bit stays in place */
    /** The report's fields, in wire order. @{ */
    vantix_tuning_state tuning_state;
    uint8_t gain_setting;
    /** @} */
} vantix_hid_feature_tuning_status;

/** The hardware GUID (report 230 command). */
typedef struct vantix_hid_feature_guid {
    uint8_t report_id; /**< not read when writing */
    /** The report's fields, in wire order. @{ */
    uint8_t guid[16];
    /** @} */
} vantix_hid_feature_guid;

/** A simulated pen sample (coordinate_type 1 or 2: the input report the pad
 * makes of it). */
typedef struct vantix_pen_coordinate {
    uint8_t report_id; /**< not read */
    /** The report's fields, in wire order. @{ */
    uint8_t coordinate_type;
    uint16_t x;
    uint16_t y;
    uint8_t pen_down;
    /** @} */
} vantix_pen_coordinate;

/** Pixels one read-back answer holds at most. */
#define VANTIX_PIXEL_VALUES_COUNT 256

/** One pixel read back from the display. */
typedef union vantix_pixel_color {
    uint32_t composit; /**< The four bytes as one value. */
    /** The channels. */
    struct {
        /** Alpha, red, green, blue. @{ */
        uint8_t a;
        uint8_t r;
        uint8_t g;
        uint8_t b;
        /** @} */
    } argb;
} vantix_pixel_color;

/**
 * Display pixels read back (reports 104 and 105). The caller sets start_x
 * and start_y (the pad takes their low 8 bits); a read sets them to what
 * the pad reports, with number_of_pixels and the colours. An answer
 * claiming more than VANTIX_PIXEL_VALUES_COUNT pixels is clipped: the first
 * 256 are copied and number_of_pixels says 256.
 */
typedef struct vantix_hid_feature_pixel_values {
    /** The report's fields, in wire order. @{ */
    uint8_t report_id;
    uint16_t start_x;
    uint16_t start_y;
    uint16_t number_of_pixels;
    vantix_pixel_color color_data[VANTIX_PIXEL_VALUES_COUNT];
    /** @} */
} vantix_hid_feature_pixel_values;

/** Starts a tuning run, or aborts the one running (report 230 commands).
 * Like every second-generation command, a failed transfer is logged at
 * WARNING ("Unable to set report: %s", "Unable to get report: %s").
 * @return VANTIX_CODE_ERROR when the transfer fails. @{ */
VANTIX_EXPORT vantix_error_code vantix_genII_tune(vantix_device *dev);
VANTIX_EXPORT vantix_error_code vantix_genII_abort_tune(vantix_device *dev);
/** @} */
/** Reads the tuning status (report 230 command).
 * @return the record; all zero when the command or its answer fails. */
VANTIX_EXPORT vantix_hid_feature_tuning_status vantix_genII_get_tuning_status(vantix_device *dev);
/** Sets the pad's USB product ID (report 230 hardware command); the
 * attempt is logged at WARNING.
 * @param dev the pad.
 * @param pid the new product ID.
 * @return VANTIX_CODE_ERROR when the transfer fails (logged at WARNING). */
VANTIX_EXPORT vantix_error_code vantix_genII_set_device_pid(vantix_device *dev, uint16_t pid);
/** Reads the hardware configuration byte (report 230 hardware command).
 * @return the byte, 0 to 255, or -1 when the command or its answer
 *         fails. */
VANTIX_EXPORT int vantix_genII_query_hardware_configuration(vantix_device *dev);
/** Reads the hardware GUID (report 230).
 * @return the record; all zero when the command or its answer fails. */
VANTIX_EXPORT vantix_hid_feature_guid vantix_genII_get_hardware_GUID(vantix_device *dev);
/** Writes the hardware GUID (report 230).
 * @param dev the pad.
 * @param guid the record whose 16 guid bytes are sent (report_id is not
 *             read).
 * @return VANTIX_CODE_ERROR when the transfer fails (logged at WARNING). */
VANTIX_EXPORT vantix_error_code vantix_genII_set_hardware_GUID(vantix_device *dev,
                                                               vantix_hid_feature_guid guid);
/** Injects one pen sample through the engineering test report (253); the
 * pad turns it into the input report coordinate_type names.
 * @param dev the pad.
 * @param coords the sample (null fails with "No record given.").
 * @return VANTIX_CODE_ERROR when refused or when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_simulate_pen_input(vantix_device *dev, vantix_pen_coordinate *coords);
/** Reads display pixels back: sends the location (report 104), then reads
 * the pixels (report 105).
 * @param device the pad.
 * @param pixel_values the caller's record: start_x and start_y say where
 *        to read (the pad takes their low 8 bits); on success it holds what
 *        the pad reported. On failure it is left exactly as it was.
 * @return VANTIX_CODE_ERROR for a null record ("No record given.") or when
 *         a transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_get_pixels(vantix_device *device,
                                                  vantix_hid_feature_pixel_values *pixel_values);

/** @} */

/**
 * @defgroup printers Report printers
 * Print a report record to standard output, for diagnostics. The printers
 * of the device status, regions, store regions and UUID are with their
 * records.
 * @{
 */

/**
 * Each writes a record to standard output: a header line, then "  NULL"
 * for a null pointer, or one "label = value" line per field with the
 * labels right-aligned in one column. Byte and colour arrays print as
 * dumps under their label: two hex digits and a space per byte (twenty to
 * a line) or "#aarrggbb " per colour (eight to a line), then one more
 * newline. Nothing outside the record is read: text stops at its field's
 * end, and the pixel, resource and screen lists at their arrays' size.
 @{ */
VANTIX_EXPORT void vantix_print_display_info(const vantix_hid_feature_display_info *info);
VANTIX_EXPORT void vantix_print_capabilities(const vantix_hid_capabilities *capabilities);
VANTIX_EXPORT void vantix_print_display_settings(const vantix_hid_feature_display_settings *settings);
VANTIX_EXPORT void vantix_print_device_configure(const vantix_hid_feature_device_configure *configure);
VANTIX_EXPORT void vantix_print_contact_count_maximum(
    const vantix_hid_feature_contact_count_maximum *maximum);
VANTIX_EXPORT void vantix_print_version(const vantix_hid_feature_version *version);
VANTIX_EXPORT void vantix_print_coordinate_range(const vantix_hid_feature_coordinate_range *range);
/** The serial number prints between single quotes, up to its first zero. */
VANTIX_EXPORT void vantix_print_serial_number(const vantix_hid_feature_serial_number *serial);
VANTIX_EXPORT void vantix_print_operating_modes(const vantix_hid_feature_operating_modes *modes);
VANTIX_EXPORT void vantix_print_frequency_amplitude(const vantix_hid_feature_frequency_amplitude *frequency);
VANTIX_EXPORT void vantix_print_power_state(const vantix_hid_feature_power_state *state);
VANTIX_EXPORT void vantix_print_general_parameters(const vantix_hid_feature_general_parameters *params);
VANTIX_EXPORT void vantix_print_asic_register(const vantix_hid_feature_register_get *reg);
VANTIX_EXPORT void vantix_print_pen_parameters(const vantix_hid_feature_pen_parameters *params);
VANTIX_EXPORT void vantix_print_touch_parameters(const vantix_hid_feature_touch_parameters *params);
VANTIX_EXPORT void vantix_print_error_correction_table(
    const vantix_hid_feature_error_correction_table *table);
VANTIX_EXPORT void vantix_print_asic_reset(const vantix_hid_feature_asic_reset *reset);
VANTIX_EXPORT void vantix_print_register_set(const vantix_hid_feature_register_set *reg);
VANTIX_EXPORT void vantix_print_firmware_download(const vantix_hid_feature_firmware_download *block);
VANTIX_EXPORT void vantix_print_download_command_status(
    const vantix_hid_feature_download_command_status *status);
/** Output mode and compression print as their number and name ("UNKNOWN"
 * for a value without one); the card output as one 0/1 line per channel. */
VANTIX_EXPORT void vantix_print_output_configuration(const vantix_hid_feature_output_parameters *settings);
VANTIX_EXPORT void vantix_print_peripheral_configuration(
    const vantix_hid_feature_peripheral_configuration *settings);
VANTIX_EXPORT void vantix_print_calibration_data(const vantix_hid_feature_calibration_data *data);
VANTIX_EXPORT void vantix_print_calibrate_state(const vantix_hid_feature_calibrate *state);
VANTIX_EXPORT void vantix_print_tuning_status(const vantix_hid_feature_tuning_status *status);
VANTIX_EXPORT void vantix_print_hardware_guid(const vantix_hid_feature_guid *guid);
VANTIX_EXPORT void vantix_print_pen_coordinate(const vantix_pen_coordinate *coordinate);
/** The first number_of_pixels colours (at most 256). */
VANTIX_EXPORT void vantix_print_pixel_values(const vantix_hid_feature_pixel_values *pixels);
VANTIX_EXPORT void vantix_print_resource_info(const vantix_hid_feature_resource_info *info);
/** The first bytes_valid data bytes (at most 1024). */
VANTIX_EXPORT void vantix_print_resource(const vantix_hid_feature_resource *resource);
VANTIX_EXPORT void vantix_print_resource_availability(
    const vantix_hid_feature_resource_availability *availability);
/** The first region_count entries (at most 100) of both lists. */
VANTIX_EXPORT void vantix_print_screen(const vantix_hid_feature_screen *screen);
VANTIX_EXPORT void vantix_print_edit_screen(const vantix_hid_feature_edit_screen *edit);
VANTIX_EXPORT void vantix_print_screen_region_info(const vantix_hid_feature_screen_region_info *info);
VANTIX_EXPORT void vantix_print_region_update(const vantix_hid_feature_region_update *update);
/* The display records are defined with the display functions below. */
struct vantix_hid_feature_display_content;
struct vantix_hid_feature_display_chunk;
VANTIX_EXPORT void vantix_print_display_content(const struct vantix_hid_feature_display_content *content);
/** The whole payload, as the pad is always sent all of it. */
VANTIX_EXPORT void vantix_print_display_chunk(const struct vantix_hid_feature_display_chunk *chunk);
/** @} */

/** @} */

/**
 * @defgroup drawing Drawing and fonts
 * Draw into in-memory bitmaps with lines, shapes and fonts, send a bitmap
 * to the pad's display, or draw text on the pad directly.
 * @{
 */

/** A monospaced font addressed by 8-bit character codes. */
typedef struct vantix_font {
    int32_t charWidth;            /**< Glyph width in pixels. */
    int32_t charHeight;           /**< Glyph height in pixels. */
    int32_t bitDepth;             /**< 1: one bit per pixel; otherwise one intensity byte per pixel */
    int32_t glyphCount;           /**< Number of glyphs. */
    int32_t charByteLen;          /**< Bytes per glyph. */
    const unsigned char *indexes; /**< The character code of each glyph. */
    const unsigned char *glyphs;  /**< glyphCount glyphs of charByteLen bytes. */
} vantix_font;

/** One glyph of an enhanced (proportional Unicode) font. */
typedef struct vantix_font_char {
    uint8_t width;             /**< Width in pixels. */
    uint8_t height;            /**< Height in pixels. */
    uint8_t decent;            /**< rows below the baseline */
    uint8_t combine;           /**< Combining-mark flag, as the font data has it. */
    uint32_t rasterLen;        /**< Bytes of raster used. */
    unsigned char raster[200]; /**< The glyph's pixels. */
} vantix_font_char;

/** A proportional Unicode font (device->font points to one). */
typedef struct vantix_enhanced_font {
    int32_t bitDepth;               /**< Bits per pixel of the rasters. */
    int32_t glyphCount;             /**< Number of glyphs. */
    const int32_t *indexes;         /**< ascending code points */
    const vantix_font_char *glyphs; /**< The glyph of each code point. */
} vantix_enhanced_font;

/** One glyph of the block font; its raster is in column order. */
typedef struct vantix_block_font_char {
    uint32_t charPoint;       /**< The code point. */
    uint8_t width;            /**< Width in pixels. */
    uint8_t height;           /**< Height in pixels. */
    uint8_t decent;           /**< Rows below the baseline. */
    uint8_t combine;          /**< Combining-mark flag, as the font data has it. */
    uint32_t rasterLen;       /**< Bytes of raster used. */
    unsigned char raster[10]; /**< One bit per pixel, column order. */
} vantix_block_font_char;

/** Number of glyphs of the block font. */
#define VANTIX_BLOCK_FONT_GLYPH_COUNT 529

/** The default font of an open pad (hand-drawn). */
VANTIX_EXPORT extern const vantix_enhanced_font vantix_default;
/** Ubuntu Mono as enhanced (proportional Unicode) fonts, by point size. @{ */
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_12pt;
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_16pt;
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_24pt;
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_30pt;
/** @} */
/** Ubuntu Mono as fixed 8-bit fonts, by point size (_aa: anti-aliased). @{ */
VANTIX_EXPORT extern const vantix_font ubuntu_mono_12pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_16pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_24pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_30pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_30pt_aa;
/** @} */
/** The block font's glyphs, by ascending code point. */
VANTIX_EXPORT extern const vantix_block_font_char vantix_block_font[VANTIX_BLOCK_FONT_GLYPH_COUNT];

/** One colour: red in bits 31-24, green 23-16, blue 15-8, alpha 7-0
 * (255 opaque, 0 transparent). Opaque white is 0xFFFFFFFF, black 0x000000FF. */
typedef uint32_t vantix_gcolor;

/**
 * An in-memory picture that is also a complete 24-bit BMP file image: a
 * 54-byte header at `bitmap`, then bottom-up rows at `raster` (= bitmap + 54),
 * each `rowSize` bytes (3 bytes per pixel, blue green red, rounded up to a
 * multiple of 4). The descriptor and the buffer both belong to the caller.
 * A descriptor whose `bitmap` is NULL (as left by a refused
 * vantix_bitmap_init) is empty: every operation draws nothing into it and
 * reads white from it.
 */
typedef struct vantix_bitmap {
    unsigned char *bitmap; /**< The BMP file image (the caller's buffer), or NULL. */
    unsigned char *raster; /**< bitmap + 54: the bottom row first. */
    int32_t width;         /**< Pixels. */
    int32_t height;        /**< Pixels. */
    int32_t headerSize;    /**< 54. */
    int32_t arraySize;     /**< height * rowSize. */
    int32_t totalSize;     /**< headerSize + arraySize. */
    int32_t rowSize;       /**< Bytes per row, a multiple of 4. */
} vantix_bitmap;

/** Where text goes inside a box. Other values act as VANTIX_ALIGN_BEGIN. */
typedef enum vantix_string_alignment {
    VANTIX_ALIGN_BEGIN = 0, /**< left or top */
    VANTIX_ALIGN_MIDDLE = 1,
    VANTIX_ALIGN_END = 2 /**< right or bottom */
} vantix_string_alignment;

/** Writes a 54-byte BMP file header (24 bits per pixel) for the given
 * sizes. Only its non-zero bytes are written: clear the rest first, as
 * vantix_bitmap_init() does. None of the bitmap functions logs.
 * @param bmp where the header goes (null: nothing happens).
 * @param totalSize the file's size, header included.
 * @param arraySize the pixel rows' size.
 * @param width the width in pixels.
 * @param height the height in pixels. */
VANTIX_EXPORT void vantix_bitmap_write_header(unsigned char *bmp, int32_t totalSize, int32_t arraySize,
                                              int32_t width, int32_t height);
/**
 * Makes `bmp` describe `buffer`, painted opaque white.
 * A width or height below 1, a NULL buffer, or a size whose file image
 * would not fit in 31 bits is refused: the descriptor is then all zero
 * (bmp->bitmap == NULL) and the buffer is left untouched.
 * @param bmp the caller's descriptor (null: nothing happens).
 * @param buffer at least 54 + height * ((24 * width + 31) / 32 * 4) bytes,
 *               the caller's for as long as the descriptor is used.
 * @param width the width in pixels.
 * @param height the height in pixels.
 */
VANTIX_EXPORT void vantix_bitmap_init(vantix_bitmap *bmp, unsigned char *buffer, int32_t width,
                                      int32_t height);
/** Composites one colour over another.
 * @param fg the colour on top; its alpha says how much of it shows.
 * @param bg the colour below.
 * @return `fg` composited over `bg` by fg's alpha. */
VANTIX_EXPORT vantix_gcolor vantix_color_blend(vantix_gcolor fg, vantix_gcolor bg);
/** Blends `color` into one pixel; outside the bitmap nothing happens.
 * @param bmp the bitmap to draw into.
 * @param x the column, 0 at the left.
 * @param y the row, 0 at the top.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_set_pixel(vantix_bitmap *bmp, int32_t x, int32_t y, vantix_gcolor color);
/** Reads one pixel.
 * @param bmp the bitmap.
 * @param x the column, 0 at the left.
 * @param y the row, 0 at the top.
 * @return the pixel's opaque colour; white outside the bitmap. */
VANTIX_EXPORT vantix_gcolor vantix_get_pixel(const vantix_bitmap *bmp, int32_t x, int32_t y);
/** Paints every pixel `color` (blended when translucent).
 * @param bmp the bitmap to draw into.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_bitmap_clear(vantix_bitmap *bmp, vantix_gcolor color);
/** Copies a width x height block from (srcX, srcY) of `src` to (dstX, dstY)
 * of `dst`. Pixels that fall outside `dst` are dropped; those read from
 * outside `src` are white. The pixels are copied column by column from the
 * left, so an overlapping copy to the right reads what it already wrote.
 * @param src the bitmap to read.
 * @param dst the bitmap to write (may be src).
 * @param srcX the block's left column in src.
 * @param srcY the block's top row in src.
 * @param dstX the left column it goes to in dst.
 * @param dstY the top row it goes to in dst.
 * @param width the block's width in pixels.
 * @param height the block's height in pixels. */
VANTIX_EXPORT void vantix_bitmap_copy(const vantix_bitmap *src, vantix_bitmap *dst, int32_t srcX,
                                      int32_t srcY, int32_t dstX, int32_t dstY, int32_t width,
                                      int32_t height);

/** Lines and shapes, clipped to the bitmap. None of these functions logs.
 * A line runs from (x0, y0) to (x1, y1), both ends included; `color` is
 * blended over the picture when translucent.
 * @{ */
/** A one-pixel line.
 * @param bmp the bitmap to draw into.
 * @param x0 the start's column.
 * @param y0 the start's row.
 * @param x1 the end's column.
 * @param y1 the end's row.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                    vantix_gcolor color);
/** An anti-aliased one-pixel line.
 * @param bmp the bitmap to draw into.
 * @param x0 the start's column.
 * @param y0 the start's row.
 * @param x1 the end's column.
 * @param y1 the end's row.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_aa_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                       vantix_gcolor color);
/** A line `width` pixels wide.
 * @param bmp the bitmap to draw into.
 * @param x0 the start's column.
 * @param y0 the start's row.
 * @param x1 the end's column.
 * @param y1 the end's row.
 * @param width the line's width in pixels.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_thick_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                          float width, vantix_gcolor color);
/** An anti-aliased line `width` pixels wide.
 * @param bmp the bitmap to draw into.
 * @param x0 the start's column.
 * @param y0 the start's row.
 * @param x1 the end's column.
 * @param y1 the end's row.
 * @param width the line's width in pixels.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_thick_aa_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1,
                                             int32_t y1, float width, vantix_gcolor color);
/** The one-pixel outline of a circle; a negative radius draws nothing.
 * @param bmp the bitmap to draw into.
 * @param xm the centre's column.
 * @param ym the centre's row.
 * @param r the radius in pixels.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_circle(vantix_bitmap *bmp, int32_t xm, int32_t ym, int32_t r,
                                      vantix_gcolor color);
/** The one-pixel outline of the ellipse inside the bounding rectangle
 * (x0, y0)-(x1, y1), corners in any order.
 * @param bmp the bitmap to draw into.
 * @param x0 one corner's column.
 * @param y0 one corner's row.
 * @param x1 the opposite corner's column.
 * @param y1 the opposite corner's row.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_ellipse(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                       vantix_gcolor color);
/** The one-pixel outline of the rectangle (x0, y0)-(x1, y1), corners
 * included.
 * @param bmp the bitmap to draw into.
 * @param x0 one corner's column.
 * @param y0 one corner's row.
 * @param x1 the opposite corner's column.
 * @param y1 the opposite corner's row.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                         vantix_gcolor color);
/** The outline of the rectangle (x0, y0)-(x1, y1), its border growing
 * `width` pixels inwards; a width below 1 draws nothing.
 * @param bmp the bitmap to draw into.
 * @param x0 one corner's column.
 * @param y0 one corner's row.
 * @param x1 the opposite corner's column.
 * @param y1 the opposite corner's row.
 * @param width the border's width in pixels.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_draw_thick_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1,
                                               int32_t y1, int32_t width, vantix_gcolor color);
/** The filled rectangle (x0, y0)-(x1, y1), corners included.
 * @param bmp the bitmap to draw into.
 * @param x0 one corner's column.
 * @param y0 one corner's row.
 * @param x1 the opposite corner's column.
 * @param y1 the opposite corner's row.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_fill_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                         vantix_gcolor color);
/** A filled circle; a negative radius draws nothing.
 * @param bmp the bitmap to draw into.
 * @param x the centre's column.
 * @param y the centre's row.
 * @param r the radius in pixels.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_fill_circle(vantix_bitmap *bmp, int32_t x, int32_t y, int32_t r,
                                      vantix_gcolor color);
/** A filled ellipse. Unlike vantix_draw_ellipse() the corners are not a
 * bounding box: after ordering them, (x0, y0) is the centre and the
 * semi-axes are x1 - x0 and y1 - y0.
 * @param bmp the bitmap to draw into.
 * @param x0 one corner's column.
 * @param y0 one corner's row.
 * @param x1 the other corner's column.
 * @param y1 the other corner's row.
 * @param color the colour; a translucent one is blended over the picture.
 */
VANTIX_EXPORT void vantix_fill_ellipse(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                       vantix_gcolor color);
/** @} */

/** Fixed (monospaced, 8-bit) fonts, such as ubuntu_mono_16pt. None of these
 * functions logs; a null or empty font draws nothing. @{ */
/** Finds the glyph of a character code.
 * @param font the font.
 * @param c the character, taken as unsigned (0 to 255).
 * @return the glyph's charByteLen bytes inside the font; null when the font
 *         has no such glyph or is null or empty. */
VANTIX_EXPORT const unsigned char *vantix_font_char_lookup(const vantix_font *font, char c);
/** Draws one character with its top left at (x, y); a character without a
 * glyph draws nothing.
 * @param bmp the bitmap to draw into.
 * @param font the font.
 * @param chr the character, taken as unsigned.
 * @param x the left column.
 * @param y the top row.
 * @param color the ink colour; the glyph's pixels are blended over the
 *              picture. */
VANTIX_EXPORT void vantix_draw_char(vantix_bitmap *bmp, const vantix_font *font, char chr, int32_t x,
                                    int32_t y, vantix_gcolor color);
/** Draws a NUL-terminated string with its top left at (x, y); a character
 * without a glyph leaves its cell empty.
 * @param bmp the bitmap to draw into.
 * @param font the font.
 * @param string the text (null draws nothing).
 * @param x the left column.
 * @param y the top row.
 * @param color the ink colour. */
VANTIX_EXPORT void vantix_draw_string(vantix_bitmap *bmp, const vantix_font *font, const char *string,
                                      int32_t x, int32_t y, vantix_gcolor color);
/** Draws a NUL-terminated string placed in the box (x0, y0)-(x1, y1) as the
 * alignments say; text larger than the box is not cut at its edges.
 * @param bmp the bitmap to draw into.
 * @param font the font.
 * @param string the text (null draws nothing).
 * @param x0 one corner's column.
 * @param y0 one corner's row.
 * @param x1 the opposite corner's column.
 * @param y1 the opposite corner's row.
 * @param hAlign left, middle or right.
 * @param vAlign top, middle or bottom.
 * @param color the ink colour. */
VANTIX_EXPORT void vantix_draw_string_aligned(vantix_bitmap *bmp, const vantix_font *font, const char *string,
                                              int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                              vantix_string_alignment hAlign, vantix_string_alignment vAlign,
                                              vantix_gcolor color);
/** @} */

/** Enhanced (proportional Unicode) fonts, such as vantix_default; strings
 * are zero-terminated arrays of code points (ICU's UChar32). A code point
 * without a glyph uses the font's glyph for 0. None of these functions
 * logs. @{ */
/** Finds the glyph of a code point.
 * @param font the font.
 * @param character the code point.
 * @return the glyph inside the font, or its glyph for 0 when it has none
 *         for `character`; null for a null or empty font. */
VANTIX_EXPORT const vantix_font_char *enhanced_get_font_character(const vantix_enhanced_font *font,
                                                                  int32_t character);
/** @} */
/** Number of code points before the terminating 0 (0 for null). */
VANTIX_EXPORT size_t u_strlen32(const int32_t *string);
/** Pixel width (each glyph's width plus one pixel of gap) and height (from
 * the highest top to the lowest descent) of a code-point string in `font`.
 * @param font the font.
 * @param string the code points, zero-terminated.
 * @return the size, saturated at UINT_MAX; 0 for a null string or font. @{ */
VANTIX_EXPORT unsigned int enhanced_get_string_width(const vantix_enhanced_font *font, const int32_t *string);
VANTIX_EXPORT unsigned int enhanced_get_string_height(const vantix_enhanced_font *font,
                                                      const int32_t *string);
/** @} */
/** Draws one code point with its top left at (x, y).
 * @param bmp the bitmap to draw into.
 * @param font the font.
 * @param chr the code point.
 * @param x the left column.
 * @param y the top row.
 * @param color the ink colour; the glyph's pixels are blended over the
 *              picture. */
VANTIX_EXPORT void enhanced_draw_char(vantix_bitmap *bmp, const vantix_enhanced_font *font, int32_t chr,
                                      int32_t x, int32_t y, vantix_gcolor color);
/** Draws a code-point string with its top left at (x, y), the glyphs on
 * one baseline.
 * @param bmp the bitmap to draw into.
 * @param font the font.
 * @param string the code points, zero-terminated (null draws nothing).
 * @param x the left column.
 * @param y the top row.
 * @param color the ink colour. */
VANTIX_EXPORT void enhanced_draw_string(vantix_bitmap *bmp, const vantix_enhanced_font *font,
                                        const int32_t *string, int32_t x, int32_t y, vantix_gcolor color);
/** Draws a code-point string placed in the box (x0, y0)-(x1, y1) as the
 * alignments say; text larger than the box is not cut at its edges.
 * @param bmp the bitmap to draw into.
 * @param font the font.
 * @param string the code points, zero-terminated (null draws nothing).
 * @param x0 one corner's column.
 * @param y0 one corner's row.
 * @param x1 the opposite corner's column.
 * @param y1 the opposite corner's row.
 * @param hAlign left, middle or right.
 * @param vAlign top, middle or bottom.
 * @param color the ink colour. */
VANTIX_EXPORT void enhanced_draw_string_aligned(vantix_bitmap *bmp, const vantix_enhanced_font *font,
                                                const int32_t *string, int32_t x0, int32_t y0, int32_t x1,
                                                int32_t y1, vantix_string_alignment hAlign,
                                                vantix_string_alignment vAlign, vantix_gcolor color);

/**
 * The block font and one-bit rasters in column order: pixel (x, y) of a
 * W x H raster is bit H * x + y, most significant bit of each byte first.
 * Coordinates outside the given width and height are ignored (reads give 0).
 * A code point without a glyph uses the block font's glyph for 0.
 * @param character the code point.
 * @return its glyph in vantix_block_font, or the glyph for 0.
 */
VANTIX_EXPORT const vantix_block_font_char *vantix_get_font_character(int32_t character);
/** Looks up the block-font glyphs of `len` code points.
 * @param inChars the code points (null: nothing happens).
 * @param outChars receives `len` glyph pointers (null: nothing happens).
 * @param len the number of code points. */
VANTIX_EXPORT void vantix_font_get_from_string(const uint32_t *inChars,
                                               const vantix_block_font_char **outChars, uint32_t len);
/** Looks up the block-font glyphs of `len` bytes of text. Bytes are taken
 * as unsigned: 0x80-0xFF select U+0080-U+00FF.
 * @param inChars the text; exactly `len` bytes are read, a NUL among them
 *                included (null: nothing happens).
 * @param outChars receives `len` glyph pointers (null: nothing happens).
 * @param len the number of bytes. */
VANTIX_EXPORT void vantix_font_get_from_cstring(const char *inChars, const vantix_block_font_char **outChars,
                                                uint32_t len);
/** Pixel width of `len` glyphs side by side (one pixel apart), and their
 * height from the highest top to the lowest descent. Null entries are
 * skipped.
 * @param chars the glyphs, as vantix_font_get_from_string() gives them.
 * @param len the number of entries.
 * @return the size in pixels; the width of no glyphs at all is -1. @{ */
VANTIX_EXPORT int32_t vantix_font_get_width(const vantix_block_font_char *const *chars, uint32_t len);
VANTIX_EXPORT int32_t vantix_font_get_height(const vantix_block_font_char *const *chars, uint32_t len);
/** @} */
/** Draws `len` glyphs side by side into a raster, on one baseline; null
 * entries are skipped and glyphs past the right edge are dropped.
 * @param chars the glyphs (null: nothing happens).
 * @param len the number of entries.
 * @param raster a raster of width x height pixels in column order, cleared
 *               by the caller: only the glyphs' cells are written (null:
 *               nothing happens).
 * @param width the raster's width in pixels (see vantix_font_get_width()).
 * @param height the raster's height in pixels (see
 *               vantix_font_get_height()). */
VANTIX_EXPORT void vantix_font_create_raster(const vantix_block_font_char *const *chars, uint32_t len,
                                             unsigned char *raster, uint32_t width, uint32_t height);
/** Copies a whole raster into another at (destX, destY); what falls
 * outside `dest` is dropped.
 * @param source the raster to copy.
 * @param sourceWidth its width in pixels.
 * @param sourceHeight its height in pixels.
 * @param dest the raster to copy into.
 * @param destWidth its width in pixels.
 * @param destHeight its height in pixels.
 * @param destX the column of dest the source's left edge goes to.
 * @param destY the row of dest the source's top edge goes to. */
VANTIX_EXPORT void vantix_raster_copy(const unsigned char *source, uint32_t sourceWidth,
                                      uint32_t sourceHeight, unsigned char *dest, uint32_t destWidth,
                                      uint32_t destHeight, uint32_t destX, uint32_t destY);
/** Reads one pixel of a raster.
 * @param raster the raster (null reads 0).
 * @param width its width in pixels.
 * @param height its height in pixels.
 * @param x the column.
 * @param y the row.
 * @return 1 when the pixel is set, else 0 (also outside the raster). */
VANTIX_EXPORT unsigned char vantix_raster_getpixel(const unsigned char *raster, uint32_t width,
                                                   uint32_t height, uint32_t x, uint32_t y);
/** Sets or clears one pixel of a raster; outside it nothing happens.
 * @param raster the raster (null: nothing happens).
 * @param width its width in pixels.
 * @param height its height in pixels.
 * @param x the column.
 * @param y the row.
 * @param on non-zero to set the pixel, zero to clear it. */
VANTIX_EXPORT void vantix_raster_setpixel(unsigned char *raster, uint32_t width, uint32_t height, uint32_t x,
                                          uint32_t y, unsigned char on);

/** Display content (feature report 101): the byte is the pad's to interpret. */
typedef struct vantix_hid_feature_display_content {
    uint8_t report_id; /**< not read: the report ID is always 101 */
    /** The report's fields, in wire order. @{ */
    uint8_t content;
    /** @} */
} vantix_hid_feature_display_content;

/** Packed pixels one display chunk (feature report 103) carries at most. */
#define VANTIX_DISPLAY_CHUNK_PAYLOAD 2039

/**
 * One rectangle of the display (feature report 103). Its 16-bit fields
 * travel high byte first. Pixels are packed column by column, top to
 * bottom, without a break between columns: at depth 1 one bit per pixel
 * from the most significant bit down (set: dark); at depths 4 and 8 one
 * grey level (0 black .. 15 white) per nibble, low nibble first; at depth
 * 24 three bytes red, green, blue.
 */
typedef struct vantix_hid_feature_display_chunk {
    uint8_t report_id; /**< not read: the report ID is always 103 */
    /** The report's fields, in wire order. @{ */
    uint16_t x;
    uint16_t y;
    uint16_t width;
    uint16_t height;
    uint8_t bits_per_pixel;
    /** @} */
    uint8_t graphic[VANTIX_DISPLAY_CHUNK_PAYLOAD]; /**< always sent whole */
} vantix_hid_feature_display_chunk;

/** Where the given x lies on a text drawn on the pad. */
typedef enum vantix_font_alignment {
    VANTIX_ALIGN_LEFT = 0,
    VANTIX_ALIGN_RIGHT = 1,
    VANTIX_ALIGN_CENTER = 2
} vantix_font_alignment;

/** Sets the display content (report 101) after waiting for the pad's
 * display interlock.
 * @param device the pad.
 * @param content the record; only its content byte is sent.
 * @return VANTIX_CODE_ERROR when the wait times out or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_display_content(vantix_device *device,
                                                           vantix_hid_feature_display_content content);
/** Writes one rectangle of the display (report 103) after waiting for the
 * pad's display interlock.
 * @param device the pad.
 * @param chunk the rectangle and its packed pixels; the whole graphic
 *              array is sent.
 * @return VANTIX_CODE_ERROR when the wait times out or the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_set_display_chunk(vantix_device *device,
                                                         vantix_hid_feature_display_chunk chunk);
/**
 * Sends `bmp` to the display with its top-left pixel at (x, y), cut into
 * as few chunks as the payload allows and packed at `depth` bits per pixel:
 * 1, 4, 8 or 24. Any other depth, and a null or empty bitmap, is refused
 * before anything is sent, as is a picture reaching beyond the wire's
 * coordinates (0 to 65535); one partly off the display is sent as it is. A
 * failed chunk ends the transfer; the chunks sent before it stay on the
 * display. Allocates nothing and writes no log records of its own.
 * @param device the pad.
 * @param bmp the picture (it stays the caller's).
 * @param x the display column of its left edge.
 * @param y the display row of its top edge.
 * @param depth bits per pixel on the wire: 1, 4, 8 or 24.
 * @return VANTIX_CODE_ERROR when refused ("No bitmap to transfer.",
 *         "Unsupported pixel depth %d, ...") or when a chunk fails.
 */
VANTIX_EXPORT vantix_error_code vantix_transfer_bitmap_to_device(vantix_device *device, vantix_bitmap *bmp,
                                                                 unsigned int x, unsigned int y, int depth);

/**
 * Converts `dataLen` bytes in the character set `encoding` (any ICU
 * converter name, for example "utf-8", "ISO-8859-1", "Shift_JIS") to a
 * zero-terminated array of code points, stopping at the first NUL.
 * @param data the text (null: the result is null).
 * @param dataLen number of bytes in data.
 * @param encoding the ICU converter name (null: the result is null).
 * @param charLen receives the number of code points (may be null).
 * @return the code points, released with free(); null for an unknown
 *         encoding, malformed or empty input, a null data or encoding, or
 *         no memory.
 */
VANTIX_EXPORT int32_t *parse_string_encoding(const char *data, size_t dataLen, const char *encoding,
                                             size_t *charLen);
/**
 * Draws text on the pad's display in the device's font (device->font),
 * with x at the text's left edge, right edge or middle as `alignment`
 * says and y at its top; `invert` draws white on black. The depth sent is
 * the smaller of the font's and the display's. Text that would cross the
 * display's edge is refused before anything is sent.
 * @param device an open pad with a font.
 * @param data the text.
 * @param dataLen number of bytes in data.
 * @param x where the text goes across; see `alignment`.
 * @param y the display row of the text's top.
 * @param alignment whether x is the text's left edge, right edge or middle.
 * @param invert non-zero for white text on black.
 * @param encoding the text's character set, an ICU converter name.
 * @return VANTIX_CODE_SUCCESS when drawn (also for text without ink);
 *         VANTIX_CODE_ERROR for text that cannot be converted ("String
 *         encoding problem, unable to convert string."), no device or font,
 *         text off the display, or a failed transfer.
 */
VANTIX_EXPORT vantix_error_code vantix_device_draw_text_encoded(vantix_device *device, const char *data,
                                                                unsigned int dataLen, unsigned int x,
                                                                unsigned int y,
                                                                vantix_font_alignment alignment,
                                                                uint8_t invert, const char *encoding);
/** Draws NUL-terminated UTF-8 text, as vantix_device_draw_text_encoded().
 * @param device an open pad with a font.
 * @param text the text.
 * @param x where the text goes across; see `alignment`.
 * @param y the display row of the text's top.
 * @param alignment whether x is the text's left edge, right edge or middle.
 * @param invert non-zero for white text on black.
 * @return as vantix_device_draw_text_encoded(). */
VANTIX_EXPORT vantix_error_code vantix_device_draw_text(vantix_device *device, const char *text,
                                                        unsigned int x, unsigned int y,
                                                        vantix_font_alignment alignment, uint8_t invert);
/** Pixel width and height of text in the device's font, as
 * vantix_device_draw_text_encoded() would draw it.
 * @param device the pad whose font measures.
 * @param data the text.
 * @param dataLen number of bytes in data.
 * @param encoding the text's character set, an ICU converter name.
 * @return the size; 0 for text that cannot be converted or a device
 *         without a font. @{ */
VANTIX_EXPORT unsigned int vantix_measure_text_width_encoding(vantix_device *device, const char *data,
                                                              unsigned int dataLen, const char *encoding);
VANTIX_EXPORT unsigned int vantix_measure_text_height_encoding(vantix_device *device, const char *data,
                                                               unsigned int dataLen, const char *encoding);
/** @} */
/** The same for NUL-terminated UTF-8 text.
 * @param device the pad whose font measures.
 * @param text the text.
 * @return the size; 0 for text that cannot be converted or a device
 *         without a font. @{ */
VANTIX_EXPORT unsigned int vantix_measure_text_width(vantix_device *device, const char *text);
VANTIX_EXPORT unsigned int vantix_measure_text_height(vantix_device *device, const char *text);
/** @} */

/** @} */

/**
 * @defgroup logging Logging and tracing
 * The leveled log (configured by the VANTIX_DEBUG* variables, see the
 * README), its handlers, the packet-capture trace of a serial dispatcher and
 * the system fingerprint.
 * @{
 */

/** Log levels; a handler publishes records at or above its level. */
typedef enum vantix_debug_level {
    VANTIX_DEBUG_LEVEL_ALL = 0,
    VANTIX_DEBUG_LEVEL_FINEST = 100,
    VANTIX_DEBUG_LEVEL_FINER = 200,
    VANTIX_DEBUG_LEVEL_FINE = 300,
    VANTIX_DEBUG_LEVEL_INFO = 400,
    VANTIX_DEBUG_LEVEL_WARNING = 500,
    VANTIX_DEBUG_LEVEL_SEVERE = 600,
    VANTIX_DEBUG_LEVEL_NONE = 700
} vantix_debug_level;

/** One log record, handed to every handler and freed afterwards. */
typedef struct vantix_debug_message {
    vantix_debug_level level; /**< The record's level. */
    char *message;            /**< The formatted text (owned by the record). */
    time_t time;              /**< When it was written. */
    uint32_t thread_id;       /**< Writing thread. */
    uint32_t process_id;      /**< Writing process. */
    const char *function;     /**< Function that wrote it. */
    const char *file;         /**< Source path, relative to the repository root. */
    int32_t line_num;         /**< Source line. */
} vantix_debug_message;

struct vantix_debug_handler;
/** @name Log handler entries
 * The entries of a vantix_debug_handler: open and close bracket its use,
 * flush pushes buffered output, publish writes one record.
 * @{ */
/** Opens the handler's destination. */
typedef void (*vantix_debug_handler_open)(struct vantix_debug_handler *handler);
/** Closes the handler's destination. */
typedef void (*vantix_debug_handler_close)(struct vantix_debug_handler *handler);
/** Pushes out buffered records. */
typedef void (*vantix_debug_handler_flush)(struct vantix_debug_handler *handler);
/** Writes one record; called with the handler list locked. */
typedef void (*vantix_debug_handler_publish)(struct vantix_debug_handler *handler,
                                             vantix_debug_message *message);
/** Returns newly allocated text (released with free) and its length. */
typedef char *(*vantix_debug_handler_formatter)(struct vantix_debug_handler *handler,
                                                vantix_debug_message *message, size_t *length);
/** Returns non-zero when the handler wants the record. */
typedef unsigned char (*vantix_debug_handler_filter)(struct vantix_debug_handler *handler,
                                                     vantix_debug_message *message);
/** @} */

/** A log destination, owned by whoever registers it. */
typedef struct vantix_debug_handler {
    vantix_debug_handler_open open;           /**< May be null. */
    vantix_debug_handler_close close;         /**< May be null. */
    vantix_debug_handler_flush flush;         /**< May be null. */
    vantix_debug_handler_publish publish;     /**< Writes a record. */
    vantix_debug_handler_formatter formatter; /**< Turns a record into text. */
    vantix_debug_handler_filter filter;       /**< Decides whether a record is published. */
    vantix_debug_level level;                 /**< Lowest level published. */
    void *handlerData;                        /**< The handler's own state. */
} vantix_debug_handler;

/** State of the built-in file handler, created by its open entry. */
typedef struct vantix_debug_file_handler_data {
    FILE *file;         /**< The log file. */
    unsigned char open; /**< Non-zero while the file is open. */
} vantix_debug_file_handler_data;

/** The built-in handler that writes formatted records to the log file. */
VANTIX_EXPORT extern vantix_debug_handler vantix_debug_file_handler;

/** Starts the log under the file-name label `lbl` (vantix_init passes
 * "zelnar"): reads the environment and opens the handlers. A second call
 * does nothing until vantix_debug_destroy. */
VANTIX_EXPORT void vantix_debug_init(const char *lbl);
/** Closes every handler and releases the log's state. */
VANTIX_EXPORT void vantix_debug_destroy(void);
/** Reads VANTIX_DEBUG and, when it is on, the other VANTIX_DEBUG_* and
 * VANTIX_TRACE* variables (see the README). */
VANTIX_EXPORT void vantix_debug_setup(void);
/** @name Environment readers
 * Each reads one variable into the log's state: VANTIX_DEBUG_LOCATION (else
 * TMPDIR, TEMP, TMP, else "/tmp/"), VANTIX_DEBUG_LEVEL, VANTIX_DEBUG_FILE,
 * VANTIX_TRACE_FILE, and VANTIX_DEBUG_HANDLERS (empty or containing "file"
 * adds the file handler).
 * @{ */
/** Reads the directory of the log and trace files. */
VANTIX_EXPORT void vantix_read_env_debug_path(void);
/** Reads the log level. */
VANTIX_EXPORT void vantix_read_env_debug_level(void);
/** Reads the log file name. */
VANTIX_EXPORT void vantix_read_env_debug_file(void);
/** Reads the trace file name. */
VANTIX_EXPORT void vantix_read_env_trace_file(void);
/** Reads which handlers to add. */
VANTIX_EXPORT void vantix_read_env_handlers(void);
/** @} */
/** Replaces the first `token` in a malloc'ed text, reallocating it. Nothing
 * happens when the text or token is null or empty, when the token is not
 * found, or when memory runs out.
 * @param src the text, replaced by a new allocation when changed.
 * @param token the text to find.
 * @param replace what goes in its place (null: nothing). */
VANTIX_EXPORT void replace_token(char **src, const char *token, const char *replace);
/** Replaces the first ${pid}, ${label} and ${random} (nine digits) in the
 * malloc'ed file name *fileName. */
VANTIX_EXPORT void vantix_debug_file_sub(char **fileName);
/** Adds a log destination. Safe while the library's threads log: once
 * vantix_debug_remove_handler() returns, the handler is not called again
 * and its owner may release it. A null handler, or a call before the log
 * is started (vantix_init()), is ignored.
 * @param handler the caller's handler; it stays the caller's. */
VANTIX_EXPORT void vantix_debug_add_handler(vantix_debug_handler *handler);
/** Removes a handler added with vantix_debug_add_handler. */
VANTIX_EXPORT void vantix_debug_remove_handler(vantix_debug_handler *handler);
/** Recomputes the lowest level any handler wants (after changing a
 * handler's level). */
VANTIX_EXPORT void vantix_debug_recalculate_debug_level(void);
/** The registered handlers (owned by the log; do not change it). */
VANTIX_EXPORT vantix_list *vantix_debug_get_handlers(void);
/** Writes one record, printf style, to every handler whose level it
 * reaches and whose filter takes it; nothing is formatted when no handler
 * wants the level. Any thread.
 * @param function the writing function's name.
 * @param file the source path, relative to the repository root.
 * @param line_num the source line.
 * @param level the record's level.
 * @param message the printf format; its arguments follow. */
VANTIX_EXPORT void vantix_debug_report_message(const char *function, const char *file, int line_num,
                                               vantix_debug_level level, const char *message, ...)
    VANTIX_PRINTF(5, 6);
/** The same with a va_list.
 * @param function the writing function's name.
 * @param file the source path, relative to the repository root.
 * @param line_num the source line.
 * @param level the record's level.
 * @param message the printf format.
 * @param args its arguments. */
VANTIX_EXPORT void vantix_debug_report_message_va(const char *function, const char *file, int line_num,
                                                  vantix_debug_level level, const char *message, va_list args)
    VANTIX_PRINTF(5, 0);
/** Makes a record with the formatted text (at most 8190 characters).
 * @param function the writing function's name.
 * @param file the source path.
 * @param line_num the source line.
 * @param time when it was written.
 * @param process_id the writing process.
 * @param thread_id the writing thread.
 * @param level the record's level.
 * @param message the printf format (null: empty text).
 * @param args its arguments.
 * @return the new record, released with vantix_debug_free_message(); null
 *         when memory runs out. */
VANTIX_EXPORT vantix_debug_message *vantix_debug_create_message(const char *function, const char *file,
                                                                int line_num, time_t time,
                                                                uint32_t process_id, uint32_t thread_id,
                                                                vantix_debug_level level, const char *message,
                                                                va_list args) VANTIX_PRINTF(8, 0);
/** Releases a record and its text. */
VANTIX_EXPORT void vantix_debug_free_message(vantix_debug_message *message);
/** @name The built-in file handler's entries
 * The entries of vantix_debug_file_handler; another handler may use them
 * too. The log itself skips records below a handler's level before its
 * filter is asked.
 * @{ */
/** Formats a record as one log line.
 * @param handler the handler (not used).
 * @param message the record (null: the result is null).
 * @param length receives the text's length (0 on failure; may be null).
 * @return new text, released with free(); null on failure. */
VANTIX_EXPORT char *vantix_debug_default_formatter(vantix_debug_handler *handler,
                                                   vantix_debug_message *message, size_t *length);
/** Writes the record, formatted by the handler's formatter, to its open
 * log file.
 * @param handler the handler whose formatter and file are used.
 * @param message the record. */
VANTIX_EXPORT void vantix_debug_file_publisher(vantix_debug_handler *handler, vantix_debug_message *message);
/** Creates the handler's vantix_debug_file_handler_data and opens (and
 * truncates) the log file in the log directory; a handler that already has
 * its data, or null, is left alone. */
VANTIX_EXPORT void vantix_debug_file_handler_open(vantix_debug_handler *handler);
/** Closes the log file and frees the handler's data (null accepted). */
VANTIX_EXPORT void vantix_debug_file_handler_close(vantix_debug_handler *handler);
/** Flushes the open log file. */
VANTIX_EXPORT void vantix_debug_file_handler_flush(vantix_debug_handler *handler);
/** Takes every record.
 * @param handler the handler (not used).
 * @param message the record (not used).
 * @return 1. */
VANTIX_EXPORT unsigned char vantix_debug_default_filter(vantix_debug_handler *handler,
                                                        vantix_debug_message *message);
/** @} */
/** The level's name ("INFO", "WARNING", ...); a static text. */
VANTIX_EXPORT const char *vantix_debug_get_level_name(vantix_debug_level level);
/** The calling process's ID. */
VANTIX_EXPORT uint32_t vantix_debug_get_current_process_id(void);
/** The calling thread's ID. */
VANTIX_EXPORT uint32_t vantix_debug_get_current_thread_id(void);

/** Message types of the serial dispatcher's protocol (for the trace). */
typedef enum vantix_serial_message_types {
    VANTIX_MESSAGE_DEVICEENUM_REQUEST = 1,
    VANTIX_MESSAGE_DEVICEENUM_RESPONSE = 2,
    VANTIX_MESSAGE_OPEN_REQUEST = 3,
    VANTIX_MESSAGE_OPEN_RESPONSE = 4,
    VANTIX_MESSAGE_CLOSE_REQUEST = 5,
    VANTIX_MESSAGE_CLOSE_RESPONSE = 6,
    VANTIX_MESSAGE_READ_REQUEST = 7,
    VANTIX_MESSAGE_READ_RESPONSE = 8,
    VANTIX_MESSAGE_SET_OUTPUT_REQUEST = 9,
    VANTIX_MESSAGE_SET_OUTPUT_RESPONSE = 10,
    VANTIX_MESSAGE_SET_FEATURE_REQUEST = 11,
    VANTIX_MESSAGE_SET_FEATURE_RESPONSE = 12,
    VANTIX_MESSAGE_GET_FEATURE_REQUEST = 13,
    VANTIX_MESSAGE_GET_FEATURE_RESPONSE = 14,
    VANTIX_MESSAGE_DEVICE_ATTACH = 15,
    VANTIX_MESSAGE_DEVICE_DETACH = 16,
    VANTIX_MESSAGE_PING = 17,
    VANTIX_MESSAGE_PONG = 18,
    VANTIX_MESSAGE_READ_BULK_REQUEST = 19,
    VANTIX_MESSAGE_READ_BULK_RESPONSE = 20,
    VANTIX_MESSAGE_VERSION_INFO = 21
} vantix_serial_message_types;

/** The message records belong to the serial dispatcher, not to this library. */
typedef union vantix_messages vantix_messages;

/** Writes `len` bytes to the serial link. */
typedef vantix_error_code (*vantix_serial_write_func)(unsigned char *buffer, uint32_t len);
/** Reads at most `len` bytes from the serial link; *readLen says how many. */
typedef vantix_error_code (*vantix_serial_read_func)(unsigned char *buffer, uint32_t len, uint32_t *readLen);
/** Receives a message no one waited for. */
typedef void (*vantix_serial_unhandled_func)(vantix_messages *message);

/** The dispatch record of a serial message dispatcher. The trace reads and
 * replaces only write_func and read_func. */
typedef struct vantix_serial_dispatch {
    /** The dispatcher's own state; this library does not use it. @{ */
    uint32_t seq_num;
    vantix_mutex seq_mutex;
    vantix_list *dispatch_events;
    vantix_mutex dispatch_mutex;
    unsigned char *input_buffer;
    uint32_t input_buffer_len;
    uint32_t input_buffer_write_pos;
    uint32_t input_buffer_read_pos;
    uint32_t input_buffer_data_len;
    vantix_mutex input_buffer_mutex;
    vantix_event input_buffer_event;
    vantix_thread read_thread;
    uint8_t read_thread_closing;
    uint8_t read_thread_running;
    vantix_thread input_thread;
    uint8_t input_thread_running;
    /** @} */
    vantix_serial_write_func write_func;         /**< Sends bytes; wrapped by the trace. */
    vantix_serial_read_func read_func;           /**< Receives bytes; wrapped by the trace. */
    vantix_serial_unhandled_func unhandled_func; /**< Not used by this library. */
    /** The dispatcher's watchdog; not used by this library. @{ */
    vantix_thread watchdog_thread;
    uint32_t watchdog_thread_running;
    /** @} */
} vantix_serial_dispatch;

/** One key=value line of a release file; both texts are owned. */
typedef struct key_value_pair {
    char *key;   /**< Text before the '=' (malloc'ed). */
    char *value; /**< Text after it, unquoted (malloc'ed). */
} key_value_pair;

/** Opens the trace file (when VANTIX_TRACE is on) and writes its pcap
 * header. */
VANTIX_EXPORT void vantix_debug_write_trace_header(void);
/** Appends bytes to the trace as pcap records (several when they exceed
 * one frame); nothing happens while tracing is off.
 * @param buffer the bytes (null with a non-zero len: nothing happens).
 * @param len number of bytes.
 * @param direction 1 for received bytes, anything else for sent ones. */
VANTIX_EXPORT void vantix_debug_write_trace(const unsigned char *buffer, uint32_t len, uint32_t direction);
/** When tracing is on, replaces the dispatcher's read_func and write_func
 * by the wrappers below, which record the traffic and call the originals. */
VANTIX_EXPORT void vantix_debug_trace_wrap_dispatch(vantix_serial_dispatch *dispatch);
/** @name Trace wrappers
 * Record the bytes, then call the function they replaced (failing when
 * there is none).
 * @{ */
/** Records and sends.
 * @param buffer the bytes to send.
 * @param len number of bytes.
 * @return the wrapped function's result; VANTIX_CODE_ERROR when none is
 *         wrapped. */
VANTIX_EXPORT vantix_error_code vantix_debug_trace_write_wrapper(unsigned char *buffer, uint32_t len);
/** Receives and records (at most `len` bytes, whatever *readLen claims).
 * @param buffer receives the bytes.
 * @param len the buffer's size.
 * @param readLen receives the number of bytes read.
 * @return the wrapped function's result; VANTIX_CODE_ERROR when none is
 *         wrapped. */
VANTIX_EXPORT vantix_error_code vantix_debug_trace_reader_wrapper(unsigned char *buffer, uint32_t len,
                                                                  uint32_t *readLen);
/** @} */
/** Logs the system fingerprint (process, architecture, operating system)
 * at INFO. */
VANTIX_EXPORT void vantix_debug_print_fingerprint(void);
/** The running program's path; release with free(). */
VANTIX_EXPORT char *vantix_debug_get_current_process_name(void);
/** The machine name from uname ("x86_64", ...); a static text. */
VANTIX_EXPORT const char *vantix_debug_get_native_architecture(void);
/** "x64" or "x32", by pointer size; a static text. */
VANTIX_EXPORT const char *vantix_debug_get_process_architecture(void);
/** The distribution's name, or "Linux (Unknown)"; a static text. */
VANTIX_EXPORT const char *vantix_debug_get_operating_system(void);
/** Reads a release file (os-release style): adds a key_value_pair to
 * `list` for every key=value line, the value unquoted.
 * @param file the file's path.
 * @param list the list the pairs are added to; release it with
 *             free_keypair_list().
 * @return 1 when the file was read, 0 when it cannot be opened (or is
 *         null). */
VANTIX_EXPORT unsigned char read_key_value_pair_file(const char *file, vantix_list *list);
/** Frees the pairs and the list. */
VANTIX_EXPORT void free_keypair_list(vantix_list *list);
/** The first line of /etc/redhat-release, or null; release with free(). */
VANTIX_EXPORT char *linux_get_redhat_distribution(void);
/** The distribution's pretty name from the os-release or lsb-release files,
 * else "Linux (Unknown)"; release with free(). */
VANTIX_EXPORT char *linux_get_distribution(void);

/** @} */

/**
 * @defgroup support Driver tables and support primitives
 * For drivers and the library's own tools: the driver table and its
 * registry, raw report I/O, the firmware interlock, the process-wide lists,
 * and lists, events, mutexes, threads and ticks.
 * @{
 */

/** @name Driver table entries
 * The entries of a vantix_device_driver. Device entries return
 * VANTIX_CODE_ERROR with a last-error text on failure; buffers hold the
 * report ID in byte 0 and `length` counts it.
 * @{ */
/** Starts the driver (vantix_init); returns success to be marked initialized. */
typedef vantix_error_code (*vantix_driver_init_func)(void);
/** Stops the driver (vantix_destroy). */
typedef vantix_error_code (*vantix_driver_destroy_func)(vantix_device_driver *driver);
/** Opens the pad's transport. */
typedef vantix_error_code (*vantix_open_device_func)(vantix_device *device);
/** Closes the pad's transport. */
typedef vantix_error_code (*vantix_close_device_func)(vantix_device *device);
/** Hands back a new chain of records in *start (null when none). */
typedef vantix_error_code (*vantix_list_devices_func)(vantix_device_driver *driver, vantix_device **start);
/** Waits a while for input and delivers it through input_report. */
typedef vantix_error_code (*vantix_read_device_func)(vantix_device *device);
/** Sends an output report. */
typedef vantix_error_code (*vantix_set_output_report_func)(vantix_device *device, unsigned char *buffer,
                                                           unsigned int length);
/** Sends a feature report. */
typedef vantix_error_code (*vantix_set_feature_report_func)(vantix_device *device, unsigned char *buffer,
                                                            unsigned int length);
/** Reads a feature report into the buffer. */
typedef vantix_error_code (*vantix_get_feature_report_func)(vantix_device *device, unsigned char *buffer,
                                                            unsigned int length);
/** The driver's name ("REAL", "SIM"). */
typedef const char *(*vantix_get_driver_name_func)(void);
/** Non-zero while the driver's hotplug thread runs. */
typedef uint8_t (*vantix_driver_thread_func)(void);
/** Waits for the driver's hotplug thread to end. */
typedef void (*vantix_driver_thread_wait_func)(void);
/** Releases what the driver keeps for the process (vantix_destroy). */
typedef void (*vantix_driver_shutdown_func)(void);
/** The hotplug callback list (filled in by the library). */
typedef vantix_list *(*get_hotplug_callbacks_func)(void);
/** Frees one record the driver listed. */
typedef vantix_error_code (*vantix_driver_device_free_func)(vantix_device *device);
/** Sets the last-error text (filled in by the library). */
typedef void (*vantix_report_error_func)(const char *fmt, ...);
/** Writes a log record (filled in by the library). */
typedef void (*vantix_debug_func)(const char *function, const char *file, int line_num,
                                  vantix_debug_level level, const char *message, ...);
/** Decodes raw input and calls the pad's input callbacks (filled in by the library). */
typedef void (*vantix_deliver_input_report_func)(vantix_device *device, unsigned char *buffer,
                                                 unsigned int length);
/** @} */

/**
 * The table through which every device operation reaches a driver. Owned by
 * whoever supplies it; the registry never copies or frees it. The library
 * maintains `initialized` and fills get_hotplug_callbacks, report_error,
 * debug and input_report when the table is registered.
 */
struct vantix_device_driver {
    /** Entries the driver supplies; a null entry makes the operation fail
     * with "Device has no driver for this operation.". See the typedefs. @{ */
    vantix_driver_init_func driver_init;
    vantix_driver_destroy_func driver_destroy;
    vantix_open_device_func open_device;
    vantix_close_device_func close_device;
    vantix_list_devices_func list_devices;
    vantix_read_device_func device_read;
    vantix_set_output_report_func set_output_report;
    vantix_set_feature_report_func set_feature_report;
    vantix_get_feature_report_func get_feature_report;
    vantix_get_driver_name_func get_name;
    vantix_driver_thread_func thread_running;
    vantix_driver_thread_wait_func wait_thread;
    /** @} */
    uint8_t initialized;                  /**< Set by vantix_init when driver_init succeeded. */
    vantix_driver_shutdown_func shutdown; /**< Called by vantix_destroy for every table. */
    /** Filled in by the library when the table is registered. @{ */
    get_hotplug_callbacks_func get_hotplug_callbacks;
    /** @} */
    vantix_driver_device_free_func free_device; /**< Frees a listed record; null: the library's own. */
    /** Filled in by the library when the table is registered. @{ */
    vantix_report_error_func report_error;
    vantix_debug_func debug;
    vantix_deliver_input_report_func input_report;
    /** @} */
};

/** The platform driver built into this library, named "REAL". */
VANTIX_EXPORT extern vantix_device_driver vantix_real_driver;

/** Registers a table you own (after vantix_init; a null or already
 * registered table is ignored) and fills in its debug, report_error,
 * get_hotplug_callbacks and input_report entries. The next vantix_init
 * starts it. */
VANTIX_EXPORT void vantix_add_device_driver(vantix_device_driver *driver);
/** Unregisters a table without stopping it. */
VANTIX_EXPORT void vantix_remove_device_driver(vantix_device_driver *driver);
/** Number of registered tables. */
VANTIX_EXPORT size_t vantix_get_driver_count(void);
/** The registered tables (owned by the library; do not change it). */
VANTIX_EXPORT vantix_list *vantix_get_drivers(void);

/** Frees one record as the library allocates them (strings, regions, UUID,
 * callback list); the free_device of drivers without their own.
 * @return always VANTIX_CODE_SUCCESS (also for null). */
VANTIX_EXPORT vantix_error_code vantix_real_free_device(vantix_device *device);

/** The platform's hook when a pad closes (vantix_close_device calls it);
 * it does nothing on Linux and macOS. */
VANTIX_EXPORT void vantix_device_notify_close(vantix_device *device);

/** Decodes one raw report and calls the pad's input callbacks with it, on
 * the calling thread (the input_report entry of every driver table). A
 * report that does not decode reaches no callback.
 * @param device the open pad it came from.
 * @param report the raw report, its ID in byte 0.
 * @param len number of bytes in report. */
VANTIX_EXPORT void vantix_get_driver_input_report(vantix_device *device, unsigned char *report,
                                                  unsigned int len);

/** The same buffer as vantix_get_last_error (for drivers). */
VANTIX_EXPORT char *vantix_get_last_error_internal(void);
/** Sets the last-error text, printf style, without logging (drivers use it
 * through their table's report_error).
 * @param fmt the printf format; its arguments follow. */
VANTIX_EXPORT void vantix_report_error_internal(const char *fmt, ...) VANTIX_PRINTF(1, 2);

/** Wire lengths of the feature reports, the ID byte included. */
typedef enum vantix_report_size {
    VANTIX_FEATURE_RUNMODE_SIZE = 2,
    VANTIX_FEATURE_CAPABILITIES_SIZE = 65,
    VANTIX_FEATURE_DEVICE_STATUS_SIZE = 73,
    VANTIX_FEATURE_DEVICECONFIGURE_SIZE = 3,
    VANTIX_FEATURE_CONTACTCOUNTMAXIMUM_SIZE = 2,
    VANTIX_FEATURE_FREQUENCYAMPLITUDE_SIZE = 4,
    VANTIX_FEATURE_POWERSTATE_SIZE = 2,
    VANTIX_FEATURE_VERSIONINFO_SIZE = 9,
    VANTIX_FEATURE_COORDINATERANGE_SIZE = 9,
    VANTIX_FEATURE_FIRMWAREDOWNLOAD_SIZE = 134,
    VANTIX_FEATURE_ERRORCORRECTION_SIZE = 2049,
    VANTIX_FEATURE_SERIALNUMBER_SIZE = 35,
    VANTIX_FEATURE_SAVECONFIGURATION_SIZE = 2,
    VANTIX_FEATURE_DOWNLOADCOMMANDSTATUS_SIZE = 3,
    VANTIX_FEATURE_OPERATINGMODE_SIZE = 5,
    VANTIX_FEATURE_GENERALPARAMETERS_SIZE = 6,
    VANTIX_FEATURE_ASICRESET_SIZE = 2,
    VANTIX_FEATURE_REGISTERGET_SIZE = 9,
    VANTIX_FEATURE_REGISTERSET_SIZE = 3,
    VANTIX_FEATURE_PENPARAMETERS_SIZE = 18,
    VANTIX_FEATURE_TOUCHPARAMETERS_SIZE = 22,
    VANTIX_FEATURE_OUTPUTCONFIGURATION_SIZE = 10,
    VANTIX_FEATURE_PERIPHERAL_CONFIGURATION_SIZE = 17,
    VANTIX_FEATURE_DISPLAYINFO_SIZE = 10,
    VANTIX_FEATURE_DISPLAYCONTENT_SIZE = 2,
    VANTIX_FEATURE_DISPLAYSETTINGS_SIZE = 7,
    VANTIX_FEATURE_UPDATEDISPLAYCHUNK_SIZE = 2049,
    VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION_SIZE = 5,
    VANTIX_FEATURE_PIXELS_SIZE = 1031,
    VANTIX_FEATURE_CALIBRATE_SIZE = 2,
    VANTIX_FEATURE_CALIBRATION_DATA_SIZE = 49,
    VANTIX_FEATURE_RESOURCE_IDX_SIZE = 2,
    VANTIX_FEATURE_RESOURCE_INFO_SIZE = 20,
    VANTIX_FEATURE_RESOURCE_SIZE = 1045,
    VANTIX_FEATURE_DELETE_RESOURCE_SIZE = 2,
    VANTIX_FEATURE_RESOURCE_AVAILABILITY_SIZE = 18,
    VANTIX_FEATURE_REGION_IDX_SIZE = 2,
    VANTIX_FEATURE_DELETE_REGION_SIZE = 2,
    VANTIX_FEATURE_SCREEN_IDX_SIZE = 2,
    VANTIX_FEATURE_SCREEN_SIZE = 80,
    VANTIX_FEATURE_DELETE_SCREEN_SIZE = 2,
    VANTIX_FEATURE_MODIFY_SCREEN_SIZE = 13,
    VANTIX_FEATURE_SCREEN_REGION_INFO_SIZE = 25,
    VANTIX_FEATURE_ACTIVE_SCREEN_SIZE = 2,
    VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD_SIZE = 2,
    VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS_SIZE = 69,
    VANTIX_FEATURE_ENGINEERING_TEST_SIZE = 67,
    VANTIX_FEATURE_REGIONUPDATE_SIZE = 12,
    VANTIX_FEATURE_REGIONDELETE_SIZE = 2,
    VANTIX_FEATURE_REGIONEDITCOMPLETE_SIZE = 2,
    VANTIX_INPUT_COORDINATE_SIZE = 6,
    VANTIX_INPUT_EXTENDEDCOORDINATE_SIZE = 7,
    VANTIX_INPUT_ADCVALUES_SIZE = 11,
    VANTIX_INPUT_MAGCARDDATA_SIZE = 231,
    VANTIX_INPUT_DEBUGCOORDINATE_SIZE = 22
} vantix_report_size;

/**
 * @name Raw reports
 * Send or read one report through the pad's driver: byte 0 of buffer is the
 * report ID, length counts it. Failures: "No device given.", "Device has no
 * driver for this operation.", or the transport's text (Linux: "Problem
 * sending HID report %hhu (%i): %s", "Problem getting HID report %hhu
 * (%i): %s"). No interlock wait: the calls of each report family do that.
 * @{
 */
/** Sends an output report.
 * @param device the pad.
 * @param buffer the report, its ID in byte 0.
 * @param length number of bytes in buffer, the ID included.
 * @return VANTIX_CODE_ERROR when refused or when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_hid_set_output_report(vantix_device *device, unsigned char *buffer,
                                                             unsigned int length);
/** Sends a feature report.
 * @param device the pad.
 * @param buffer the report, its ID in byte 0.
 * @param length number of bytes in buffer, the ID included.
 * @return VANTIX_CODE_ERROR when refused or when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_hid_set_feature_report(vantix_device *device, unsigned char *buffer,
                                                              unsigned int length);
/** Reads a feature report into the buffer.
 * @param device the pad.
 * @param buffer receives the report; set byte 0 to its ID first.
 * @param length the report's length, the ID included.
 * @return VANTIX_CODE_ERROR when refused or when the transfer fails. */
VANTIX_EXPORT vantix_error_code vantix_hid_get_feature_report(vantix_device *device, unsigned char *buffer,
                                                              unsigned int length);
/** @} */

/** Command groups the pad's firmware locks while it works in the background. */
typedef enum interlock_types {
    INTERLOCK_REPORTBUFFER = 1,
    INTERLOCK_OPERATINGMODE = 2,
    INTERLOCK_REGION = 4,
    INTERLOCK_SCREEN = 8,
    INTERLOCK_DISPLAY = 16,
    INTERLOCK_CALIBRATE = 32
} interlock_types;

/** Polls the device status until none of the given command groups is
 * locked. Succeeds at once while vantix_set_legacy_firmware() is on.
 * @param device the pad.
 * @param sleep the number of polls, 1 ms apart.
 * @param lockFlags interlock_types values, or-ed.
 * @return 1 when clear, 0 on timeout ("Problem waiting for firmware
 *         interlock: device didn't respond in time, ..."). */
VANTIX_EXPORT int wait_for_interlock(vantix_device *device, int sleep, int lockFlags);

/** Turns interlock waits off for firmware without lock bits. Process-wide.
 * @param version not used.
 * @param legacy while non-zero, every firmware interlock wait succeeds at
 *               once. */
VANTIX_EXPORT void vantix_set_legacy_firmware(int version, char legacy);

/**
 * @name Process-wide lists
 * The open-device list (records of open pads) and the hotplug callback
 * list, owned by the library. Hold vantix_lock_open_devices while walking
 * the open-device list; change the hotplug list only through
 * vantix_register_hotplug_callback. The setters replace the lists without
 * freeing the old ones.
 * @{
 */
/** The open-device list (null before the first open). */
VANTIX_EXPORT vantix_list *vantix_get_open_devices(void);
/** Replaces the open-device list. */
VANTIX_EXPORT void vantix_set_open_devices(vantix_list *list);
/** Locks the open-device list. */
VANTIX_EXPORT void vantix_lock_open_devices(void);
/** Unlocks the open-device list. */
VANTIX_EXPORT void vantix_unlock_open_devices(void);
/** The hotplug callback list. */
VANTIX_EXPORT vantix_list *vantix_get_device_callbacks(void);
/** Replaces the hotplug callback list. */
VANTIX_EXPORT void vantix_set_device_callbacks(vantix_list *list);
/** @} */

/**
 * Lists of untyped pointers. vantix_create_list makes an empty list (release it with vantix_list_free,
 * which frees the items but never the elements). vantix_list_add appends and
 * returns the new item; vantix_list_find returns the first item holding
 * `ptr`, or null; the removers return 1 when they removed an item, else 0.
 * Null lists are accepted (count 0, nothing found). Not thread-safe: guard a
 * shared list yourself.
 * @{
 */
VANTIX_EXPORT vantix_list *vantix_create_list(void);
VANTIX_EXPORT void vantix_list_free(vantix_list *list);
VANTIX_EXPORT unsigned int vantix_list_count(vantix_list *list);
/** @} */
/** Appends an element.
 * @param list the list (null: nothing happens).
 * @param ptr the element; the list does not own it.
 * @return the new item, or null for a null list or when memory runs out. */
VANTIX_EXPORT vantix_list_item *vantix_list_add(vantix_list *list, void *ptr);
/** Unlinks and frees one item (not its element).
 * @param list the list holding the item.
 * @param item the item to remove.
 * @return 1 when removed, 0 for a null list or item. */
VANTIX_EXPORT unsigned char vantix_list_remove(vantix_list *list, vantix_list_item *item);
/** Finds an element.
 * @param list the list (null: nothing is found).
 * @param ptr the element to look for.
 * @return the first item holding `ptr`, or null. */
VANTIX_EXPORT vantix_list_item *vantix_list_find(vantix_list *list, void *ptr);
/** Removes the first item holding an element (not the element).
 * @param list the list (null: nothing happens).
 * @param ptr the element.
 * @return 1 when an item was removed, else 0. */
VANTIX_EXPORT unsigned char vantix_list_remove_ptr(vantix_list *list, void *ptr);

/**
 * Events and mutexes: thin wrappers over POSIX: init before use, destroy after the last use.
 * vantix_event_wait blocks until the event is triggered (it stays
 * triggered until vantix_event_reset).
 * @{
 */
VANTIX_EXPORT void vantix_event_init(vantix_event *event);
VANTIX_EXPORT void vantix_event_trigger(vantix_event *event);
VANTIX_EXPORT void vantix_event_reset(vantix_event *event);
VANTIX_EXPORT void vantix_event_wait(vantix_event *event);
VANTIX_EXPORT void vantix_event_destroy(vantix_event *event);

VANTIX_EXPORT void vantix_mutex_init(vantix_mutex *mutex);
VANTIX_EXPORT void vantix_mutex_lock(vantix_mutex *mutex);
VANTIX_EXPORT void vantix_mutex_unlock(vantix_mutex *mutex);
VANTIX_EXPORT void vantix_mutex_destroy(vantix_mutex *mutex);
/** @} */

/** The entry point of a thread started by vantix_thread_init. */
typedef void *(*vantix_thread_func)(void *data);

/**
 * Starts func(data) on a new thread. When the thread cannot be created (or
 * func is null), thread->thread is left zeroed and vantix_thread_join on it
 * returns at once.
 * @param thread the caller's record, receiving the thread.
 * @param func the entry point, a vantix_thread_func.
 * @param data its argument.
 */
VANTIX_EXPORT void vantix_thread_init(vantix_thread *thread, void *func, void *data);
/** Waits for a thread started by vantix_thread_init to end. */
VANTIX_EXPORT void vantix_thread_join(vantix_thread *thread);

/** Wall-clock milliseconds, wrapping modulo 2^32. */
VANTIX_EXPORT unsigned int vantix_get_ticks(void);

/** @} */

#ifdef __cplusplus
}
#endif

#endif /**< VANTIX_ZELNAR_H */
