// SPDX-License-Identifier: Apache-2.0
// Store report transfers shared by regions, resources and screens.
#include "display/store_io.hpp"

namespace vantix::display::store {

void refresh_region_cache(vantix_device *device) {
    if (!device->regions)
        return;
    vantix_free_regions(device->regions);
    device->regions = vantix_get_regions(device);
}

int read_number(vantix_device *device, uint8_t id, interlock_wait wait, call_site site) {
    return protocol::read_byte_report(device, {id, 2}, {.wait = wait, .refuse_null = true}, site);
}

vantix_error_code write_number(vantix_device *device, uint8_t id, uint8_t value, interlock_wait wait,
                               call_site site) {
    return protocol::write_byte_report(device, {id, 2}, value, {.wait = wait, .refuse_null = true}, site);
}

}  // namespace vantix::display::store
