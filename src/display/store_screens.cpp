// SPDX-License-Identifier: Apache-2.0
// Screens of the store: the screen record and its report bytes, the screen
// index, reading, writing, editing and deleting a screen, the store's sizes,
// the active screen, and adding a region to a screen record.
#include "display/store_screens.hpp"

#include <algorithm>

#include "core/failure.hpp"
#include "display/store_io.hpp"
#include "protocol/bit_fields.hpp"

namespace store = vantix::display::store;

namespace vantix::display {

using support::report_view;
using support::set_enum;

namespace {

constexpr size_t screen_regions_at = 20;
constexpr size_t screen_next_at = screen_regions_at + VANTIX_SCREEN_WIRE_REGION_COUNT;

}  // namespace

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

// The family's reads and writes; `site` is the exported caller, named in
// their log records.
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

// The exported shims. The _ref readers do the transfer; a by-value reader
// reads into a local record through its exported _ref twin, whose log
// records come with it as they always have.

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

// Edits the caller's record only: no report, and no entry or leave record.
vantix_error_code vantix_add_region_to_screen(vantix_hid_feature_screen *screen, int region, int next) {
    if (!screen) {
        VANTIX_FAIL("No screen given.");
        return VANTIX_CODE_ERROR;
    }
    if (region < 0 || region > 255 || next < 0 || next > 255) {
        VANTIX_FAIL("Region or screen number out of range: %d, %d.", region, next);
        return VANTIX_CODE_ERROR;
    }
    // A count above the list's room is the caller's; never search past it.
    const unsigned int listed = screen->region_count < VANTIX_SCREEN_REGION_LIST_SIZE
                                    ? screen->region_count
                                    : VANTIX_SCREEN_REGION_LIST_SIZE;
    for (unsigned int i = 0; i < listed; ++i)
        if (screen->region_list[i] == region) {
            screen->screen_next_list[i] = static_cast<uint8_t>(next);
            return VANTIX_CODE_SUCCESS;
        }
    if (screen->region_count >= VANTIX_SCREEN_REGION_LIST_SIZE) {
        VANTIX_FAIL("Screen already lists %u regions.", static_cast<unsigned int>(screen->region_count));
        return VANTIX_CODE_ERROR;
    }
    screen->region_list[screen->region_count] = static_cast<uint8_t>(region);
    screen->screen_next_list[screen->region_count] = static_cast<uint8_t>(next);
    ++screen->region_count;
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
