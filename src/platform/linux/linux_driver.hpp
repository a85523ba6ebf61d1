// SPDX-License-Identifier: Apache-2.0
// Entries of the Linux "REAL" driver and the helpers behind them.
#pragma once

#include "platform/hid/report_map.hpp"
#include "vantix-zelnar.h"

extern "C" {

// Discovery and hotplug.
vantix_error_code vantix_real_driver_init(void);
vantix_error_code vantix_real_driver_destroy(vantix_device_driver *driver);
vantix_error_code vantix_real_list_devices(vantix_device_driver *driver, vantix_device **start);
uint8_t vantix_real_thread_running(void);
void vantix_real_thread_wait(void);

// The hidraw transport.
vantix_error_code vantix_real_open_device(vantix_device *device);
vantix_error_code vantix_real_close_device(vantix_device *device);
vantix_error_code vantix_real_hid_set_output_report(vantix_device *device, unsigned char *buffer,
                                                    unsigned int length);
vantix_error_code vantix_real_hid_set_feature_report(vantix_device *device, unsigned char *buffer,
                                                     unsigned int length);
vantix_error_code vantix_real_hid_get_feature_report(vantix_device *device, unsigned char *buffer,
                                                     unsigned int length);
vantix_error_code vantix_real_device_read(vantix_device *device);
vantix_error_code fill_hid_report_map(vantix_device *device);

// Value of a lower-case hexadecimal 16-bit ID as sysfs writes it, or -1.
int vantix_hex_to_decimal(const char *str);
}
