// SPDX-License-Identifier: Apache-2.0
// How a driver hands a raw input report on: through the `input_report`
// entry of the table the record names, so that whoever stands in that table
// (the library's dispatch, or a table wrapping the driver to watch its
// traffic) sees every report, decodable or not. A table registered through
// vantix_add_device_driver always has the entry; a record of a table never
// registered goes to the dispatch directly. Platform readers include this.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::input {

inline void deliver_input(vantix_device *device, unsigned char *report, unsigned int length) {
    if (device && device->driver && device->driver->input_report)
        device->driver->input_report(device, report, length);
    else
        vantix_get_driver_input_report(device, report, length);
}

}  // namespace vantix::input
