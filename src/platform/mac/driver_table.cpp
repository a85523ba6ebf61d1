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
    vantix::mac::driver_init,
    vantix::mac::driver_destroy,
    vantix::mac::open_device,
    vantix::mac::close_device,
    vantix::mac::list_devices,
    vantix::mac::device_read,
    vantix::mac::set_output_report,
    vantix::mac::set_feature_report,
    vantix::mac::get_feature_report,
    driver_name,
    vantix::mac::thread_running,
    vantix::mac::thread_wait,
    0,
    driver_shutdown,
    nullptr,
    vantix_real_free_device,
    nullptr,
    nullptr,
    nullptr,
};

}  // extern "C"
