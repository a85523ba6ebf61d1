// SPDX-License-Identifier: Apache-2.0
// The built-in "REAL" driver table of the Linux build.
#include "platform/linux/linux_driver.hpp"

extern "C" {

static const char *vantix_real_get_driver_name(void) { return "REAL"; }

// Nothing process-wide to release beyond what driver_destroy does.
static void vantix_real_shutdown(void) {}

vantix_device_driver vantix_real_driver = {
    .driver_init = vantix_real_driver_init,
    .driver_destroy = vantix_real_driver_destroy,
    .open_device = vantix_real_open_device,
    .close_device = vantix_real_close_device,
    .list_devices = vantix_real_list_devices,
    .device_read = vantix_real_device_read,
    .set_output_report = vantix_real_hid_set_output_report,
    .set_feature_report = vantix_real_hid_set_feature_report,
    .get_feature_report = vantix_real_hid_get_feature_report,
    .get_name = vantix_real_get_driver_name,
    .thread_running = vantix_real_thread_running,
    .wait_thread = vantix_real_thread_wait,
    .initialized = 0,
    .shutdown = vantix_real_shutdown,
    .get_hotplug_callbacks = nullptr,
    .free_device = vantix_real_free_device,
    .report_error = nullptr,
    .debug = nullptr,
    .input_report = nullptr,
};

}  // extern "C"
