// SPDX-License-Identifier: Apache-2.0
// Clearing the display: store pads redraw their active screen, legacy pads
// cover the screen with a blank container region.
#include "core/failure.hpp"
#include "protocol/report_io.hpp"

extern "C" {

vantix_error_code vantix_clear_screen(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!vantix::protocol::have_device(device, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    // Store pads redraw the active screen when it is set again.
    const int active = vantix_get_active_screen(device);
    if (active >= 0 && vantix_set_active_screen(device, static_cast<uint8_t>(active)) == VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_SUCCESS;
    if (!device->regions) {
        VANTIX_FAIL("Device regions is null, unable to clear screen.");
        return VANTIX_CODE_ERROR;
    }
    const vantix_hid_feature_display_info &display = device->display_info;
    if (display.report_id == 0) {
        VANTIX_FAIL("Device display info is unset, unable to clear screen.");
        return VANTIX_CODE_ERROR;
    }
    if (display.region_count == 0) {
        VANTIX_FAIL("Device has no regions, unable to clear screen.");
        return VANTIX_CODE_ERROR;
    }
    // Legacy pads: show a full-screen container in the last region, which
    // wipes what is under it, then hide it again.
    vantix_device_region_info blank = device->regions[display.region_count - 1];
    vantix_device_region_common &c = blank.common;
    c.region_type = VANTIX_REGION_TYPE_CONTAINER;
    c.x1 = 0;
    c.x2 = static_cast<uint16_t>(display.width - 1);
    c.y1 = 0;
    c.y2 = static_cast<uint16_t>(display.height - 1);
    c.has_frame = 0;
    c.in_use = 1;
    c.decode = 1;
    c.visible = 1;
    c.accept_touch = 0;
    vantix_set_region(device, blank);
    c.visible = 0;
    vantix_set_region(device, blank);
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
