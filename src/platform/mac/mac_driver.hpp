// SPDX-License-Identifier: Apache-2.0
// Entries of the macOS driver and the helpers behind them. The driver's
// functions live in a namespace so that, built on Linux against the IOKit
// stand-in, they sit beside the Linux driver in one test program; only the
// table is a C symbol: vantix_real_driver on macOS, another name elsewhere.
#pragma once

#include <IOKit/hid/IOHIDManager.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "vantix-zelnar.h"

#ifndef VANTIX_MAC_DRIVER_TABLE
#define VANTIX_MAC_DRIVER_TABLE vantix_real_driver
#define VANTIX_MAC_DRIVER_NAME "REAL"
#endif

extern "C" {
extern vantix_device_driver VANTIX_MAC_DRIVER_TABLE;
}

namespace vantix::mac {

// Driver entries.
vantix_error_code driver_init();
vantix_error_code driver_destroy(vantix_device_driver *driver);
vantix_error_code list_devices(vantix_device_driver *driver, vantix_device **start);
vantix_error_code open_device(vantix_device *device);
vantix_error_code close_device(vantix_device *device);
vantix_error_code device_read(vantix_device *device);
vantix_error_code set_feature_report(vantix_device *device, unsigned char *buffer, unsigned int length);
vantix_error_code get_feature_report(vantix_device *device, unsigned char *buffer, unsigned int length);
vantix_error_code set_output_report(vantix_device *device, unsigned char *buffer, unsigned int length);
uint8_t thread_running();
void thread_wait();

// Device properties; a property of another type counts as absent.
int32_t int_property(IOHIDDeviceRef device, const char *key);
std::optional<std::string> string_property(IOHIDDeviceRef device, const char *key);
// At most `limit` bytes of a data property.
std::optional<std::vector<uint8_t>> byte_property(IOHIDDeviceRef device, const char *key, size_t limit);
// The path that names a pad in listings, open and hotplug events.
std::string device_path(IOHIDDeviceRef device);

// The paths of one listing and of the one before it.
struct listing_paths {
    std::vector<std::string> previous;
    std::vector<std::string> latest;
};
// Lists the pads as list_devices does and hands back the paths of this
// listing and the one before, taken in the same step.
vantix_error_code list_pads(vantix_device_driver *driver, vantix_device **start, listing_paths *paths);

// How long a USB arrival or removal is given before the pads are listed
// again, so that the HID layer has published or withdrawn the device.
extern std::atomic<int> hotplug_settle_ms;

}  // namespace vantix::mac
