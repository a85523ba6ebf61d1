// SPDX-License-Identifier: Apache-2.0
// Resource and screen records of the store to and from their report bytes.
#include "display/store_wire.hpp"

#include <algorithm>

#include "protocol/bit_fields.hpp"

namespace vantix::display {

using protocol::report_view;
using protocol::set_enum;

namespace {

constexpr size_t resource_data_at = 21;
constexpr size_t screen_regions_at = 20;
constexpr size_t screen_next_at = screen_regions_at + VANTIX_SCREEN_WIRE_REGION_COUNT;

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
    r.put1(2, protocol::enum_byte(in.resource_type));
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

// Bytes 3 to 19: the reserved run, the timeout, its next screen, the count.
#define VANTIX_SCREEN_BYTE_FIELDS(s)                                                                     \
    {                                                                                                    \
        &s.reserved_1, &s.reserved_2, &s.reserved_3, &s.reserved_4, &s.reserved_5, &s.reserved_6,        \
            &s.reserved_7, &s.reserved_8, &s.reserved_9, &s.reserved_10, &s.reserved_11, &s.reserved_12, \
            &s.reserved_13, &s.reserved_14, &s.timeout, &s.timeout_screen_next, &s.region_count          \
    }

void decode_screen(report_view r, vantix_hid_feature_screen &out) {
    out.report_id = VANTIX_FEATURE_SCREEN;
    out.screen_number = r.get1(1);
    out.reset_timeout_on_activity = protocol::bits(r.get1(2), 4);
    get_each<uint8_t>(r, 3, VANTIX_SCREEN_BYTE_FIELDS(out));
    // The wire carries 30 entries; a larger count would send callers past
    // what arrived (and past the lists themselves above 100).
    out.region_count = std::min<uint8_t>(out.region_count, VANTIX_SCREEN_WIRE_REGION_COUNT);
    r.get_bytes(screen_regions_at, out.region_list, out.region_count);
    r.get_bytes(screen_next_at, out.screen_next_list, out.region_count);
}

void encode_screen(const vantix_hid_feature_screen &in, report_view r) {
    r.put1(1, in.screen_number);
    r.put1(2, static_cast<uint8_t>(in.reset_timeout_on_activity << 4));
    put_each<uint8_t>(r, 3, VANTIX_SCREEN_BYTE_FIELDS(in));
    r.put_bytes(screen_regions_at, in.region_list, VANTIX_SCREEN_WIRE_REGION_COUNT);
    r.put_bytes(screen_next_at, in.screen_next_list, VANTIX_SCREEN_WIRE_REGION_COUNT);
}

#undef VANTIX_SCREEN_BYTE_FIELDS

void encode_edit_screen(const vantix_hid_feature_edit_screen &in, report_view r) {
    put_each<uint8_t>(
        r, 1,
        {&in.reserved_1, &in.reserved_2, &in.reserved_3, &in.reserved_4, &in.reserved_5, &in.reserved_6});
    r.put1(7, protocol::pack({{in.region_add, 0}, {in.region_delete, 1}, {in.timeout_set, 2}}));
    put_each<uint8_t>(
        r, 8,
        {&in.screen_index, &in.region_index, &in.region_screen_next, &in.timeout, &in.timeout_screen_next});
}

void decode_screen_region_info(report_view r, vantix_hid_feature_screen_region_info &out) {
    out.report_id = VANTIX_FEATURE_SCREEN_REGION_INFO;
    get_each<uint8_t>(
        r, 1, {&out.screen_count,   &out.region_count,       &out.regions_per_screen, &out.resource_count,
               &out.caption_length, &out.text_region_length, &out.text_width,         &out.text_height,
               &out.reserved_1,     &out.reserved_2,         &out.reserved_3,         &out.reserved_4,
               &out.reserved_5,     &out.reserved_6,         &out.reserved_7,         &out.reserved_8,
               &out.reserved_9,     &out.reserved_10,        &out.reserved_11,        &out.reserved_12,
               &out.reserved_13,    &out.reserved_14,        &out.reserved_15,        &out.reserved_16});
}

}  // namespace vantix::display
