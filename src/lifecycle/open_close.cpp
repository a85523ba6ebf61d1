// SPDX-License-Identifier: Apache-2.0
// Opening a pad (learning what every later operation relies on), closing it
// again, and ending a pad's read thread with its close.

#include <cstdlib>

#include "core/close_request.hpp"
#include "core/device_flags.hpp"
#include "core/failure.hpp"
#include "core/pause.hpp"
#include "core/read_thread.hpp"
#include "debug/log.hpp"

namespace {

constexpr int startup_poll_ms = 100;
constexpr int startup_limit_ms = 9999;

// Waits for the pad to leave its start-up state. A pad whose status cannot
// be read, or that never finishes, is opened all the same.
void wait_for_startup(vantix_device *device) {
    bool initialising = true;
    for (int waited = 0; initialising && waited <= startup_limit_ms; waited += startup_poll_ms) {
        vantix_hid_feature_device_status status{};
        vantix_get_device_status_ref(device, &status);
        if (status.report_id == 0)
            break;
        initialising = status.is_initializing != 0;
        vantix::pause_ms(startup_poll_ms);
    }
}

// Releases what open acquired: callbacks, regions and UUID.
void release_open_state(vantix_device *device) {
    vantix_list_free(device->input_callbacks);
    device->input_callbacks = nullptr;
    vantix_free_regions(device->regions);
    device->regions = nullptr;
    vantix_free_device_uuid(device->uuid);
    device->uuid = nullptr;
}

void add_to_open_list(vantix_device *device) {
    if (!vantix_get_open_devices())
        vantix_set_open_devices(vantix_create_list());
    vantix_lock_open_devices();
    vantix_list_add(vantix_get_open_devices(), device);
    vantix_unlock_open_devices();
}

void remove_from_open_list(vantix_device *device) {
    vantix_lock_open_devices();
    vantix_list_remove_ptr(vantix_get_open_devices(), device);
    vantix_unlock_open_devices();
}

// Drivers close a pad they find gone through the core's close request.
[[maybe_unused]] const bool close_installed = (vantix::core::set_close_function(vantix_close_device), true);

}  // namespace

extern "C" {

vantix_error_code vantix_open_device(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!device) {
        VANTIX_FAIL("Parameter passed into vantix_open_device was null.");
        return VANTIX_CODE_ERROR;
    }
    if (vantix::is_open(device)) {
        VANTIX_FAIL("Device is already open.");
        return VANTIX_CODE_ERROR;
    }
    if (!device->driver || !device->driver->open_device) {
        VANTIX_FAIL("Device has no driver for this operation.");
        return VANTIX_CODE_ERROR;
    }
    const vantix_error_code opened = device->driver->open_device(device);
    if (opened != VANTIX_CODE_SUCCESS)
        return opened;
    vantix::set_open(device, true);

    wait_for_startup(device);
    device->input_callbacks = vantix_create_list();
    vantix_get_display_info_ref(device, &device->display_info);
    vantix_get_version_ref(device, &device->version_info);
    device->regions = vantix_get_regions(device);
    device->uuid = vantix_get_device_uuid(device);
    if (!device->font)
        device->font = const_cast<vantix_enhanced_font *>(&vantix_default);

    if (!device->display_info.report_id || !device->version_info.report_id || !device->uuid ||
        !device->regions) {
        // Leave a record that can be opened again or freed: nothing half-open.
        release_open_state(device);
        vantix::set_open(device, false);
        if (device->driver->close_device)
            device->driver->close_device(device);
        return VANTIX_CODE_ERROR;
    }
    add_to_open_list(device);
    return opened;
}

vantix_error_code vantix_close_device(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!device) {
        VANTIX_FAIL("Parameter passed into vantix_close_device was null.");
        return VANTIX_CODE_ERROR;
    }
    // The read thread must not be inside a read when its pad is released.
    vantix::stop_read_thread(device);
    if (!vantix::mark_closed(device)) {
        VANTIX_FAIL("Device is already closed.");
        return VANTIX_CODE_ERROR;
    }
    vantix_device_notify_close(device);
    release_open_state(device);
    const vantix_error_code closed = device->driver && device->driver->close_device
                                         ? device->driver->close_device(device)
                                         : VANTIX_CODE_SUCCESS;
    remove_from_open_list(device);
    return closed;
}

void vantix_device_read_done(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!device)
        return;
    pthread_t thread{};
    if (!vantix::newest_read_thread(device, &thread))
        return;
    vantix_close_device(device);  // stops and joins the thread first
    VANTIX_LOG_INFO("Waiting for reading thread to close: device: %p, thread: %p",
                    static_cast<void *>(device), reinterpret_cast<void *>(thread));
    vantix::wait_read_thread_gone(device);
    device->parameters.readUntilDoneThread = pthread_t{};
}

}  // extern "C"
