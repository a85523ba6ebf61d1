/*
 * libvantix-zelnar: drive USB signature pads from C and C++.
 *
 * This is the library's one public header. It compiles as C99 and as C++.
 * Every function returning vantix_error_code reports failure with
 * VANTIX_CODE_ERROR and leaves a text for vantix_get_last_error().
 */
#ifndef VANTIX_ZELNAR_H
#define VANTIX_ZELNAR_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <time.h>
#include <pthread.h>
#include <stdarg.h>

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

/* ------------------------------------------------------------------------ */
/* Results                                                                   */
/* ------------------------------------------------------------------------ */

typedef enum vantix_error_code { VANTIX_CODE_ERROR = 0, VANTIX_CODE_SUCCESS = 1 } vantix_error_code;

/* ------------------------------------------------------------------------ */
/* Lists, events, mutexes, threads, ticks, last error                        */
/* ------------------------------------------------------------------------ */

/* A doubly linked list of untyped pointers. It never owns its elements. */
typedef struct vantix_list_item {
    void *ptr;
    struct vantix_list_item *next;
    struct vantix_list_item *prev;
} vantix_list_item;

typedef struct vantix_list {
    vantix_list_item *first;
    vantix_list_item *last;
} vantix_list;

typedef struct vantix_event {
    pthread_mutex_t mutex;
    pthread_cond_t cond;
    uint8_t triggered;
} vantix_event;

typedef struct vantix_mutex {
    pthread_mutex_t mutex;
} vantix_mutex;

typedef struct vantix_thread {
    pthread_t thread;
} vantix_thread;

/* The entry point of a thread started by vantix_thread_init. */
typedef void *(*vantix_thread_func)(void *data);

VANTIX_EXPORT vantix_list *vantix_create_list(void);
VANTIX_EXPORT void vantix_list_free(vantix_list *list);
VANTIX_EXPORT vantix_list_item *vantix_list_add(vantix_list *list, void *ptr);
VANTIX_EXPORT unsigned char vantix_list_remove(vantix_list *list, vantix_list_item *item);
VANTIX_EXPORT unsigned int vantix_list_count(vantix_list *list);
VANTIX_EXPORT vantix_list_item *vantix_list_find(vantix_list *list, void *ptr);
VANTIX_EXPORT unsigned char vantix_list_remove_ptr(vantix_list *list, void *ptr);

VANTIX_EXPORT void vantix_event_init(vantix_event *event);
VANTIX_EXPORT void vantix_event_trigger(vantix_event *event);
VANTIX_EXPORT void vantix_event_reset(vantix_event *event);
VANTIX_EXPORT void vantix_event_wait(vantix_event *event);
VANTIX_EXPORT void vantix_event_destroy(vantix_event *event);

VANTIX_EXPORT void vantix_mutex_init(vantix_mutex *mutex);
VANTIX_EXPORT void vantix_mutex_lock(vantix_mutex *mutex);
VANTIX_EXPORT void vantix_mutex_unlock(vantix_mutex *mutex);
VANTIX_EXPORT void vantix_mutex_destroy(vantix_mutex *mutex);

/*
 * Starts func(data) on a new thread. `func` has the type vantix_thread_func.
 * When the thread cannot be created, thread->thread is left zeroed and
 * vantix_thread_join on it returns at once.
 */
VANTIX_EXPORT void vantix_thread_init(vantix_thread *thread, void *func, void *data);
VANTIX_EXPORT void vantix_thread_join(vantix_thread *thread);

/* Wall-clock milliseconds, wrapping modulo 2^32. */
VANTIX_EXPORT unsigned int vantix_get_ticks(void);

/* The last error text (at most 1022 characters). Owned by the library. */
VANTIX_EXPORT char *vantix_get_last_error(void);
VANTIX_EXPORT char *vantix_get_last_error_internal(void);
VANTIX_EXPORT void vantix_report_error_internal(const char *fmt, ...) VANTIX_PRINTF(1, 2);

/* ------------------------------------------------------------------------ */
/* Diagnostics: the leveled log                                              */
/* ------------------------------------------------------------------------ */

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

/* One log record, handed to every handler and freed afterwards. */
typedef struct vantix_debug_message {
    vantix_debug_level level;
    char *message;
    time_t time;
    uint32_t thread_id;
    uint32_t process_id;
    const char *function;
    const char *file;
    int32_t line_num;
} vantix_debug_message;

struct vantix_debug_handler;
typedef void (*vantix_debug_handler_open)(struct vantix_debug_handler *handler);
typedef void (*vantix_debug_handler_close)(struct vantix_debug_handler *handler);
typedef void (*vantix_debug_handler_flush)(struct vantix_debug_handler *handler);
typedef void (*vantix_debug_handler_publish)(struct vantix_debug_handler *handler,
                                             vantix_debug_message *message);
/* Returns newly allocated text (released with free) and its length. */
typedef char *(*vantix_debug_handler_formatter)(struct vantix_debug_handler *handler,
                                                vantix_debug_message *message, size_t *length);
typedef unsigned char (*vantix_debug_handler_filter)(struct vantix_debug_handler *handler,
                                                     vantix_debug_message *message);

/* A log destination, owned by whoever registers it. */
typedef struct vantix_debug_handler {
    vantix_debug_handler_open open;
    vantix_debug_handler_close close;
    vantix_debug_handler_flush flush;
    vantix_debug_handler_publish publish;
    vantix_debug_handler_formatter formatter;
    vantix_debug_handler_filter filter;
    vantix_debug_level level;
    void *handlerData;
} vantix_debug_handler;

/* State of the built-in file handler, created by its open entry. */
typedef struct vantix_debug_file_handler_data {
    FILE *file;
    unsigned char open;
} vantix_debug_file_handler_data;

/* The built-in handler that writes formatted records to the log file. */
VANTIX_EXPORT extern vantix_debug_handler vantix_debug_file_handler;

VANTIX_EXPORT void vantix_debug_init(const char *lbl);
VANTIX_EXPORT void vantix_debug_destroy(void);
VANTIX_EXPORT void vantix_debug_setup(void);
VANTIX_EXPORT void vantix_read_env_debug_path(void);
VANTIX_EXPORT void vantix_read_env_debug_level(void);
VANTIX_EXPORT void vantix_read_env_debug_file(void);
VANTIX_EXPORT void vantix_read_env_trace_file(void);
VANTIX_EXPORT void vantix_read_env_handlers(void);
VANTIX_EXPORT void replace_token(char **src, const char *token, const char *replace);
VANTIX_EXPORT void vantix_debug_file_sub(char **fileName);
/* Safe while the library's threads log: once vantix_debug_remove_handler
 * returns, the handler is not called again and its owner may release it. */
VANTIX_EXPORT void vantix_debug_add_handler(vantix_debug_handler *handler);
VANTIX_EXPORT void vantix_debug_remove_handler(vantix_debug_handler *handler);
VANTIX_EXPORT void vantix_debug_recalculate_debug_level(void);
VANTIX_EXPORT vantix_list *vantix_debug_get_handlers(void);
VANTIX_EXPORT void vantix_debug_report_message(const char *function, const char *file, int line_num,
                                               vantix_debug_level level, const char *message, ...)
    VANTIX_PRINTF(5, 6);
VANTIX_EXPORT void vantix_debug_report_message_va(const char *function, const char *file, int line_num,
                                                  vantix_debug_level level, const char *message, va_list args)
    VANTIX_PRINTF(5, 0);
VANTIX_EXPORT vantix_debug_message *vantix_debug_create_message(const char *function, const char *file,
                                                                int line_num, time_t time,
                                                                uint32_t process_id, uint32_t thread_id,
                                                                vantix_debug_level level, const char *message,
                                                                va_list args) VANTIX_PRINTF(8, 0);
VANTIX_EXPORT void vantix_debug_free_message(vantix_debug_message *message);
VANTIX_EXPORT char *vantix_debug_default_formatter(vantix_debug_handler *handler,
                                                   vantix_debug_message *message, size_t *length);
VANTIX_EXPORT void vantix_debug_file_publisher(vantix_debug_handler *handler, vantix_debug_message *message);
VANTIX_EXPORT void vantix_debug_file_handler_open(vantix_debug_handler *handler);
VANTIX_EXPORT void vantix_debug_file_handler_close(vantix_debug_handler *handler);
VANTIX_EXPORT void vantix_debug_file_handler_flush(vantix_debug_handler *handler);
VANTIX_EXPORT unsigned char vantix_debug_default_filter(vantix_debug_handler *handler,
                                                        vantix_debug_message *message);
VANTIX_EXPORT const char *vantix_debug_get_level_name(vantix_debug_level level);
VANTIX_EXPORT uint32_t vantix_debug_get_current_process_id(void);
VANTIX_EXPORT uint32_t vantix_debug_get_current_thread_id(void);

/* ------------------------------------------------------------------------ */
/* Diagnostics: packet-capture trace of a serial dispatcher, fingerprint     */
/* ------------------------------------------------------------------------ */

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

/* The message records belong to the serial dispatcher, not to this library. */
typedef union vantix_messages vantix_messages;

typedef vantix_error_code (*vantix_serial_write_func)(unsigned char *buffer, uint32_t len);
typedef vantix_error_code (*vantix_serial_read_func)(unsigned char *buffer, uint32_t len, uint32_t *readLen);
typedef void (*vantix_serial_unhandled_func)(vantix_messages *message);

/* The dispatch record of a serial message dispatcher. The trace reads and
 * replaces only write_func and read_func. */
typedef struct vantix_serial_dispatch {
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
    vantix_serial_write_func write_func;
    vantix_serial_read_func read_func;
    vantix_serial_unhandled_func unhandled_func;
    vantix_thread watchdog_thread;
    uint32_t watchdog_thread_running;
} vantix_serial_dispatch;

/* One key=value line of a release file; both texts are owned. */
typedef struct key_value_pair {
    char *key;
    char *value;
} key_value_pair;

VANTIX_EXPORT void vantix_debug_write_trace_header(void);
VANTIX_EXPORT void vantix_debug_write_trace(const unsigned char *buffer, uint32_t len, uint32_t direction);
VANTIX_EXPORT void vantix_debug_trace_wrap_dispatch(vantix_serial_dispatch *dispatch);
VANTIX_EXPORT vantix_error_code vantix_debug_trace_write_wrapper(unsigned char *buffer, uint32_t len);
VANTIX_EXPORT vantix_error_code vantix_debug_trace_reader_wrapper(unsigned char *buffer, uint32_t len,
                                                                  uint32_t *readLen);
VANTIX_EXPORT void vantix_debug_print_fingerprint(void);
VANTIX_EXPORT char *vantix_debug_get_current_process_name(void);
VANTIX_EXPORT const char *vantix_debug_get_native_architecture(void);
VANTIX_EXPORT const char *vantix_debug_get_process_architecture(void);
VANTIX_EXPORT const char *vantix_debug_get_operating_system(void);
VANTIX_EXPORT unsigned char read_key_value_pair_file(const char *file, vantix_list *list);
VANTIX_EXPORT void free_keypair_list(vantix_list *list);
VANTIX_EXPORT char *linux_get_redhat_distribution(void);
VANTIX_EXPORT char *linux_get_distribution(void);

/* ------------------------------------------------------------------------ */
/* Device drivers and the library lifecycle                                  */
/* ------------------------------------------------------------------------ */

typedef struct vantix_device vantix_device;
typedef struct vantix_device_driver vantix_device_driver;

/* Display information (feature report 100), read when a pad is opened. */
typedef struct vantix_hid_feature_display_info {
    uint8_t report_id;
    uint16_t width;
    uint16_t height;
    uint8_t color_depth;
    uint8_t text_width;
    uint8_t text_height;
    uint8_t region_count;
    uint8_t max_caption_length;
} vantix_hid_feature_display_info;

/* Firmware version (feature report 22), read when a pad is opened. */
typedef struct vantix_hid_feature_version {
    uint8_t report_id;
    uint8_t kernel_version[3];
    uint8_t firmware_version[3];
    uint16_t asic_signature;
} vantix_hid_feature_version;

/* Legacy regions: a colour, declared alpha, blue, green, red (on the wire
 * red, green, blue, alpha). */
typedef struct vantix_color {
    uint8_t alpha;
    uint8_t blue;
    uint8_t green;
    uint8_t red;
} vantix_color;

typedef enum vantix_region_type {
    VANTIX_REGION_TYPE_CONTAINER = 0,
    VANTIX_REGION_TYPE_BUTTON = 1,
    VANTIX_REGION_TYPE_LINE = 2,
    VANTIX_REGION_TYPE_GRAPHIC = 3,
    VANTIX_REGION_TYPE_TEXT = 4,
    VANTIX_REGION_TYPE_NULL = 255
} vantix_region_type;

typedef struct vantix_device_region_common {
    uint8_t region_number;
    vantix_region_type region_type;
    uint8_t accept_touch;
    uint8_t decode;
    uint8_t visible;
    uint8_t in_use;
    uint8_t has_frame;
    uint8_t reserved_1;
    uint32_t reserved_2;
    uint16_t x1;
    uint16_t x2;
    uint16_t y1;
    uint16_t y2;
    vantix_color color_foreground;
    vantix_color color_background;
} vantix_device_region_common;

typedef struct vantix_device_region_container {
    vantix_device_region_common region_info;
    uint8_t ink_enable;
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint16_t reserved_3;
} vantix_device_region_container;

/* Captions hold at most 99 characters and their terminator, whatever
 * longer maximum a pad announces. */
#define VANTIX_REGION_CAPTION_SIZE 100

typedef struct vantix_device_region_button {
    vantix_device_region_common region_info;
    uint8_t parent;
    uint8_t enable;
    uint8_t highlight_on_select;
    uint8_t clear_on_select;
    uint16_t reserved;
    char caption[VANTIX_REGION_CAPTION_SIZE];
} vantix_device_region_button;

typedef struct vantix_device_region_line {
    vantix_device_region_common region_info;
    uint8_t parent;
    uint8_t width;
    uint16_t reserved;
} vantix_device_region_line;

/* One legacy region; common.region_type says which member applies. */
typedef union vantix_device_region_info {
    vantix_device_region_common common;
    vantix_device_region_container container;
    vantix_device_region_button button;
    vantix_device_region_line line;
} vantix_device_region_info;

/* A decoded input report. */
typedef union vantix_input_report vantix_input_report;

/* Platform state of an open pad (Linux: its hidraw node; macOS: the report
 * map and read thread only, `handle` is -1 and the IOKit state is the
 * driver's own). */
typedef struct vantix_device_os_params {
    int handle;
    uint8_t interrupted;
    pthread_t readUntilDoneThread;
    unsigned char hid_report_map[255];
} vantix_device_os_params;

/* One attached pad, from listing until vantix_free_device_list. */
struct vantix_device {
    char *path;
    uint16_t product_id;
    uint16_t vendor_id;
    char *model;
    char *manufacturer;
    unsigned char *uuid;
    uint8_t open;
    uint8_t button_down;
    uint8_t last_button;
    vantix_hid_feature_display_info display_info;
    vantix_hid_feature_version version_info;
    vantix_device_region_info *regions;
    vantix_list *input_callbacks;
    void *user_defined;
    vantix_device *next;
    vantix_device_driver *driver;
    void *driver_defined;
    void *font;
    vantix_device_os_params parameters;
};

/* Called on the reading thread for every decoded input report. The report
 * and the raw bytes are valid only during the call. */
typedef void (*vantix_input_callback)(vantix_device *device, vantix_input_report *report, uint8_t type,
                                      unsigned char *buffer, unsigned int length);

typedef enum vantix_hotplug_type {
    VANTIX_HOTPLUG_ATTACHED = 0,
    VANTIX_HOTPLUG_DETACHED = 1
} vantix_hotplug_type;

/* Called on the hotplug thread; the path is valid only during the call. */
typedef void (*vantix_hotplug_callback)(vantix_hotplug_type type, const char *path);

typedef vantix_error_code (*vantix_driver_init_func)(void);
typedef vantix_error_code (*vantix_driver_destroy_func)(vantix_device_driver *driver);
typedef vantix_error_code (*vantix_open_device_func)(vantix_device *device);
typedef vantix_error_code (*vantix_close_device_func)(vantix_device *device);
typedef vantix_error_code (*vantix_list_devices_func)(vantix_device_driver *driver, vantix_device **start);
typedef vantix_error_code (*vantix_read_device_func)(vantix_device *device);
typedef vantix_error_code (*vantix_set_output_report_func)(vantix_device *device, unsigned char *buffer,
                                                           unsigned int length);
typedef vantix_error_code (*vantix_set_feature_report_func)(vantix_device *device, unsigned char *buffer,
                                                            unsigned int length);
typedef vantix_error_code (*vantix_get_feature_report_func)(vantix_device *device, unsigned char *buffer,
                                                            unsigned int length);
typedef const char *(*vantix_get_driver_name_func)(void);
typedef uint8_t (*vantix_driver_thread_func)(void);
typedef void (*vantix_driver_thread_wait_func)(void);
typedef void (*vantix_driver_shutdown_func)(void);
typedef vantix_list *(*get_hotplug_callbacks_func)(void);
typedef vantix_error_code (*vantix_driver_device_free_func)(vantix_device *device);
typedef void (*vantix_report_error_func)(const char *fmt, ...);
typedef void (*vantix_debug_func)(const char *function, const char *file, int line_num,
                                  vantix_debug_level level, const char *message, ...);
typedef void (*vantix_deliver_input_report_func)(vantix_device *device, unsigned char *buffer,
                                                 unsigned int length);

/*
 * The table through which every device operation reaches a driver. Owned by
 * whoever supplies it; the registry never copies or frees it. The library
 * maintains `initialized` and fills get_hotplug_callbacks, report_error,
 * debug and input_report when the table is registered.
 */
struct vantix_device_driver {
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
    uint8_t initialized;
    vantix_driver_shutdown_func shutdown;
    get_hotplug_callbacks_func get_hotplug_callbacks;
    vantix_driver_device_free_func free_device;
    vantix_report_error_func report_error;
    vantix_debug_func debug;
    vantix_deliver_input_report_func input_report;
};

/* The platform driver built into this library, named "REAL". */
VANTIX_EXPORT extern vantix_device_driver vantix_real_driver;

VANTIX_EXPORT void vantix_init(void);
VANTIX_EXPORT void vantix_destroy(void);
VANTIX_EXPORT void vantix_add_device_driver(vantix_device_driver *driver);
VANTIX_EXPORT void vantix_remove_device_driver(vantix_device_driver *driver);
VANTIX_EXPORT size_t vantix_get_driver_count(void);
VANTIX_EXPORT vantix_list *vantix_get_drivers(void);

VANTIX_EXPORT const char *vantix_get_zelnar_version(void);
VANTIX_EXPORT unsigned int vantix_get_zelnar_version_major(void);
VANTIX_EXPORT unsigned int vantix_get_zelnar_version_minor(void);
VANTIX_EXPORT unsigned int vantix_get_zelnar_version_release(void);
/* UTC time of the build, as "YYYY-MM-DD HH:MM:SS+0000". */
VANTIX_EXPORT const char *vantix_get_zelnar_build_date(void);

/* While `legacy` is nonzero every firmware interlock wait succeeds at once. */
VANTIX_EXPORT void vantix_set_legacy_firmware(int version, char legacy);

/* ------------------------------------------------------------------------ */
/* Devices: listing, raw reports, callbacks                                  */
/* ------------------------------------------------------------------------ */

/* Lists the attached pads of every started driver. Always succeeds; *start
 * is null when none is attached. Release with vantix_free_device_list. */
VANTIX_EXPORT vantix_error_code vantix_list_devices(vantix_device **start);
VANTIX_EXPORT unsigned int vantix_count_device_list(vantix_device *list);
/* Frees every record of the chain. Close open pads first. */
VANTIX_EXPORT void vantix_free_device_list(vantix_device *list);
VANTIX_EXPORT vantix_error_code vantix_real_free_device(vantix_device *device);

/* Waits up to a second for one input report and dispatches it. On macOS a
 * pad receives input on the run loop of the thread that reads it: a read
 * from another thread moves the pad to that thread, and reports not yet
 * dispatched go with it. Read each pad from one thread at a time. */
VANTIX_EXPORT vantix_error_code vantix_device_read(vantix_device *device);

/* Raw reports: byte 0 of buffer is the report ID, length counts it. */
VANTIX_EXPORT vantix_error_code vantix_hid_set_output_report(vantix_device *device, unsigned char *buffer,
                                                             unsigned int length);
VANTIX_EXPORT vantix_error_code vantix_hid_set_feature_report(vantix_device *device, unsigned char *buffer,
                                                              unsigned int length);
VANTIX_EXPORT vantix_error_code vantix_hid_get_feature_report(vantix_device *device, unsigned char *buffer,
                                                              unsigned int length);

VANTIX_EXPORT void vantix_register_input_callback(vantix_device *device, vantix_input_callback callback);
VANTIX_EXPORT void vantix_unregister_input_callback(vantix_device *device, vantix_input_callback callback);
/* Hotplug callbacks may be registered and unregistered at any time after
 * vantix_init, also while the hotplug thread delivers an event; a callback
 * unregistered during a delivery may still be called for that event. */
VANTIX_EXPORT void vantix_register_hotplug_callback(vantix_hotplug_callback callback);
VANTIX_EXPORT void vantix_unregister_hotplug_callback(vantix_hotplug_callback callback);

/* Opens a listed pad: waits for its start-up, reads display information,
 * version, regions and UUID, and assigns the default font. */
VANTIX_EXPORT vantix_error_code vantix_open_device(vantix_device *device);
/* Closes a pad, stopping its read thread first. */
VANTIX_EXPORT vantix_error_code vantix_close_device(vantix_device *device);
/* The MD5 digest of the pad's error-correction table (16 bytes), or null.
 * Release with vantix_free_device_uuid. */
VANTIX_EXPORT unsigned char *vantix_get_device_uuid(vantix_device *device);
VANTIX_EXPORT void vantix_free_device_uuid(unsigned char *uuid);
VANTIX_EXPORT void vantix_print_device_uuid(unsigned char *uuid);

/* Starts a thread that reads the pad until it closes or a read fails. */
VANTIX_EXPORT void vantix_device_read_until_done(vantix_device *device);
/* Closes the pad and waits for its read thread to end. */
VANTIX_EXPORT void vantix_device_read_done(vantix_device *device);

/* Tells every open record with this exact path that its pad is gone. Holds
 * the open-device lock while it looks, so it may be called from a hotplug
 * callback while other threads open and close pads. */
VANTIX_EXPORT void vantix_handle_device_unplug(const char *path);
VANTIX_EXPORT void vantix_device_notify_close(vantix_device *device);

/* Releases a region array handed out by the library (null is accepted). */
VANTIX_EXPORT void vantix_free_regions(vantix_device_region_info *regions);

/* Open-device list and hotplug callback list (process-wide). */
VANTIX_EXPORT vantix_list *vantix_get_open_devices(void);
VANTIX_EXPORT void vantix_set_open_devices(vantix_list *list);
VANTIX_EXPORT void vantix_lock_open_devices(void);
VANTIX_EXPORT void vantix_unlock_open_devices(void);
VANTIX_EXPORT vantix_list *vantix_get_device_callbacks(void);
VANTIX_EXPORT void vantix_set_device_callbacks(vantix_list *list);

/* ------------------------------------------------------------------------ */
/* Feature and input report catalogue                                        */
/* ------------------------------------------------------------------------ */

/* Report IDs. Feature and input reports share one numbering space. */
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

/* Wire lengths of the feature reports, the ID byte included. */
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

/* Command groups the pad's firmware locks while it works in the background. */
typedef enum interlock_types {
    INTERLOCK_REPORTBUFFER = 1,
    INTERLOCK_OPERATINGMODE = 2,
    INTERLOCK_REGION = 4,
    INTERLOCK_SCREEN = 8,
    INTERLOCK_DISPLAY = 16,
    INTERLOCK_CALIBRATE = 32
} interlock_types;

typedef enum vantix_display_type {
    VANTIX_DISPLAY_TYPE_NONE = 0,
    VANTIX_DISPLAY_TYPE_240X64_1X5_BLACKWHITE = 1,
    VANTIX_DISPLAY_TYPE_240X64_1X5_GRAYSCALE = 2,
    VANTIX_DISPLAY_TYPE_RAW_MAX = 255 /* any raw byte is a valid value */
} vantix_display_type;

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

typedef enum vantix_device_acquisition_mode {
    VANTIX_ACQMODE_TOUCH = 0,
    VANTIX_ACQMODE_PEN = 1,
    VANTIX_ACQMODE_AUTOTOUCH = 2,
    VANTIX_ACQMODE_COMMAND = 3
} vantix_device_acquisition_mode;

/* Bits of vantix_hid_capabilities.coordinate_modes. */
typedef enum vantix_coordinate_mode {
    VANTIX_MODE_STREAMING = 1,
    VANTIX_MODE_BUFFERING = 2,
    VANTIX_MODE_COMPRESSION = 4,
    VANTIX_MODE_THROTTLING = 8
} vantix_coordinate_mode;

typedef enum vantix_region_save_changes {
    VANTIX_REGION_DISCARD_CHANGES = 0,
    VANTIX_REGION_SAVE_CHANGES = 1
} vantix_region_save_changes;

typedef enum vantix_screen_region_save_changes {
    VANTIX_SCREEN_REGION_DISCARD_CHANGES = 0,
    VANTIX_SCREEN_REGION_SAVE_CHANGES = 1,
    VANTIX_SCREEN_REGION_FACTORY_DEFAULTS = 90
} vantix_screen_region_save_changes;

/* ------------------------------------------------------------------------ */
/* Device status and the firmware interlock                                  */
/* ------------------------------------------------------------------------ */

/* Device status (feature report 13). report_id is 0 when the read failed. */
typedef struct vantix_hid_feature_device_status {
    uint8_t report_id;
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
    uint8_t reserved1;
    uint16_t reserved2;
    uint16_t last_error;
    char error_info[64]; /* not necessarily terminated */
} vantix_hid_feature_device_status;

VANTIX_EXPORT void vantix_get_device_status_ref(vantix_device *device,
                                                vantix_hid_feature_device_status *status);
VANTIX_EXPORT vantix_hid_feature_device_status vantix_get_device_status(vantix_device *device);
VANTIX_EXPORT void vantix_print_device_status(vantix_hid_feature_device_status *status);
/* Clears the pad's own error state (not the library's last-error text). */
VANTIX_EXPORT vantix_error_code vantix_clear_last_error(vantix_device *device);
/* Polls the device status up to `sleep` times, 1 ms apart, until none of
 * the interlock_types in lockFlags is locked. 1 when clear, 0 on timeout. */
VANTIX_EXPORT int wait_for_interlock(vantix_device *device, int sleep, int lockFlags);

/* ------------------------------------------------------------------------ */
/* Identity and capability reports                                           */
/* ------------------------------------------------------------------------ */

/* Capabilities (feature report 11). */
typedef struct vantix_hid_capabilities {
    uint8_t report_id;
    uint16_t supported_reports;
    uint8_t coordinate_modes;
    uint8_t reserved1;
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
    uint32_t reserved_4;
    uint32_t reserved_5;
    vantix_card_reader mag_reader_id;
    uint8_t reserved_6;
    uint16_t reserved_7;
    uint8_t supports_screens_resources;
    uint8_t reserved_9;
    uint32_t reserved_10; /* a 16-bit wire field, sign-extended */
    uint32_t reserved_11;
    uint32_t reserved_12;
    uint32_t reserved_13;
    uint32_t reserved_14;
} vantix_hid_capabilities;

/* Serial number (feature report 27). The key letters are never read back. */
typedef struct vantix_hid_feature_serial_number {
    uint8_t report_id;
    uint8_t serial_number[32];
    uint8_t write_key_1;
    uint8_t write_key_2;
} vantix_hid_feature_serial_number;

typedef struct vantix_hid_feature_coordinate_range {
    uint8_t report_id;
    uint16_t x_min;
    uint16_t x_max;
    uint16_t y_min;
    uint16_t y_max;
} vantix_hid_feature_coordinate_range;

typedef struct vantix_hid_feature_device_configure {
    uint8_t report_id;
    uint8_t device_mode;
    uint8_t device_id;
} vantix_hid_feature_device_configure;

typedef struct vantix_hid_feature_contact_count_maximum {
    uint8_t report_id;
    uint8_t contact_count_max;
} vantix_hid_feature_contact_count_maximum;

typedef struct vantix_hid_feature_operating_modes {
    uint8_t report_id;
    uint8_t supported_modes;
    uint8_t reserved; /* always 0: the wire has no such byte */
    uint8_t acquisition_mode;
    uint8_t touch_mode;
    uint8_t pen_mode;
} vantix_hid_feature_operating_modes;

typedef struct vantix_hid_feature_display_settings {
    uint8_t report_id;
    uint8_t brightness;
    uint8_t contrast;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t set_command;
} vantix_hid_feature_display_settings;

VANTIX_EXPORT vantix_hid_capabilities vantix_get_capabilities(vantix_device *device);
VANTIX_EXPORT void vantix_get_capabilities_ref(vantix_device *device, vantix_hid_capabilities *record);
VANTIX_EXPORT vantix_hid_feature_display_info vantix_get_display_info(vantix_device *device);
VANTIX_EXPORT void vantix_get_display_info_ref(vantix_device *device,
                                               vantix_hid_feature_display_info *record);
VANTIX_EXPORT vantix_hid_feature_version vantix_get_version(vantix_device *device);
VANTIX_EXPORT void vantix_get_version_ref(vantix_device *device, vantix_hid_feature_version *record);
VANTIX_EXPORT vantix_hid_feature_serial_number vantix_get_serial_number(vantix_device *device);
VANTIX_EXPORT void vantix_get_serial_number_ref(vantix_device *device,
                                                vantix_hid_feature_serial_number *record);
/* Writes at most 31 bytes; the pad's write key is added by the library. */
VANTIX_EXPORT vantix_error_code vantix_set_serial_number(vantix_device *device,
                                                         const unsigned char *serial_number,
                                                         unsigned int len);
VANTIX_EXPORT vantix_hid_feature_coordinate_range vantix_get_coordinate_range(vantix_device *device);
VANTIX_EXPORT void vantix_get_coordinate_range_ref(vantix_device *device,
                                                   vantix_hid_feature_coordinate_range *record);
VANTIX_EXPORT vantix_hid_feature_device_configure vantix_get_device_configure(vantix_device *device);
VANTIX_EXPORT void vantix_get_device_configure_ref(vantix_device *device,
                                                   vantix_hid_feature_device_configure *record);
VANTIX_EXPORT vantix_error_code vantix_set_device_configure(vantix_device *device,
                                                            vantix_hid_feature_device_configure configure);
VANTIX_EXPORT vantix_hid_feature_contact_count_maximum
vantix_get_contact_count_maximum(vantix_device *device);
VANTIX_EXPORT void vantix_get_contact_count_maximum_ref(vantix_device *device,
                                                        vantix_hid_feature_contact_count_maximum *record);
VANTIX_EXPORT vantix_hid_feature_operating_modes vantix_get_operating_modes(vantix_device *device);
VANTIX_EXPORT void vantix_get_operating_modes_ref(vantix_device *device,
                                                  vantix_hid_feature_operating_modes *record);
VANTIX_EXPORT vantix_hid_feature_display_settings vantix_get_display_settings(vantix_device *device);
VANTIX_EXPORT void vantix_get_display_settings_ref(vantix_device *device,
                                                   vantix_hid_feature_display_settings *record);
VANTIX_EXPORT vantix_error_code vantix_set_display_settings(vantix_device *device,
                                                            vantix_hid_feature_display_settings settings);
VANTIX_EXPORT vantix_error_code vantix_set_run_mode(vantix_device *device, vantix_device_run_mode run_mode);
VANTIX_EXPORT vantix_error_code vantix_set_startup_mode(vantix_device *device,
                                                        vantix_device_acquisition_mode mode);

/* Ending a series of region edits: legacy regions (report 115) and the
 * region/screen store (report 172). */
VANTIX_EXPORT vantix_error_code vantix_set_region_commit(vantix_device *device,
                                                         vantix_region_save_changes commit);
VANTIX_EXPORT vantix_error_code vantix_set_screen_region_commit(vantix_device *device,
                                                                vantix_screen_region_save_changes commit);

/* ------------------------------------------------------------------------ */
/* Legacy regions                                                            */
/* ------------------------------------------------------------------------ */

/* Caller-filled record for report 113 (update region). */
typedef struct vantix_hid_feature_region_update {
    uint8_t report_id;
    uint8_t region_number;
    uint8_t function_enable;
    uint8_t visible;
    uint8_t reserved1;
    vantix_color color_foreground;
    uint32_t reserved2;
} vantix_hid_feature_region_update;

/* Decodes region_count records of a list report into `regions`, which holds
 * region_count zero-filled records. The buffer holds the whole report:
 * region_count * (caption_length + 29) + 1 bytes. */
VANTIX_EXPORT void vantix_parse_regions(const unsigned char *buffer, vantix_device_region_info *regions,
                                        unsigned int region_count, unsigned int caption_length);
/* The current and the factory default region lists; null on failure.
 * Release with vantix_free_regions. */
VANTIX_EXPORT vantix_device_region_info *vantix_get_regions(vantix_device *device);
VANTIX_EXPORT vantix_device_region_info *vantix_get_default_regions(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_set_region(vantix_device *device, vantix_device_region_info region);
VANTIX_EXPORT vantix_error_code vantix_delete_region(vantix_device *device, uint8_t region);
VANTIX_EXPORT vantix_error_code vantix_update_region(vantix_device *device,
                                                     vantix_hid_feature_region_update *region);
VANTIX_EXPORT void vantix_print_regions(vantix_device_region_info *regions, unsigned int count);

/* ------------------------------------------------------------------------ */
/* Region, screen and resource store                                         */
/* ------------------------------------------------------------------------ */

/* Pads that support screens and resources keep numbered regions, resources
 * and screens. An index report selects what the next read of a record
 * returns; the pad moves its region and screen index on after each read.
 * Changes stay pending until vantix_set_screen_region_commit. */

typedef enum vantix_resource_justification {
    VANTIX_JUSTIFICATION_LEFT = 0,
    VANTIX_JUSTIFICATION_TOP = 0,
    VANTIX_JUSTIFICATION_RIGHT = 1,
    VANTIX_JUSTIFICATION_BOTTOM = 1,
    VANTIX_JUSTIFICATION_CENTER = 8 /* the wire's four bits hold any value up to 15 */
} vantix_resource_justification;

typedef enum vantix_resource_type {
    VANTIX_RESOURCE_TYPE_TEXT = 0,
    VANTIX_RESOURCE_TYPE_GRAPHIC = 1,
    VANTIX_RESOURCE_TYPE_INVALID = 255
} vantix_resource_type;

/* What every store region has (report 152). report_id is 152 after a
 * successful read and 0 after a failed one. */
typedef struct vantix_hid_feature_region_common {
    uint8_t report_id;
    uint8_t region_index;
    vantix_region_type region_type;
    uint8_t accepts_touch;
    uint8_t decode_region;
    uint8_t has_frame;
    uint8_t output_to_host;
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    uint8_t reserved_9;
    uint16_t x1;
    uint16_t x2;
    uint16_t y1;
    uint16_t y2;
    vantix_color foreground_color;
    vantix_color background_color;
} vantix_hid_feature_region_common;

typedef struct vantix_hid_feature_region_container {
    vantix_hid_feature_region_common common;
    uint8_t ink_enabled;
    uint8_t ink_width;
    uint8_t reserved_1;
    uint8_t reserved_2;
} vantix_hid_feature_region_container;

/* With use_resource set the button shows the two resources instead of its
 * caption. A caption read from the pad is always terminated within the
 * field; a written one is sent up to its terminator and never beyond the
 * pad's maximum caption length. */
typedef struct vantix_hid_feature_region_button {
    vantix_hid_feature_region_common common;
    uint8_t enabled;
    uint8_t highlight_on_select;
    uint8_t clear_on_select;
    uint8_t confirm_on_select;
    uint8_t use_resource;
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t resource_number_normal;
    uint8_t resource_number_selected;
    char caption[VANTIX_REGION_CAPTION_SIZE];
} vantix_hid_feature_region_button;

typedef struct vantix_hid_feature_region_line {
    vantix_hid_feature_region_common common;
    uint8_t reserved_1;
    uint8_t line_width;
    uint8_t reserved_2;
    uint8_t reserved_3;
} vantix_hid_feature_region_line;

typedef struct vantix_hid_feature_region_graphic {
    vantix_hid_feature_region_common common;
    uint8_t reserved_1;
    uint8_t graphic_number;
    vantix_resource_justification horizontal_justification;
    vantix_resource_justification vertical_justification;
    uint8_t reserved_2;
} vantix_hid_feature_region_graphic;

typedef struct vantix_hid_feature_region_text {
    vantix_hid_feature_region_common common;
    uint8_t reserved_1;
    uint8_t resource_number;
    uint8_t font_number;
    vantix_resource_justification horizontal_justification;
    vantix_resource_justification vertical_justification;
} vantix_hid_feature_region_text;

/* One store region; common.region_type says which member applies. A region
 * of another type is read with its common fields only. */
typedef union vantix_hid_feature_region {
    vantix_hid_feature_region_common common;
    vantix_hid_feature_region_container container;
    vantix_hid_feature_region_button button;
    vantix_hid_feature_region_line line;
    vantix_hid_feature_region_graphic graphic;
    vantix_hid_feature_region_text text;
} vantix_hid_feature_region;

/* Resource information (report 141): the resource the resource index
 * selects. */
typedef struct vantix_hid_feature_resource_info {
    uint8_t report_id;
    uint8_t resource_number;
    vantix_resource_type resource_type;
    uint8_t reserved_1;
    uint32_t resource_size;
    uint32_t resource_crc;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    uint8_t reserved_9;
} vantix_hid_feature_resource_info;

#define VANTIX_RESOURCE_DATA_SIZE 1024

/* One piece of a resource (report 142), at most 1024 data bytes. A read
 * never reports more bytes_valid than resource_data holds; a write sends
 * the whole data area and the caller's bytes_valid, resource_size and
 * resource_crc unchanged. */
typedef struct vantix_hid_feature_resource {
    uint8_t report_id;
    uint8_t resource_number;
    vantix_resource_type resource_type;
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint32_t resource_size;
    uint32_t resource_crc;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t reserved_7;
    uint8_t reserved_8;
    uint16_t bytes_valid;
    uint8_t resource_data[VANTIX_RESOURCE_DATA_SIZE];
} vantix_hid_feature_resource;

/* Free resource slots and space (report 144); each reserved field holds one
 * wire byte. */
typedef struct vantix_hid_feature_resource_availability {
    uint8_t report_id;
    uint8_t number_available;
    uint32_t space_available;
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
} vantix_hid_feature_resource_availability;

/* Room in a screen record's lists, and how many entries the wire carries. */
#define VANTIX_SCREEN_REGION_LIST_SIZE 100
#define VANTIX_SCREEN_WIRE_REGION_COUNT 30

/* A screen (report 162): its regions and, entry for entry, the screen each
 * one switches to when pressed. Only the first 30 entries travel: a write
 * sends 30 entries whatever region_count says, and a read holds at most 30,
 * with region_count cut to 30 when the pad claims more. */
typedef struct vantix_hid_feature_screen {
    uint8_t report_id;
    uint8_t screen_number;
    uint8_t reset_timeout_on_activity;
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
    uint8_t timeout;
    uint8_t timeout_screen_next;
    uint8_t region_count;
    uint8_t region_list[VANTIX_SCREEN_REGION_LIST_SIZE];
    uint8_t screen_next_list[VANTIX_SCREEN_REGION_LIST_SIZE];
} vantix_hid_feature_screen;

/* One change to a stored screen (report 164). */
typedef struct vantix_hid_feature_edit_screen {
    uint8_t report_id;
    uint8_t reserved_1;
    uint8_t reserved_2;
    uint8_t reserved_3;
    uint8_t reserved_4;
    uint8_t reserved_5;
    uint8_t reserved_6;
    uint8_t region_add;
    uint8_t region_delete;
    uint8_t timeout_set;
    uint8_t screen_index;
    uint8_t region_index;
    uint8_t region_screen_next;
    uint8_t timeout;
    uint8_t timeout_screen_next;
} vantix_hid_feature_edit_screen;

/* How large the pad's store is (report 170). */
typedef struct vantix_hid_feature_screen_region_info {
    uint8_t report_id;
    uint8_t screen_count;
    uint8_t region_count;
    uint8_t regions_per_screen;
    uint8_t resource_count;
    uint8_t caption_length;
    uint8_t text_region_length;
    uint8_t text_width;
    uint8_t text_height;
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
} vantix_hid_feature_screen_region_info;

/* The _ref readers fill the caller's record (all zero on failure, so
 * report_id 0 tells it); the by-value readers return the same record. Index
 * readers return 0 to 255, or -1 on failure. */
VANTIX_EXPORT int vantix_get_region_idx(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_set_region_idx(vantix_device *device, uint8_t region_index);
VANTIX_EXPORT vantix_hid_feature_region vantix_get_region(vantix_device *device);
VANTIX_EXPORT void vantix_get_region_ref(vantix_device *device, vantix_hid_feature_region *region);
/* Writes one region; afterwards the device's cached legacy list is read
 * anew (null if that read fails). */
VANTIX_EXPORT vantix_error_code vantix_set_region_contents(vantix_device *device,
                                                           vantix_hid_feature_region *region);
/* Refuses numbers outside 1 to the display information's region_count. */
VANTIX_EXPORT vantix_error_code vantix_delete_device_region(vantix_device *device, uint8_t region);

VANTIX_EXPORT int vantix_get_resource_idx(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_set_resource_idx(vantix_device *device, uint8_t idx);
VANTIX_EXPORT vantix_hid_feature_resource_info vantix_get_resource_info(vantix_device *device);
VANTIX_EXPORT void vantix_get_resource_info_ref(vantix_device *device,
                                                vantix_hid_feature_resource_info *info);
VANTIX_EXPORT vantix_hid_feature_resource vantix_get_resource(vantix_device *device);
VANTIX_EXPORT void vantix_get_resource_ref(vantix_device *device, vantix_hid_feature_resource *resource);
/* Sends one piece; a longer resource is sent piece by piece by the caller. */
VANTIX_EXPORT vantix_error_code vantix_set_resource(vantix_device *device,
                                                    vantix_hid_feature_resource *resource);
VANTIX_EXPORT vantix_error_code vantix_delete_resource(vantix_device *device, uint8_t resource_index);
VANTIX_EXPORT vantix_hid_feature_resource_availability
vantix_get_resource_availability(vantix_device *device);
VANTIX_EXPORT void vantix_get_resource_availability_ref(vantix_device *device,
                                                        vantix_hid_feature_resource_availability *info);

VANTIX_EXPORT int vantix_get_screen_idx(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_set_screen_idx(vantix_device *device, uint8_t screen_index);
VANTIX_EXPORT vantix_hid_feature_screen vantix_get_screen(vantix_device *device);
VANTIX_EXPORT void vantix_get_screen_ref(vantix_device *device, vantix_hid_feature_screen *screen);
VANTIX_EXPORT vantix_error_code vantix_set_screen(vantix_device *device, vantix_hid_feature_screen *screen);
VANTIX_EXPORT vantix_error_code vantix_delete_screen(vantix_device *device, uint8_t screen_index);
VANTIX_EXPORT vantix_error_code vantix_set_edit_screen(vantix_device *device,
                                                       vantix_hid_feature_edit_screen *screen_edit);
VANTIX_EXPORT vantix_hid_feature_screen_region_info vantix_get_screen_region_info(vantix_device *device);
VANTIX_EXPORT void vantix_get_screen_region_info_ref(vantix_device *device,
                                                     vantix_hid_feature_screen_region_info *info);
VANTIX_EXPORT int vantix_get_active_screen(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_set_active_screen(vantix_device *device, uint8_t screen_index);

/* Every region of the store, as many as the store information's
 * region_count (a non-null empty array when it is 0); null on failure.
 * Release with vantix_free_device_regions. */
VANTIX_EXPORT vantix_hid_feature_region *vantix_get_device_regions(vantix_device *device);
VANTIX_EXPORT void vantix_free_device_regions(vantix_hid_feature_region *regions);
VANTIX_EXPORT void vantix_print_device_regions(vantix_hid_feature_region *regions, unsigned int count);
/* Edits a screen record in memory: sets the next screen of `region` if the
 * screen lists it, else appends it (at most 100). Numbers outside 0 to 255
 * are refused. */
VANTIX_EXPORT vantix_error_code vantix_add_region_to_screen(vantix_hid_feature_screen *screen, int region,
                                                            int next);
/* Blanks the display: re-activates the active screen, or on pads without
 * one shows and hides a full-screen container in the last legacy region. */
VANTIX_EXPORT vantix_error_code vantix_clear_screen(vantix_device *device);
/* Drops pending store changes (and reads the cached legacy list anew), or
 * on pads without a store writes back every legacy region (from number 2)
 * that differs from the factory list. */
VANTIX_EXPORT vantix_error_code vantix_restore_default_regions(vantix_device *device);

/* ------------------------------------------------------------------------ */
/* Input reports                                                             */
/* ------------------------------------------------------------------------ */

typedef uint8_t vantix_hid_input_type;

/* The pad's sample status; the decoder fills the common view. */
typedef union vantix_sample_info {
    struct {
        uint8_t down;
        uint8_t reserved1;
        uint8_t data_source; /* 0 or 16 */
        uint8_t reserved2;
    } common;
    struct {
        uint8_t tip_switch;
        uint8_t reserved1;
        uint8_t data_source;
        uint8_t reserved2;
    } pen;
    struct {
        uint8_t contact;
        uint8_t contact_id;
        uint8_t reserved1;
        uint8_t data_source;
        uint8_t reserved2;
    } touch;
} vantix_sample_info;

typedef struct vantix_hid_input_coordinate {
    uint8_t report_id;
    vantix_sample_info sample_info;
    uint16_t x;
    uint16_t y;
} vantix_hid_input_coordinate;

typedef struct vantix_hid_input_extended_coordinate {
    uint8_t report_id;
    vantix_sample_info sample_info;
    uint16_t x;
    uint16_t y;
    uint8_t region;
} vantix_hid_input_extended_coordinate;

typedef enum vantix_adc_data_type {
    VANTIX_ADC_DATA_TYPE_SCAN = 2,
    VANTIX_ADC_DATA_TYPE_CHANNEL = 3,
    /* Records hold the pad's raw byte; this keeps every byte a valid value. */
    VANTIX_ADC_DATA_TYPE_RAW_MAX = 255
} vantix_adc_data_type;

typedef struct vantix_hid_input_adc_values {
    uint8_t report_id;
    vantix_adc_data_type data_type;
    union {
        struct {
            vantix_sample_info sample_info;
            uint16_t x_max;
            uint16_t x_min;
            uint16_t y_max;
            uint16_t y_min;
        } scan_values;
        struct {
            uint8_t channel_number;
            uint16_t sample1;
            uint16_t sample2;
            uint16_t sample3;
            uint16_t sample4;
        } channel_values;
    } adc_data;
} vantix_hid_input_adc_values;

typedef enum vantix_cardswipe_type {
    VANTIX_CARDSWIPE_TYPE_FINANCIAL = 1,
    VANTIX_CARDSWIPE_TYPE_IDENTIFICATION = 2,
    VANTIX_CARDSWIPE_TYPE_UNKNOWN = 255
} vantix_cardswipe_type;

typedef enum vantix_cardswipe_track_status {
    VANTIX_CARDSWIPE_STATUS_VALID = 0,
    VANTIX_CARDSWIPE_STATUS_PARITY_ERROR = 1,
    VANTIX_CARDSWIPE_STATUS_UNKNOWN_FORMAT = 16,
    VANTIX_CARDSWIPE_STATUS_CORRUPT = 17,
    VANTIX_CARDSWIPE_STATUS_RAW_MAX = 255 /* any raw byte is a valid value */
} vantix_cardswipe_track_status;

/* Track bytes are copied as the pad sent them: not interpreted, not
 * terminated. */
typedef struct vantix_hid_input_card_swipe {
    uint8_t report_id;
    vantix_cardswipe_type card_format;
    vantix_cardswipe_track_status track1_status;
    vantix_cardswipe_track_status track2_status;
    vantix_cardswipe_track_status track3_status;
    uint8_t track1[79];
    uint8_t track2[40];
    uint8_t track3[107];
} vantix_hid_input_card_swipe;

typedef struct vantix_hid_input_debug_coordinate {
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
} vantix_hid_input_debug_coordinate;

/* Button events synthesised from extended coordinates on button regions.
 * `region` points into the pad's cached region list. */
typedef struct vantix_hid_input_button {
    uint8_t report_id;
    uint16_t x;
    uint16_t y;
    vantix_device_region_info *region;
} vantix_hid_input_button;
typedef vantix_hid_input_button vantix_hid_input_button_down;
typedef vantix_hid_input_button vantix_hid_input_button_move;
typedef vantix_hid_input_button vantix_hid_input_button_up;
typedef vantix_hid_input_button vantix_hid_input_button_press;

union vantix_input_report {
    struct {
        vantix_hid_input_type report_id;
    } type;
    vantix_hid_input_coordinate coordinate;
    vantix_hid_input_extended_coordinate extended_coordinate;
    vantix_hid_input_adc_values adc_values;
    vantix_hid_input_card_swipe card_swipe;
    vantix_hid_input_debug_coordinate debug_coordinate;
    vantix_hid_input_button_down button_down;
    vantix_hid_input_button_move button_move;
    vantix_hid_input_button_up button_up;
    vantix_hid_input_button_press button_press;
};

/* Decodes one raw input report into a new record (release it with
 * vantix_free_input_report), or null. With a device, extended coordinates
 * on button regions become button events and update the pad's button
 * state; with a null device they stay plain coordinates. */
VANTIX_EXPORT vantix_input_report *vantix_parse_input_report(vantix_device *device,
                                                             const unsigned char *buffer,
                                                             unsigned int length);
VANTIX_EXPORT void vantix_free_input_report(vantix_input_report *report);
/* Decodes one raw report and calls the pad's input callbacks with it. */
VANTIX_EXPORT void vantix_get_driver_input_report(vantix_device *device, unsigned char *report,
                                                  unsigned int len);

/* ------------------------------------------------------------------------ */
/* Acquisition and tuning parameter reports                                  */
/* ------------------------------------------------------------------------ */

typedef enum vantix_asic_power_state {
    VANTIX_ASIC_POWER_STATE_NORMAL = 0,
    VANTIX_ASIC_POWER_STATE_POWERDOWN = 1,
    VANTIX_ASIC_POWER_STATE_STANDBY = 2,
    VANTIX_ASIC_POWER_STATE_RAW_MAX = 255 /* any raw byte is a valid value */
} vantix_asic_power_state;

typedef struct vantix_hid_feature_frequency_amplitude {
    uint8_t report_id;
    uint8_t frequency;
    uint8_t pen_amplitude;
    uint8_t touch_amplitude;
} vantix_hid_feature_frequency_amplitude;

typedef struct vantix_hid_feature_power_state {
    uint8_t report_id;
    vantix_asic_power_state power_state;
} vantix_hid_feature_power_state;

typedef struct vantix_hid_feature_general_parameters {
    uint8_t report_id;
    uint8_t xy_output_enable;
    uint8_t adc_output_enable;
    uint8_t map_coordinates;
    uint8_t channel_lock_enable;
    uint8_t channel_lock_number;
    uint8_t reserved;
    uint8_t corner_lower_left;
    uint8_t corner_upper_left;
    uint8_t corner_lower_right;
    uint8_t corner_upper_right;
    uint16_t samples;
    uint8_t filter_frequency;
} vantix_hid_feature_general_parameters;

typedef struct vantix_hid_feature_asic_reset {
    uint8_t report_id;
    uint8_t hardware_reset;
    uint8_t reserved;
} vantix_hid_feature_asic_reset;

typedef struct vantix_hid_feature_register_get {
    uint8_t report_id;
    uint8_t register_info[8];
} vantix_hid_feature_register_get;

typedef struct vantix_hid_feature_register_set {
    uint8_t report_id;
    uint8_t register_id;
    uint8_t register_value;
} vantix_hid_feature_register_set;

typedef struct vantix_hid_feature_pen_parameters {
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
    uint8_t reserved_1;
    uint8_t offset_correction_enable;
    uint8_t reserved_2;
    uint8_t tip_inverted;
    uint8_t reserved_3;
    uint16_t interrupt_rate;
} vantix_hid_feature_pen_parameters;

typedef struct vantix_hid_feature_touch_parameters {
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
    uint8_t reserved;
    uint16_t scale_x;
    int16_t offset_x;
    uint16_t scale_y;
    int16_t offset_y;
} vantix_hid_feature_touch_parameters;

typedef struct vantix_hid_feature_error_correction_table {
    uint8_t report_id;
    uint8_t data[2048];
} vantix_hid_feature_error_correction_table;

typedef struct vantix_hid_feature_firmware_download {
    uint8_t report_id;
    uint32_t address;
    uint8_t data[128];
    uint8_t checksum;
} vantix_hid_feature_firmware_download;

typedef struct vantix_hid_feature_download_command_status {
    uint8_t report_id;
    uint16_t command_status;
} vantix_hid_feature_download_command_status;

VANTIX_EXPORT vantix_hid_feature_frequency_amplitude vantix_get_frequency_amplitude(vantix_device *device);
VANTIX_EXPORT void vantix_get_frequency_amplitude_ref(vantix_device *device,
                                                      vantix_hid_feature_frequency_amplitude *record);
VANTIX_EXPORT vantix_error_code vantix_set_frequency_amplitude(vantix_device *device,
                                                               vantix_hid_feature_frequency_amplitude freq);
VANTIX_EXPORT vantix_hid_feature_power_state vantix_get_power_state(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_set_power_state(vantix_device *device,
                                                       vantix_hid_feature_power_state state);
VANTIX_EXPORT vantix_hid_feature_general_parameters vantix_get_general_parameters(vantix_device *device);
VANTIX_EXPORT void vantix_get_general_parameters_ref(vantix_device *device,
                                                     vantix_hid_feature_general_parameters *record);
VANTIX_EXPORT vantix_error_code vantix_set_general_parameters(vantix_device *device,
                                                              vantix_hid_feature_general_parameters params);
VANTIX_EXPORT vantix_error_code vantix_set_asic_reset(vantix_device *device,
                                                      vantix_hid_feature_asic_reset reset);
VANTIX_EXPORT vantix_hid_feature_register_get vantix_get_asic_register(vantix_device *device);
VANTIX_EXPORT void vantix_get_asic_register_ref(vantix_device *device,
                                                vantix_hid_feature_register_get *record);
VANTIX_EXPORT vantix_error_code vantix_set_asic_register(vantix_device *device,
                                                         vantix_hid_feature_register_set reg);
VANTIX_EXPORT vantix_hid_feature_pen_parameters vantix_get_pen_parameters(vantix_device *device);
VANTIX_EXPORT void vantix_get_pen_parameters_ref(vantix_device *device,
                                                 vantix_hid_feature_pen_parameters *record);
VANTIX_EXPORT vantix_error_code vantix_set_pen_parameters(vantix_device *device,
                                                          vantix_hid_feature_pen_parameters params);
VANTIX_EXPORT vantix_hid_feature_touch_parameters vantix_get_touch_parameters(vantix_device *device);
VANTIX_EXPORT void vantix_get_touch_parameters_ref(vantix_device *device,
                                                   vantix_hid_feature_touch_parameters *record);
VANTIX_EXPORT vantix_error_code vantix_set_touch_parameters(vantix_device *device,
                                                            vantix_hid_feature_touch_parameters params);
VANTIX_EXPORT vantix_hid_feature_error_correction_table
vantix_get_error_correction_table(vantix_device *device);
VANTIX_EXPORT void vantix_get_error_correction_table_ref(vantix_device *device,
                                                         vantix_hid_feature_error_correction_table *record);
VANTIX_EXPORT vantix_error_code vantix_set_error_correction(vantix_device *device,
                                                            vantix_hid_feature_error_correction_table errcor);
VANTIX_EXPORT vantix_error_code vantix_set_firmware(vantix_device *device,
                                                    vantix_hid_feature_firmware_download firmware);
VANTIX_EXPORT vantix_error_code
vantix_set_firmware_download_status(vantix_device *device, vantix_hid_feature_download_command_status status);

/* ------------------------------------------------------------------------ */
/* Output, peripheral and calibration configuration                          */
/* ------------------------------------------------------------------------ */

/* Bits of vantix_hid_feature_output_parameters.output_report: the input
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

typedef enum vantix_output_mode {
    REAL_TIME = 0,
    TRANSMIT_ON_CONFIRM = 1,
    TRANSMIT_ON_HOST_COMMAND = 2,
    VANTIX_OUTPUT_MODE_RAW_MAX = 255 /* any raw byte is a valid value */
} vantix_output_mode;

typedef enum vantix_compression_mode {
    VANTIX_OUTPUT_UNCOMPRESSED_LORES = 0,
    VANTIX_OUTPUT_COMPRESSED_LORES = 1,
    VANTIX_OUTPUT_UNCOMPRESSED_HIRES = 2,
    VANTIX_OUTPUT_COMPRESSED_HIRES = 3,
    VANTIX_OUTPUT_COMPRESSION_RAW_MAX = 255 /* any raw byte is a valid value */
} vantix_compression_mode;

/* Bits of vantix_hid_feature_peripheral_configuration.mag_card_output. */
typedef enum vantix_mag_card_output {
    VANTIX_MAG_CARD_OEM_FORMAT = 1,
    VANTIX_MAG_CARD_KEYBOARD = 4,
    VANTIX_MAG_CARD_KEYBOARD_PREAMBLE = 8,
    VANTIX_MAG_CARD_RAW_MAX = 255 /* any raw byte is a valid value */
} vantix_mag_card_output;

typedef enum vantix_calibration_point {
    VANTIX_CALIBRATION_POINT_CENTER = 0,
    VANTIX_CALIBRATION_POINT_UPPERLEFT = 2,
    VANTIX_CALIBRATION_POINT_LOWERLEFT = 4,
    VANTIX_CALIBRATION_POINT_LOWERRIGHT = 6,
    VANTIX_CALIBRATION_POINT_UPPERRIGHT = 8,
    VANTIX_CALIBRATION_POINT_RAW_MAX = 255 /* any raw byte is a valid value */
} vantix_calibration_point;

/* Output configuration (feature report 91). On writing, save_as_default
 * stores the settings as the pad's defaults and load_factory_settings
 * restores the factory ones (each sent as one bit when non-zero). */
typedef struct vantix_hid_feature_output_parameters {
    uint8_t report_id;
    uint32_t output_report;
    vantix_output_mode output_mode;
    vantix_compression_mode compression; /* bits 0-1 of the wire byte */
    uint16_t packets_per_second;
    uint8_t save_as_default;
    uint8_t load_factory_settings;
} vantix_hid_feature_output_parameters;

/* Peripheral configuration (feature report 92). The reserved bytes travel
 * both ways, so a read, a change and a write keep them. */
typedef struct vantix_hid_feature_peripheral_configuration {
    uint8_t report_id;
    vantix_mag_card_output mag_card_output;
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
    uint8_t save_as_default;
    uint8_t load_factory_settings;
} vantix_hid_feature_peripheral_configuration;

/* Stored calibration (feature report 131); the library only moves it. */
typedef struct vantix_hid_feature_calibration_data {
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
} vantix_hid_feature_calibration_data;

/* Calibrate state (feature report 130). */
typedef struct vantix_hid_feature_calibrate {
    uint8_t report_id;
    uint8_t calibration_mode;
    vantix_calibration_point point;
} vantix_hid_feature_calibrate;

/* The _ref readers transfer; a failed read leaves the record all zero and
 * logs nothing. The writes wait for nothing and return the transport's
 * result. */
VANTIX_EXPORT void vantix_get_output_configuration_ref(vantix_device *device,
                                                       vantix_hid_feature_output_parameters *report);
VANTIX_EXPORT vantix_hid_feature_output_parameters vantix_get_output_configuration(vantix_device *device);
VANTIX_EXPORT vantix_error_code
vantix_set_output_configuration(vantix_device *device, vantix_hid_feature_output_parameters settings);
VANTIX_EXPORT void vantix_get_peripheral_configuration_ref(
    vantix_device *device, vantix_hid_feature_peripheral_configuration *report);
VANTIX_EXPORT vantix_hid_feature_peripheral_configuration
vantix_get_peripheral_configuration(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_set_peripheral_configuration(
    vantix_device *device, vantix_hid_feature_peripheral_configuration settings);
VANTIX_EXPORT void vantix_get_calibration_data_ref(vantix_device *device,
                                                   vantix_hid_feature_calibration_data *calibration_data);
VANTIX_EXPORT vantix_hid_feature_calibration_data vantix_get_calibration_data(vantix_device *device);
VANTIX_EXPORT vantix_error_code
vantix_set_calibration_data(vantix_device *device, vantix_hid_feature_calibration_data calibration_data);
/* Waits for the calibrate interlock before and after the read. */
VANTIX_EXPORT vantix_hid_feature_calibrate vantix_get_calibrate_state(vantix_device *device);
VANTIX_EXPORT void vantix_get_calibrate_state_ref(vantix_device *device,
                                                  vantix_hid_feature_calibrate *report);
/* Starts a calibration (dropping uncommitted region edits first), or
 * cancels the one running. */
VANTIX_EXPORT vantix_error_code vantix_device_calibrate(vantix_device *device);
VANTIX_EXPORT vantix_error_code vantix_device_cancel_calibrate(vantix_device *device);

/* ------------------------------------------------------------------------ */
/* Signing presets                                                           */
/* ------------------------------------------------------------------------ */

/*
 * Put a pad with a region store into a ready-made signing configuration:
 * factory store contents, screens 1 and 2 adjusted, raw data with extended
 * OEM reports and OEM card data (zelnar) or raw data with keyboard output
 * and keyboard card data with preamble (travon). A non-zero commit_changes
 * saves the store and marks the output and peripheral settings as the
 * pad's defaults. Pads without a store, or without compression,
 * throttling, or streaming and buffering, are left untouched. Always
 * return VANTIX_CODE_SUCCESS; the steps' own failures leave their
 * last-error text.
 */
VANTIX_EXPORT vantix_error_code vantix_set_zelnar_mode(vantix_device *device, char commit_changes);
VANTIX_EXPORT vantix_error_code vantix_set_travon_mode(vantix_device *device, char commit_changes);

/* ------------------------------------------------------------------------ */
/* Second-generation commands and diagnostics                                */
/* ------------------------------------------------------------------------ */

typedef enum vantix_tuning_state {
    VANTIX_LOCATION_1_STYLUS_DOWN = 0,
    VANTIX_LOCATION_1_STYLUS_UP = 1,
    VANTIX_LOCATION_2_STYLUS_DOWN = 2,
    VANTIX_LOCATION_2_STYLUS_UP = 3,
    VANTIX_TUNING_STATE_RAW_MAX = 255 /* any raw value is a valid value */
} vantix_tuning_state;

typedef struct vantix_hid_feature_tuning_status {
    uint8_t report_id;
    uint8_t command_id;
    uint8_t tuning_mode;    /* 0 or 1 */
    uint8_t tuning_aborted; /* 0 or 2: the bit stays in place */
    vantix_tuning_state tuning_state;
    uint8_t gain_setting;
} vantix_hid_feature_tuning_status;

typedef struct vantix_hid_feature_guid {
    uint8_t report_id; /* not read when writing */
    uint8_t guid[16];
} vantix_hid_feature_guid;

/* A simulated pen sample (coordinate_type 1 or 2: the input report the pad
 * makes of it). */
typedef struct vantix_pen_coordinate {
    uint8_t report_id; /* not read */
    uint8_t coordinate_type;
    uint16_t x;
    uint16_t y;
    uint8_t pen_down;
} vantix_pen_coordinate;

/* Pixels one read-back answer holds at most. */
#define VANTIX_PIXEL_VALUES_COUNT 256

typedef union vantix_pixel_color {
    uint32_t composit;
    struct {
        uint8_t a;
        uint8_t r;
        uint8_t g;
        uint8_t b;
    } argb;
} vantix_pixel_color;

/*
 * Display pixels read back (reports 104 and 105). The caller sets start_x
 * and start_y (the pad takes their low 8 bits); a read sets them to what
 * the pad reports, with number_of_pixels and the colours. An answer
 * claiming more than VANTIX_PIXEL_VALUES_COUNT pixels is clipped: the first
 * 256 are copied and number_of_pixels says 256.
 */
typedef struct vantix_hid_feature_pixel_values {
    uint8_t report_id;
    uint16_t start_x;
    uint16_t start_y;
    uint16_t number_of_pixels;
    vantix_pixel_color color_data[VANTIX_PIXEL_VALUES_COUNT];
} vantix_hid_feature_pixel_values;

/* Report 230 commands; failed transfers are logged at WARNING. */
VANTIX_EXPORT vantix_error_code vantix_genII_tune(vantix_device *dev);
VANTIX_EXPORT vantix_error_code vantix_genII_abort_tune(vantix_device *dev);
VANTIX_EXPORT vantix_hid_feature_tuning_status vantix_genII_get_tuning_status(vantix_device *dev);
VANTIX_EXPORT vantix_error_code vantix_genII_set_device_pid(vantix_device *dev, uint16_t pid);
/* The configuration byte (0 to 255), or -1 on failure. */
VANTIX_EXPORT int vantix_genII_query_hardware_configuration(vantix_device *dev);
VANTIX_EXPORT vantix_hid_feature_guid vantix_genII_get_hardware_GUID(vantix_device *dev);
VANTIX_EXPORT vantix_error_code vantix_genII_set_hardware_GUID(vantix_device *dev,
                                                               vantix_hid_feature_guid guid);
/* Injects one pen sample through the engineering test report (253). */
VANTIX_EXPORT vantix_error_code vantix_simulate_pen_input(vantix_device *dev, vantix_pen_coordinate *coords);
/* On failure the record is left exactly as it was. */
VANTIX_EXPORT vantix_error_code vantix_get_pixels(vantix_device *device,
                                                  vantix_hid_feature_pixel_values *pixel_values);

/* ------------------------------------------------------------------------ */
/* Report printers                                                           */
/* ------------------------------------------------------------------------ */

/*
 * Each writes a record to standard output: a header line, then "  NULL"
 * for a null pointer, or one "label = value" line per field with the
 * labels right-aligned in one column. Byte and colour arrays print as
 * dumps under their label: two hex digits and a space per byte (twenty to
 * a line) or "#aarrggbb " per colour (eight to a line), then one more
 * newline. Nothing outside the record is read: text stops at its field's
 * end, and the pixel, resource and screen lists at their arrays' size.
 */
VANTIX_EXPORT void vantix_print_display_info(const vantix_hid_feature_display_info *info);
VANTIX_EXPORT void vantix_print_capabilities(const vantix_hid_capabilities *capabilities);
VANTIX_EXPORT void vantix_print_display_settings(const vantix_hid_feature_display_settings *settings);
VANTIX_EXPORT void vantix_print_device_configure(const vantix_hid_feature_device_configure *configure);
VANTIX_EXPORT void vantix_print_contact_count_maximum(
    const vantix_hid_feature_contact_count_maximum *maximum);
VANTIX_EXPORT void vantix_print_version(const vantix_hid_feature_version *version);
VANTIX_EXPORT void vantix_print_coordinate_range(const vantix_hid_feature_coordinate_range *range);
/* The serial number prints between single quotes, up to its first zero. */
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
/* Output mode and compression print as their number and name ("UNKNOWN"
 * for a value without one); the card output as one 0/1 line per channel. */
VANTIX_EXPORT void vantix_print_output_configuration(const vantix_hid_feature_output_parameters *settings);
VANTIX_EXPORT void vantix_print_peripheral_configuration(
    const vantix_hid_feature_peripheral_configuration *settings);
VANTIX_EXPORT void vantix_print_calibration_data(const vantix_hid_feature_calibration_data *data);
VANTIX_EXPORT void vantix_print_calibrate_state(const vantix_hid_feature_calibrate *state);
VANTIX_EXPORT void vantix_print_tuning_status(const vantix_hid_feature_tuning_status *status);
VANTIX_EXPORT void vantix_print_hardware_guid(const vantix_hid_feature_guid *guid);
VANTIX_EXPORT void vantix_print_pen_coordinate(const vantix_pen_coordinate *coordinate);
/* The first number_of_pixels colours (at most 256). */
VANTIX_EXPORT void vantix_print_pixel_values(const vantix_hid_feature_pixel_values *pixels);
VANTIX_EXPORT void vantix_print_resource_info(const vantix_hid_feature_resource_info *info);
/* The first bytes_valid data bytes (at most 1024). */
VANTIX_EXPORT void vantix_print_resource(const vantix_hid_feature_resource *resource);
VANTIX_EXPORT void vantix_print_resource_availability(
    const vantix_hid_feature_resource_availability *availability);
/* The first region_count entries (at most 100) of both lists. */
VANTIX_EXPORT void vantix_print_screen(const vantix_hid_feature_screen *screen);
VANTIX_EXPORT void vantix_print_edit_screen(const vantix_hid_feature_edit_screen *edit);
VANTIX_EXPORT void vantix_print_screen_region_info(const vantix_hid_feature_screen_region_info *info);
VANTIX_EXPORT void vantix_print_region_update(const vantix_hid_feature_region_update *update);
/* The display records are defined with the display functions below. */
struct vantix_hid_feature_display_content;
struct vantix_hid_feature_display_chunk;
VANTIX_EXPORT void vantix_print_display_content(const struct vantix_hid_feature_display_content *content);
/* The whole payload, as the pad is always sent all of it. */
VANTIX_EXPORT void vantix_print_display_chunk(const struct vantix_hid_feature_display_chunk *chunk);

/* ------------------------------------------------------------------------ */
/* Graphics: fonts                                                           */
/* ------------------------------------------------------------------------ */

/* A monospaced font addressed by 8-bit character codes. */
typedef struct vantix_font {
    int32_t charWidth;
    int32_t charHeight;
    int32_t bitDepth; /* 1: one bit per pixel; otherwise one intensity byte per pixel */
    int32_t glyphCount;
    int32_t charByteLen;
    const unsigned char *indexes;
    const unsigned char *glyphs;
} vantix_font;

/* One glyph of an enhanced (proportional Unicode) font. */
typedef struct vantix_font_char {
    uint8_t width;
    uint8_t height;
    uint8_t decent; /* rows below the baseline */
    uint8_t combine;
    uint32_t rasterLen;
    unsigned char raster[200];
} vantix_font_char;

typedef struct vantix_enhanced_font {
    int32_t bitDepth;
    int32_t glyphCount;
    const int32_t *indexes; /* ascending code points */
    const vantix_font_char *glyphs;
} vantix_enhanced_font;

/* One glyph of the block font; its raster is in column order. */
typedef struct vantix_block_font_char {
    uint32_t charPoint;
    uint8_t width;
    uint8_t height;
    uint8_t decent;
    uint8_t combine;
    uint32_t rasterLen;
    unsigned char raster[10];
} vantix_block_font_char;

#define VANTIX_BLOCK_FONT_GLYPH_COUNT 529

VANTIX_EXPORT extern const vantix_enhanced_font vantix_default;
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_12pt;
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_16pt;
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_24pt;
VANTIX_EXPORT extern const vantix_enhanced_font ubuntu_mono_e_30pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_12pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_16pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_24pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_30pt;
VANTIX_EXPORT extern const vantix_font ubuntu_mono_30pt_aa;
VANTIX_EXPORT extern const vantix_block_font_char vantix_block_font[VANTIX_BLOCK_FONT_GLYPH_COUNT];

/* ---- graphics: bitmaps, shapes, text (begin) ---- */

/* One colour: red in bits 31-24, green 23-16, blue 15-8, alpha 7-0
 * (255 opaque, 0 transparent). Opaque white is 0xFFFFFFFF, black 0x000000FF. */
typedef uint32_t vantix_gcolor;

/*
 * An in-memory picture that is also a complete 24-bit BMP file image: a
 * 54-byte header at `bitmap`, then bottom-up rows at `raster` (= bitmap + 54),
 * each `rowSize` bytes (3 bytes per pixel, blue green red, rounded up to a
 * multiple of 4). The descriptor and the buffer both belong to the caller.
 * A descriptor whose `bitmap` is NULL (as left by a refused
 * vantix_bitmap_init) is empty: every operation draws nothing into it and
 * reads white from it.
 */
typedef struct vantix_bitmap {
    unsigned char *bitmap;
    unsigned char *raster;
    int32_t width;
    int32_t height;
    int32_t headerSize;
    int32_t arraySize;
    int32_t totalSize;
    int32_t rowSize;
} vantix_bitmap;

/* Where text goes inside a box. Other values act as VANTIX_ALIGN_BEGIN. */
typedef enum vantix_string_alignment {
    VANTIX_ALIGN_BEGIN = 0, /* left or top */
    VANTIX_ALIGN_MIDDLE = 1,
    VANTIX_ALIGN_END = 2 /* right or bottom */
} vantix_string_alignment;

/* Bitmaps and pixels. None of these functions logs. */
VANTIX_EXPORT void vantix_bitmap_write_header(unsigned char *bmp, int32_t totalSize, int32_t arraySize,
                                              int32_t width, int32_t height);
/*
 * Makes `bmp` describe `buffer`, which must hold at least
 * 54 + height * ((24 * width + 31) / 32 * 4) bytes, painted opaque white.
 * A width or height below 1, a NULL buffer, or a size whose file image
 * would not fit in 31 bits is refused: the descriptor is then all zero
 * (bmp->bitmap == NULL) and the buffer is left untouched.
 */
VANTIX_EXPORT void vantix_bitmap_init(vantix_bitmap *bmp, unsigned char *buffer, int32_t width,
                                      int32_t height);
VANTIX_EXPORT vantix_gcolor vantix_color_blend(vantix_gcolor fg, vantix_gcolor bg);
VANTIX_EXPORT void vantix_set_pixel(vantix_bitmap *bmp, int32_t x, int32_t y, vantix_gcolor color);
VANTIX_EXPORT vantix_gcolor vantix_get_pixel(const vantix_bitmap *bmp, int32_t x, int32_t y);
VANTIX_EXPORT void vantix_bitmap_clear(vantix_bitmap *bmp, vantix_gcolor color);
VANTIX_EXPORT void vantix_bitmap_copy(const vantix_bitmap *src, vantix_bitmap *dst, int32_t srcX,
                                      int32_t srcY, int32_t dstX, int32_t dstY, int32_t width,
                                      int32_t height);

/* Lines and shapes, clipped to the bitmap. None of these functions logs. */
VANTIX_EXPORT void vantix_draw_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                    vantix_gcolor color);
VANTIX_EXPORT void vantix_draw_aa_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                       vantix_gcolor color);
VANTIX_EXPORT void vantix_draw_thick_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                          float width, vantix_gcolor color);
VANTIX_EXPORT void vantix_draw_thick_aa_line(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1,
                                             int32_t y1, float width, vantix_gcolor color);
/* A negative radius draws nothing. */
VANTIX_EXPORT void vantix_draw_circle(vantix_bitmap *bmp, int32_t xm, int32_t ym, int32_t r,
                                      vantix_gcolor color);
/* Ellipse inside the bounding rectangle (x0, y0)-(x1, y1), corners included. */
VANTIX_EXPORT void vantix_draw_ellipse(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                       vantix_gcolor color);
VANTIX_EXPORT void vantix_draw_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                         vantix_gcolor color);
/* The border grows `width` pixels inwards; a width below 1 draws nothing. */
VANTIX_EXPORT void vantix_draw_thick_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1,
                                               int32_t y1, int32_t width, vantix_gcolor color);
VANTIX_EXPORT void vantix_fill_rectangle(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                         vantix_gcolor color);
/* A negative radius draws nothing. */
VANTIX_EXPORT void vantix_fill_circle(vantix_bitmap *bmp, int32_t x, int32_t y, int32_t r,
                                      vantix_gcolor color);
/* Centre (x0, y0) after ordering the corners; semi-axes x1 - x0 and y1 - y0. */
VANTIX_EXPORT void vantix_fill_ellipse(vantix_bitmap *bmp, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                       vantix_gcolor color);

/* Fixed (monospaced, 8-bit) fonts. None of these functions logs. */
VANTIX_EXPORT const unsigned char *vantix_font_char_lookup(const vantix_font *font, char c);
VANTIX_EXPORT void vantix_draw_char(vantix_bitmap *bmp, const vantix_font *font, char chr, int32_t x,
                                    int32_t y, vantix_gcolor color);
VANTIX_EXPORT void vantix_draw_string(vantix_bitmap *bmp, const vantix_font *font, const char *string,
                                      int32_t x, int32_t y, vantix_gcolor color);
VANTIX_EXPORT void vantix_draw_string_aligned(vantix_bitmap *bmp, const vantix_font *font, const char *string,
                                              int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                                              vantix_string_alignment hAlign, vantix_string_alignment vAlign,
                                              vantix_gcolor color);

/* Enhanced (proportional Unicode) fonts; strings are zero-terminated arrays
 * of code points (ICU's UChar32). None of these functions logs. */
VANTIX_EXPORT const vantix_font_char *enhanced_get_font_character(const vantix_enhanced_font *font,
                                                                  int32_t character);
VANTIX_EXPORT size_t u_strlen32(const int32_t *string);
VANTIX_EXPORT unsigned int enhanced_get_string_width(const vantix_enhanced_font *font, const int32_t *string);
VANTIX_EXPORT unsigned int enhanced_get_string_height(const vantix_enhanced_font *font,
                                                      const int32_t *string);
VANTIX_EXPORT void enhanced_draw_char(vantix_bitmap *bmp, const vantix_enhanced_font *font, int32_t chr,
                                      int32_t x, int32_t y, vantix_gcolor color);
VANTIX_EXPORT void enhanced_draw_string(vantix_bitmap *bmp, const vantix_enhanced_font *font,
                                        const int32_t *string, int32_t x, int32_t y, vantix_gcolor color);
VANTIX_EXPORT void enhanced_draw_string_aligned(vantix_bitmap *bmp, const vantix_enhanced_font *font,
                                                const int32_t *string, int32_t x0, int32_t y0, int32_t x1,
                                                int32_t y1, vantix_string_alignment hAlign,
                                                vantix_string_alignment vAlign, vantix_gcolor color);

/*
 * The block font and one-bit rasters in column order: pixel (x, y) of a
 * W x H raster is bit H * x + y, most significant bit of each byte first.
 * Coordinates outside the given width and height are ignored (reads give 0).
 */
VANTIX_EXPORT const vantix_block_font_char *vantix_get_font_character(int32_t character);
VANTIX_EXPORT void vantix_font_get_from_string(const uint32_t *inChars,
                                               const vantix_block_font_char **outChars, uint32_t len);
/* Bytes are taken as unsigned: 0x80-0xFF select U+0080-U+00FF. */
VANTIX_EXPORT void vantix_font_get_from_cstring(const char *inChars, const vantix_block_font_char **outChars,
                                                uint32_t len);
VANTIX_EXPORT int32_t vantix_font_get_width(const vantix_block_font_char *const *chars, uint32_t len);
VANTIX_EXPORT int32_t vantix_font_get_height(const vantix_block_font_char *const *chars, uint32_t len);
VANTIX_EXPORT void vantix_font_create_raster(const vantix_block_font_char *const *chars, uint32_t len,
                                             unsigned char *raster, uint32_t width, uint32_t height);
VANTIX_EXPORT void vantix_raster_copy(const unsigned char *source, uint32_t sourceWidth,
                                      uint32_t sourceHeight, unsigned char *dest, uint32_t destWidth,
                                      uint32_t destHeight, uint32_t destX, uint32_t destY);
VANTIX_EXPORT unsigned char vantix_raster_getpixel(const unsigned char *raster, uint32_t width,
                                                   uint32_t height, uint32_t x, uint32_t y);
VANTIX_EXPORT void vantix_raster_setpixel(unsigned char *raster, uint32_t width, uint32_t height, uint32_t x,
                                          uint32_t y, unsigned char on);

/* ---- graphics: bitmaps, shapes, text (end) ---- */

/* ------------------------------------------------------------------------ */
/* The pad's display: pictures and text                                      */
/* ------------------------------------------------------------------------ */

/* Display content (feature report 101): the byte is the pad's to interpret. */
typedef struct vantix_hid_feature_display_content {
    uint8_t report_id; /* not read: the report ID is always 101 */
    uint8_t content;
} vantix_hid_feature_display_content;

/* Packed pixels one display chunk (feature report 103) carries at most. */
#define VANTIX_DISPLAY_CHUNK_PAYLOAD 2039

/*
 * One rectangle of the display (feature report 103). Its 16-bit fields
 * travel high byte first. Pixels are packed column by column, top to
 * bottom, without a break between columns: at depth 1 one bit per pixel
 * from the most significant bit down (set: dark); at depths 4 and 8 one
 * grey level (0 black .. 15 white) per nibble, low nibble first; at depth
 * 24 three bytes red, green, blue.
 */
typedef struct vantix_hid_feature_display_chunk {
    uint8_t report_id; /* not read: the report ID is always 103 */
    uint16_t x;
    uint16_t y;
    uint16_t width;
    uint16_t height;
    uint8_t bits_per_pixel;
    uint8_t graphic[VANTIX_DISPLAY_CHUNK_PAYLOAD]; /* always sent whole */
} vantix_hid_feature_display_chunk;

/* Where the given x lies on a text drawn on the pad. */
typedef enum vantix_font_alignment {
    VANTIX_ALIGN_LEFT = 0,
    VANTIX_ALIGN_RIGHT = 1,
    VANTIX_ALIGN_CENTER = 2
} vantix_font_alignment;

/* Both wait for the pad's display interlock, then send their report. */
VANTIX_EXPORT vantix_error_code vantix_set_display_content(vantix_device *device,
                                                           vantix_hid_feature_display_content content);
VANTIX_EXPORT vantix_error_code vantix_set_display_chunk(vantix_device *device,
                                                         vantix_hid_feature_display_chunk chunk);
/*
 * Sends `bmp` to the display with its top-left pixel at (x, y), cut into
 * as few chunks as the payload allows and packed at `depth` bits per pixel:
 * 1, 4, 8 or 24. Any other depth, and a null or empty bitmap, is refused
 * before anything is sent. A failed chunk ends the transfer; the chunks
 * sent before it stay on the display. Allocates nothing and writes no log
 * records of its own.
 */
VANTIX_EXPORT vantix_error_code vantix_transfer_bitmap_to_device(vantix_device *device, vantix_bitmap *bmp,
                                                                 unsigned int x, unsigned int y, int depth);

/*
 * Converts `dataLen` bytes in the character set `encoding` (any ICU
 * converter name, for example "utf-8", "ISO-8859-1", "Shift_JIS") to a
 * zero-terminated array of code points, stopping at the first NUL. Stores
 * the number of code points in *charLen. Returns null for an unknown
 * encoding, malformed or empty input, or null arguments. Release the
 * result with free().
 */
VANTIX_EXPORT int32_t *parse_string_encoding(const char *data, size_t dataLen, const char *encoding,
                                             size_t *charLen);
/*
 * Draws text on the pad's display in the device's font (device->font),
 * with x at the text's left edge, right edge or middle as `alignment`
 * says and y at its top; `invert` draws white on black. The depth sent is
 * the smaller of the font's and the display's. Text that would cross the
 * display's edge is refused before anything is sent.
 */
VANTIX_EXPORT vantix_error_code vantix_device_draw_text_encoded(vantix_device *device, const char *data,
                                                                unsigned int dataLen, unsigned int x,
                                                                unsigned int y,
                                                                vantix_font_alignment alignment,
                                                                uint8_t invert, const char *encoding);
/* The same for NUL-terminated UTF-8 text. */
VANTIX_EXPORT vantix_error_code vantix_device_draw_text(vantix_device *device, const char *text,
                                                        unsigned int x, unsigned int y,
                                                        vantix_font_alignment alignment, uint8_t invert);
/* Pixel width and height of text in the device's font; 0 for text that
 * cannot be converted or a device without a font. */
VANTIX_EXPORT unsigned int vantix_measure_text_width_encoding(vantix_device *device, const char *data,
                                                              unsigned int dataLen, const char *encoding);
VANTIX_EXPORT unsigned int vantix_measure_text_height_encoding(vantix_device *device, const char *data,
                                                               unsigned int dataLen, const char *encoding);
VANTIX_EXPORT unsigned int vantix_measure_text_width(vantix_device *device, const char *text);
VANTIX_EXPORT unsigned int vantix_measure_text_height(vantix_device *device, const char *text);

#ifdef __cplusplus
}
#endif

#endif /* VANTIX_ZELNAR_H */
