// SPDX-License-Identifier: Apache-2.0
// Resources of the store: the resource index, information about the
// selected resource, its pieces, deleting, and free space.
#include "display/store_io.hpp"
#include "display/store_wire.hpp"

namespace store = vantix::display::store;

namespace vantix::display {

int get_resource_idx(vantix_device *device, protocol::call_site site) {
    return store::read_number(device, VANTIX_FEATURE_RESOURCE_IDX, store::no_wait, site);
}

vantix_error_code set_resource_idx(vantix_device *device, uint8_t value, protocol::call_site site) {
    return store::write_number(device, VANTIX_FEATURE_RESOURCE_IDX, value, store::no_wait, site);
}

void get_resource_info(vantix_device *device, vantix_hid_feature_resource_info *record,
                       protocol::call_site site) {
    protocol::read_report(device, record, {VANTIX_FEATURE_RESOURCE_INFO, VANTIX_FEATURE_RESOURCE_INFO_SIZE},
                          vantix::display::decode_resource_info,
                          {.wait = store::no_wait, .refuse_null = true}, site);
}

void get_resource(vantix_device *device, vantix_hid_feature_resource *record, protocol::call_site site) {
    protocol::read_report(device, record, {VANTIX_FEATURE_RESOURCE, VANTIX_FEATURE_RESOURCE_SIZE},
                          vantix::display::decode_resource, {.wait = store::no_wait, .refuse_null = true},
                          site);
}

void get_resource_availability(vantix_device *device, vantix_hid_feature_resource_availability *record,
                               protocol::call_site site) {
    protocol::read_report(
        device, record, {VANTIX_FEATURE_RESOURCE_AVAILABILITY, VANTIX_FEATURE_RESOURCE_AVAILABILITY_SIZE},
        vantix::display::decode_resource_availability, {.wait = store::no_wait, .refuse_null = true}, site);
}

vantix_error_code set_resource(vantix_device *device, const vantix_hid_feature_resource *record,
                               protocol::call_site site) {
    return protocol::write_report(device, record, {VANTIX_FEATURE_RESOURCE, VANTIX_FEATURE_RESOURCE_SIZE},
                                  vantix::display::encode_resource,
                                  {.wait = store::region_and_screen_wait, .refuse_null = true}, site);
}

}  // namespace vantix::display

extern "C" {

int vantix_get_resource_idx(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::display::get_resource_idx(device, VANTIX_HERE);
}

vantix_error_code vantix_set_resource_idx(vantix_device *device, uint8_t value) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_resource_idx(device, value, VANTIX_HERE);
}

void vantix_get_resource_info_ref(vantix_device *device, vantix_hid_feature_resource_info *record) {
    VANTIX_TRACE_CALL();
    vantix::display::get_resource_info(device, record, VANTIX_HERE);
}

vantix_hid_feature_resource_info vantix_get_resource_info(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_resource_info record;
    vantix_get_resource_info_ref(device, &record);
    return record;
}

void vantix_get_resource_ref(vantix_device *device, vantix_hid_feature_resource *record) {
    VANTIX_TRACE_CALL();
    vantix::display::get_resource(device, record, VANTIX_HERE);
}

vantix_hid_feature_resource vantix_get_resource(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_resource record;
    vantix_get_resource_ref(device, &record);
    return record;
}

void vantix_get_resource_availability_ref(vantix_device *device,
                                          vantix_hid_feature_resource_availability *record) {
    VANTIX_TRACE_CALL();
    vantix::display::get_resource_availability(device, record, VANTIX_HERE);
}

vantix_hid_feature_resource_availability vantix_get_resource_availability(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_resource_availability record;
    vantix_get_resource_availability_ref(device, &record);
    return record;
}

// One piece per call; size and CRC are the caller's and pass unchanged.
vantix_error_code vantix_set_resource(vantix_device *device, vantix_hid_feature_resource *record) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_resource(device, record, VANTIX_HERE);
}

vantix_error_code vantix_delete_resource(vantix_device *device, uint8_t resource_index) {
    VANTIX_TRACE_CALL();
    return store::write_number(device, VANTIX_FEATURE_DELETE_RESOURCE, resource_index,
                               store::region_and_screen_wait, VANTIX_HERE);
}

}  // extern "C"
