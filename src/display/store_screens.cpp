// SPDX-License-Identifier: Apache-2.0
// Screens of the store: the screen index, reading, writing, editing and
// deleting a screen, the store's sizes, and the active screen.
#include "display/store_io.hpp"
#include "display/store_wire.hpp"

namespace store = vantix::display::store;

namespace vantix::display {

int get_screen_idx(vantix_device *device, protocol::call_site site) {
    return store::read_number(device, VANTIX_FEATURE_SCREEN_IDX, store::no_wait, site);
}

vantix_error_code set_screen_idx(vantix_device *device, uint8_t value, protocol::call_site site) {
    return store::write_number(device, VANTIX_FEATURE_SCREEN_IDX, value, store::no_wait, site);
}

int get_active_screen(vantix_device *device, protocol::call_site site) {
    return store::read_number(device, VANTIX_FEATURE_ACTIVE_SCREEN, store::screen_wait, site);
}

vantix_error_code set_active_screen(vantix_device *device, uint8_t value, protocol::call_site site) {
    return store::write_number(device, VANTIX_FEATURE_ACTIVE_SCREEN, value, store::screen_wait, site);
}

void get_screen(vantix_device *device, vantix_hid_feature_screen *record, protocol::call_site site) {
    protocol::read_report(device, record, {VANTIX_FEATURE_SCREEN, VANTIX_FEATURE_SCREEN_SIZE},
                          vantix::display::decode_screen, {.wait = store::screen_wait, .refuse_null = true},
                          site);
}

void get_screen_region_info(vantix_device *device, vantix_hid_feature_screen_region_info *record,
                            protocol::call_site site) {
    protocol::read_report(
        device, record, {VANTIX_FEATURE_SCREEN_REGION_INFO, VANTIX_FEATURE_SCREEN_REGION_INFO_SIZE},
        vantix::display::decode_screen_region_info, {.wait = store::no_wait, .refuse_null = true}, site);
}

vantix_error_code set_screen(vantix_device *device, const vantix_hid_feature_screen *record,
                             protocol::call_site site) {
    return protocol::write_report(device, record, {VANTIX_FEATURE_SCREEN, VANTIX_FEATURE_SCREEN_SIZE},
                                  vantix::display::encode_screen,
                                  {.wait = store::screen_wait, .refuse_null = true}, site);
}

vantix_error_code set_edit_screen(vantix_device *device, const vantix_hid_feature_edit_screen *record,
                                  protocol::call_site site) {
    return protocol::write_report(
        device, record, {VANTIX_FEATURE_MODIFY_SCREEN, VANTIX_FEATURE_MODIFY_SCREEN_SIZE},
        vantix::display::encode_edit_screen, {.wait = store::screen_wait, .refuse_null = true}, site);
}

}  // namespace vantix::display

extern "C" {

int vantix_get_screen_idx(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::display::get_screen_idx(device, VANTIX_HERE);
}

vantix_error_code vantix_set_screen_idx(vantix_device *device, uint8_t value) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_screen_idx(device, value, VANTIX_HERE);
}

int vantix_get_active_screen(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::display::get_active_screen(device, VANTIX_HERE);
}

vantix_error_code vantix_set_active_screen(vantix_device *device, uint8_t value) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_active_screen(device, value, VANTIX_HERE);
}

void vantix_get_screen_ref(vantix_device *device, vantix_hid_feature_screen *record) {
    VANTIX_TRACE_CALL();
    vantix::display::get_screen(device, record, VANTIX_HERE);
}

vantix_hid_feature_screen vantix_get_screen(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_screen record;
    vantix_get_screen_ref(device, &record);
    return record;
}

void vantix_get_screen_region_info_ref(vantix_device *device, vantix_hid_feature_screen_region_info *record) {
    VANTIX_TRACE_CALL();
    vantix::display::get_screen_region_info(device, record, VANTIX_HERE);
}

vantix_hid_feature_screen_region_info vantix_get_screen_region_info(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_screen_region_info record;
    vantix_get_screen_region_info_ref(device, &record);
    return record;
}

vantix_error_code vantix_set_screen(vantix_device *device, vantix_hid_feature_screen *record) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_screen(device, record, VANTIX_HERE);
}

vantix_error_code vantix_set_edit_screen(vantix_device *device, vantix_hid_feature_edit_screen *record) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_edit_screen(device, record, VANTIX_HERE);
}

vantix_error_code vantix_delete_screen(vantix_device *device, uint8_t screen_index) {
    VANTIX_TRACE_CALL();
    return store::write_number(device, VANTIX_FEATURE_DELETE_SCREEN, screen_index, store::screen_wait,
                               VANTIX_HERE);
}

}  // extern "C"
