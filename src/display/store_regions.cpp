// SPDX-License-Identifier: Apache-2.0
// Regions of the store: the region index, reading and writing one region,
// and deleting one.
#include "display/store_io.hpp"
#include "display/store_wire.hpp"

namespace {

namespace store = vantix::display::store;
using vantix::display::store_region_size;
using vantix::protocol::report_view;

// Region reports follow the pad's maximum caption length.
unsigned int caption_of(const vantix_device *device) {
    return device ? device->display_info.max_caption_length : 0;
}

auto region_decoder(const vantix_device *device) {
    return [caption = caption_of(device)](report_view r, vantix_hid_feature_region &out) {
        vantix::display::decode_store_region(r, caption, out);
    };
}

auto region_encoder(const vantix_device *device) {
    return [caption = caption_of(device)](const vantix_hid_feature_region &in, report_view r) {
        vantix::display::encode_store_region(in, caption, r);
    };
}

}  // namespace

namespace vantix::display {

int get_region_idx(vantix_device *device, protocol::call_site site) {
    return store::read_number(device, VANTIX_FEATURE_REGION_IDX, store::no_wait, site);
}

vantix_error_code set_region_idx(vantix_device *device, uint8_t value, protocol::call_site site) {
    return store::write_number(device, VANTIX_FEATURE_REGION_IDX, value, store::no_wait, site);
}

void get_region(vantix_device *device, vantix_hid_feature_region *record, protocol::call_site site) {
    protocol::read_report(device, record, {VANTIX_FEATURE_REGION, store_region_size(caption_of(device))},
                          region_decoder(device), {.wait = store::region_wait, .refuse_null = true}, site);
}

}  // namespace vantix::display

extern "C" {

int vantix_get_region_idx(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::display::get_region_idx(device, VANTIX_HERE);
}

vantix_error_code vantix_set_region_idx(vantix_device *device, uint8_t value) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_region_idx(device, value, VANTIX_HERE);
}

void vantix_get_region_ref(vantix_device *device, vantix_hid_feature_region *record) {
    VANTIX_TRACE_CALL();
    vantix::display::get_region(device, record, VANTIX_HERE);
}

vantix_hid_feature_region vantix_get_region(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_region record;
    vantix_get_region_ref(device, &record);
    return record;
}

vantix_error_code vantix_set_region_contents(vantix_device *device, vantix_hid_feature_region *region) {
    VANTIX_TRACE_CALL();
    if (vantix::protocol::write_report(
            device, region, {VANTIX_FEATURE_REGION, store_region_size(caption_of(device))},
            region_encoder(device), {.wait = store::region_wait, .refuse_null = true},
            VANTIX_HERE) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    // Store and legacy reports share one region set.
    store::refresh_region_cache(device);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_delete_device_region(vantix_device *device, uint8_t region) {
    VANTIX_TRACE_CALL();
    if (!vantix::protocol::have_device(device, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    if (region < 1 || region > device->display_info.region_count) {
        VANTIX_FAIL("Region number out of bounds.");
        return VANTIX_CODE_ERROR;
    }
    return store::write_number(device, VANTIX_FEATURE_DELETE_REGION, region, store::region_and_screen_wait,
                               VANTIX_HERE);
}

}  // extern "C"
