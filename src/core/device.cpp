// SPDX-License-Identifier: Apache-2.0
// Device records across drivers, raw report I/O and the callback registries.
#include <atomic>
#include <cstdlib>

#include "core/close_request.hpp"
#include "core/failure.hpp"
#include "core/hotplug_callbacks.hpp"
#include "core/read_thread.hpp"
#include "core/region_memory.hpp"
#include "debug/log.hpp"
#include "support/list_range.hpp"

namespace {

vantix::list_range<vantix_device_driver> started_drivers_list() {
    return vantix::list_range<vantix_device_driver>(vantix_get_drivers());
}

// A change to a callback list and the record it is logged with. Changes to
// a guarded list are made under its lock and logged after it is released,
// so no log handler runs under a library lock.
enum class callback_change { added, removed, list_empty, unchanged };

// Appends `callback` to `list`; registrations without a list add nothing.
callback_change add_callback(vantix_list *list, void *callback) {
    if (!list || !callback)
        return callback_change::unchanged;
    vantix_list_add(list, callback);
    return callback_change::added;
}

callback_change remove_callback(vantix_list *list, void *callback) {
    if (!list || !list->first)
        return callback_change::list_empty;
    return vantix_list_remove_ptr(list, callback) ? callback_change::removed : callback_change::unchanged;
}

void log_change(callback_change change, const char *kind, const char *function, const char *file, int line) {
    if (!vantix::debug::wanted(VANTIX_DEBUG_LEVEL_INFO))
        return;
    switch (change) {
    case callback_change::added:
        vantix_debug_report_message(function, file, line, VANTIX_DEBUG_LEVEL_INFO,
                                    "Successfully added %s callback to list.", kind);
        break;
    case callback_change::removed:
        vantix_debug_report_message(function, file, line, VANTIX_DEBUG_LEVEL_INFO,
                                    "Successfully removed callback.");
        break;
    case callback_change::list_empty:
        vantix_debug_report_message(function, file, line, VANTIX_DEBUG_LEVEL_INFO,
                                    "Callbacks list is empty, nothing to remove.");
        break;
    case callback_change::unchanged: break;
    }
}

// Applies `change` to the hotplug list under its lock; the caller logs the
// result once the lock is released.
callback_change change_hotplug_list(callback_change (*change)(vantix_list *, void *),
                                    vantix_hotplug_callback callback) {
    std::lock_guard lock(vantix::hotplug_callbacks_lock());
    return change(vantix_get_device_callbacks(), reinterpret_cast<void *>(callback));
}

#define VANTIX_LOG_CHANGE(change, kind) log_change(change, kind, __func__, __FILE__, __LINE__)

// Every device operation goes through the record's driver; a record without
// one (or a driver without the entry) is refused instead of crashing.
template <typename Entry>
Entry driver_entry(vantix_device *device, Entry vantix_device_driver::*entry, const char *function,
                   const char *file, int line) {
    if (!device) {
        vantix::report_failure(function, file, line, "No device given.");
        return nullptr;
    }
    if (!device->driver || !(device->driver->*entry)) {
        vantix::report_failure(function, file, line, "Device has no driver for this operation.");
        return nullptr;
    }
    return device->driver->*entry;
}

#define VANTIX_DRIVER_ENTRY(device, field) \
    driver_entry(device, &vantix_device_driver::field, __func__, __FILE__, __LINE__)

// Constant-initialised: set by a static initialiser of the top layer.
std::atomic<vantix::core::close_function> installed_close{nullptr};

}  // namespace

namespace vantix::core {

void set_close_function(close_function close) { installed_close.store(close, std::memory_order_release); }

vantix_error_code close_device(vantix_device *device) {
    close_function close = installed_close.load(std::memory_order_acquire);
    return close ? close(device) : VANTIX_CODE_ERROR;
}

}  // namespace vantix::core

extern "C" {

vantix_error_code vantix_list_devices(vantix_device **start) {
    VANTIX_TRACE_CALL();
    vantix_device *head = nullptr;
    vantix_device *tail = nullptr;
    for (vantix_device_driver *driver : started_drivers_list()) {
        if (!driver->initialized || !driver->list_devices)
            continue;
        vantix_device *chain = nullptr;
        if (driver->list_devices(driver, &chain) != VANTIX_CODE_SUCCESS || !chain)
            continue;
        if (tail)
            tail->next = chain;
        else
            head = chain;
        for (tail = chain; tail->next; tail = tail->next) {
        }
    }
    if (start)
        *start = head;
    else
        vantix_free_device_list(head);  // nowhere to hand the records to
    return VANTIX_CODE_SUCCESS;
}

unsigned int vantix_count_device_list(vantix_device *list) {
    VANTIX_TRACE_CALL();
    unsigned int count = 0;
    for (; list; list = list->next)
        ++count;
    return count;
}

void vantix_free_device_list(vantix_device *list) {
    VANTIX_TRACE_CALL();
    while (list) {
        // A read thread still unwinding from closing its own pad may touch
        // the record; it goes first.
        vantix::wait_read_thread_gone(list);
        vantix_lock_open_devices();
        vantix_list_remove_ptr(vantix_get_open_devices(), list);
        vantix_unlock_open_devices();
        vantix_device *next = list->next;
        if (list->driver && list->driver->free_device)
            list->driver->free_device(list);
        else
            vantix_real_free_device(list);
        list = next;
    }
}

vantix_error_code vantix_real_free_device(vantix_device *device) {
    if (!device)
        return VANTIX_CODE_SUCCESS;
    std::free(device->manufacturer);
    std::free(device->model);
    std::free(device->path);
    vantix::core::free_regions(device->regions);
    std::free(device->uuid);
    vantix_list_free(device->input_callbacks);
    std::free(device);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_device_read(vantix_device *device) {
    VANTIX_TRACE_CALL();
    auto entry = VANTIX_DRIVER_ENTRY(device, device_read);
    return entry ? entry(device) : VANTIX_CODE_ERROR;
}

vantix_error_code vantix_hid_set_output_report(vantix_device *device, unsigned char *buffer,
                                               unsigned int length) {
    VANTIX_TRACE_CALL();
    auto entry = VANTIX_DRIVER_ENTRY(device, set_output_report);
    return entry ? entry(device, buffer, length) : VANTIX_CODE_ERROR;
}

vantix_error_code vantix_hid_set_feature_report(vantix_device *device, unsigned char *buffer,
                                                unsigned int length) {
    VANTIX_TRACE_CALL();
    auto entry = VANTIX_DRIVER_ENTRY(device, set_feature_report);
    return entry ? entry(device, buffer, length) : VANTIX_CODE_ERROR;
}

vantix_error_code vantix_hid_get_feature_report(vantix_device *device, unsigned char *buffer,
                                                unsigned int length) {
    VANTIX_TRACE_CALL();
    auto entry = VANTIX_DRIVER_ENTRY(device, get_feature_report);
    return entry ? entry(device, buffer, length) : VANTIX_CODE_ERROR;
}

void vantix_register_input_callback(vantix_device *device, vantix_input_callback callback) {
    VANTIX_TRACE_CALL();
    if (device && device->open)
        VANTIX_LOG_CHANGE(add_callback(device->input_callbacks, reinterpret_cast<void *>(callback)), "input");
}

void vantix_unregister_input_callback(vantix_device *device, vantix_input_callback callback) {
    VANTIX_TRACE_CALL();
    VANTIX_LOG_CHANGE(
        remove_callback(device ? device->input_callbacks : nullptr, reinterpret_cast<void *>(callback)),
        "input");
}

void vantix_register_hotplug_callback(vantix_hotplug_callback callback) {
    VANTIX_TRACE_CALL();
    VANTIX_LOG_CHANGE(change_hotplug_list(add_callback, callback), "hotplug");
}

void vantix_unregister_hotplug_callback(vantix_hotplug_callback callback) {
    VANTIX_TRACE_CALL();
    VANTIX_LOG_CHANGE(change_hotplug_list(remove_callback, callback), "hotplug");
}

}  // extern "C"
