// SPDX-License-Identifier: Apache-2.0
// The driver table of the macOS driver.
#include "platform/mac/mac_driver.hpp"

namespace {

const char *driver_name() { return VANTIX_MAC_DRIVER_NAME; }

// Nothing process-wide to release beyond what driver_destroy does.
void driver_shutdown() {}

}  // namespace

extern "C" {

vantix_device_driver VANTIX_MAC_DRIVER_TABLE = {
    .driver_init = vantix::mac::driver_init,
    .driver_destroy = vantix::mac::driver_destroy,
    .open_device = vantix::mac::open_device,
    .close_device = vantix::mac::close_device,
    .list_devices = vantix::mac::list_devices,
    .device_read = vantix::mac::device_read,
    .set_output_report = vantix::mac::set_output_report,
    .set_feature_report = vantix::mac::set_feature_report,
    .get_feature_report = vantix::mac::get_feature_report,
    .get_name = driver_name,
    .thread_running = vantix::mac::thread_running,
    .wait_thread = vantix::mac::thread_wait,
    .initialized = 0,
    .shutdown = driver_shutdown,
    .get_hotplug_callbacks = nullptr,
    .free_device = vantix_real_free_device,
    .report_error = nullptr,
    .debug = nullptr,
    .input_report = nullptr,
};

}  // extern "C"
