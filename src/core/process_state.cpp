// SPDX-License-Identifier: Apache-2.0
// Process-wide lists: the open devices (with their lock) and the hotplug callbacks.
#include <cstring>
#include <new>

#include "core/hotplug_callbacks.hpp"
#include "support/list_range.hpp"

namespace {

vantix_list *open_devices = nullptr;
// Statically initialised, so first use needs no unguarded lazy set-up.
vantix_mutex open_mutex = {PTHREAD_MUTEX_INITIALIZER};
vantix_list *device_callbacks = nullptr;

}  // namespace

extern "C" {

vantix_list *vantix_get_open_devices(void) { return open_devices; }

void vantix_set_open_devices(vantix_list *list) {
    vantix_lock_open_devices();
    open_devices = list;
    vantix_unlock_open_devices();
}

void vantix_lock_open_devices(void) { vantix_mutex_lock(&open_mutex); }
void vantix_unlock_open_devices(void) { vantix_mutex_unlock(&open_mutex); }

vantix_list *vantix_get_device_callbacks(void) { return device_callbacks; }
void vantix_set_device_callbacks(vantix_list *list) { device_callbacks = list; }

}  // extern "C"

namespace vantix {

std::mutex &hotplug_callbacks_lock() {
    static std::mutex lock;
    return lock;
}

std::vector<vantix_hotplug_callback> hotplug_callbacks_snapshot() {
    std::vector<vantix_hotplug_callback> callbacks;
    std::lock_guard lock(hotplug_callbacks_lock());
    try {
        callbacks.reserve(vantix_list_count(device_callbacks));
    } catch (const std::bad_alloc &) {
        return callbacks;  // out of memory: this event reaches no callback
    }
    for (void *item : list_range<void>(device_callbacks)) {
        vantix_hotplug_callback callback;
        static_assert(sizeof callback == sizeof item);
        std::memcpy(&callback, &item, sizeof callback);
        callbacks.push_back(callback);
    }
    return callbacks;
}

void ensure_hotplug_callbacks() {
    std::lock_guard lock(hotplug_callbacks_lock());
    if (!device_callbacks)
        device_callbacks = vantix_create_list();
}

void release_hotplug_callbacks() {
    std::lock_guard lock(hotplug_callbacks_lock());
    vantix_list_free(device_callbacks);
    device_callbacks = nullptr;
}

}  // namespace vantix
