// SPDX-License-Identifier: Apache-2.0
// Resources of the store: the resource records and their report bytes, the
// resource index, information about the selected resource, its pieces,
// deleting, and free space.
#include "display/store_resources.hpp"

#include <algorithm>

#include "display/store_io.hpp"

namespace store = vantix::display::store;

namespace vantix::display {

using support::report_view;
using support::set_enum;

namespace {

constexpr size_t resource_data_at = 21;

}  // namespace

void decode_resource_info(report_view r, vantix_hid_feature_resource_info &out) {
    out.report_id = VANTIX_FEATURE_RESOURCE_INFO;
    out.resource_number = r.get1(1);
    set_enum(out.resource_type, r.get1(2));
    out.reserved_1 = r.get1(3);
    out.resource_size = r.get_u32(4);
    out.resource_crc = r.get_u32(8);
    get_each<uint8_t>(r, 12,
                      {&out.reserved_2, &out.reserved_3, &out.reserved_4, &out.reserved_5, &out.reserved_6,
                       &out.reserved_7, &out.reserved_8, &out.reserved_9});
}

void decode_resource(report_view r, vantix_hid_feature_resource &out) {
    out.report_id = VANTIX_FEATURE_RESOURCE;
    out.resource_number = r.get1(1);
    set_enum(out.resource_type, r.get1(2));
    get_each<uint8_t>(r, 3, {&out.reserved_1, &out.reserved_2});
    out.resource_size = r.get_u32(5);
    out.resource_crc = r.get_u32(9);
    get_each<uint8_t>(r, 13,
                      {&out.reserved_3, &out.reserved_4, &out.reserved_5, &out.reserved_6, &out.reserved_7,
                       &out.reserved_8});
    // A piece never claims more bytes than the record holds, so a caller
    // that trusts bytes_valid stays inside resource_data.
    out.bytes_valid = std::min<uint16_t>(r.get_u16(19), VANTIX_RESOURCE_DATA_SIZE);
    r.get_bytes(resource_data_at, out.resource_data, sizeof out.resource_data);
}

void encode_resource(const vantix_hid_feature_resource &in, report_view r) {
    r.put1(1, in.resource_number);
    r.put1(2, support::enum_byte(in.resource_type));
    put_each<uint8_t>(r, 3, {&in.reserved_1, &in.reserved_2});
    r.put4(5, in.resource_size);
    r.put4(9, in.resource_crc);
    put_each<uint8_t>(
        r, 13,
        {&in.reserved_3, &in.reserved_4, &in.reserved_5, &in.reserved_6, &in.reserved_7, &in.reserved_8});
    r.put2(19, in.bytes_valid);
    r.put_bytes(resource_data_at, in.resource_data, sizeof in.resource_data);  // always whole
}

void decode_resource_availability(report_view r, vantix_hid_feature_resource_availability &out) {
    out.report_id = VANTIX_FEATURE_RESOURCE_AVAILABILITY;
    out.number_available = r.get1(1);
    out.space_available = r.get_u32(2);
    get_each<uint32_t>(r, 6,
                       {&out.reserved_1, &out.reserved_2, &out.reserved_3, &out.reserved_4, &out.reserved_5,
                        &out.reserved_6, &out.reserved_7, &out.reserved_8, &out.reserved_9, &out.reserved_10,
                        &out.reserved_11, &out.reserved_12});
}

// The family's reads and writes; `site` is the exported caller, named in
// their log records.
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

// The exported shims. The _ref readers do the transfer; a by-value reader
// reads into a local record through its exported _ref twin, whose log
// records come with it as they always have.

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
