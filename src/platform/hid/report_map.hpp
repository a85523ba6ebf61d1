// SPDX-License-Identifier: Apache-2.0
// What both platform drivers share about a pad's report IDs: the descriptor
// parser that fills the map and the check every feature transfer passes.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::platform {

// Entries of `hid_report_map`: report IDs 0 to 254.
inline constexpr unsigned int report_map_size = sizeof(vantix_device_os_params{}.hid_report_map);

// True when a feature transfer of `buffer` may reach the pad: a buffer of
// 1 to `max_length` bytes whose report ID the pad declares. Otherwise the
// failure is reported on behalf of `function` and nothing is sent.
bool feature_request_allowed(const vantix_device *device, const unsigned char *buffer, unsigned int length,
                             unsigned int max_length, const char *function, const char *file, int line);

}  // namespace vantix::platform

extern "C" {
// Marks in retr[0..254] every report ID the HID report descriptor declares.
void parse_hid_descriptor(const unsigned char *data, unsigned int len, unsigned char *retr);
}
