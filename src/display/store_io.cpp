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
    unsigned char buffer[2] = {};
    if (!have_device(device, site) || !protocol::fetch_report(device, id, buffer, wait, true, site))
        return -1;
    return buffer[1];
}

vantix_error_code write_number(vantix_device *device, uint8_t id, uint8_t value, interlock_wait wait,
                               call_site site) {
    if (!have_device(device, site))
        return VANTIX_CODE_ERROR;
    unsigned char buffer[2] = {id, value};
    return protocol::send_when_clear(device, buffer, wait);
}

}  // namespace vantix::display::store
