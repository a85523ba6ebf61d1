// SPDX-License-Identifier: Apache-2.0
// Printers of the store's resource and screen records and of the display
// and region-update records.
#include "protocol/printers/record_print.hpp"

namespace vantix::protocol::print {

void resource_info(const vantix_hid_feature_resource_info *record) {
    print_record(
        "vantix_hid_feature_resource_info structure:", 15, record,
        [](fields &out, const vantix_hid_feature_resource_info &r) {
            out.put<"report_id resource_number resource_type reserved_1 resource_size resource_crc">(
                r.report_id, r.resource_number, r.resource_type, r.reserved_1, r.resource_size,
                r.resource_crc);
            out.put<
                "reserved_2 reserved_3 reserved_4 reserved_5 reserved_6 reserved_7 reserved_8 reserved_9">(
                r.reserved_2, r.reserved_3, r.reserved_4, r.reserved_5, r.reserved_6, r.reserved_7,
                r.reserved_8, r.reserved_9);
        });
}

void resource(const vantix_hid_feature_resource *record) {
    print_record(
        "vantix_hid_feature_resource structure:", 15, record,
        [](fields &out, const vantix_hid_feature_resource &r) {
            out.put<"report_id resource_number resource_type reserved_1 reserved_2 resource_size">(
                r.report_id, r.resource_number, r.resource_type, r.reserved_1, r.reserved_2, r.resource_size);
            out.put<"resource_crc reserved_3 reserved_4 reserved_5 reserved_6 reserved_7 reserved_8">(
                r.resource_crc, r.reserved_3, r.reserved_4, r.reserved_5, r.reserved_6, r.reserved_7,
                r.reserved_8);
            out.put<"bytes_valid resource_data">(r.bytes_valid, first(r.resource_data, r.bytes_valid));
        });
}

void resource_availability(const vantix_hid_feature_resource_availability *record) {
    print_record(
        "vantix_hid_feature_resource_availability structure:", 16, record,
        [](fields &out, const vantix_hid_feature_resource_availability &r) {
            out.put<"report_id number_available space_available reserved_1 reserved_2 reserved_3">(
                r.report_id, r.number_available, r.space_available, r.reserved_1, r.reserved_2, r.reserved_3);
            out.put<"reserved_4 reserved_5 reserved_6 reserved_7 reserved_8 reserved_9">(
                r.reserved_4, r.reserved_5, r.reserved_6, r.reserved_7, r.reserved_8, r.reserved_9);
            out.put<"reserved_10 reserved_11 reserved_12">(r.reserved_10, r.reserved_11, r.reserved_12);
        });
}

void screen(const vantix_hid_feature_screen *record) {
    print_record(
        "vantix_hid_feature_screen structure:", 25, record,
        [](fields &out, const vantix_hid_feature_screen &r) {
            out.put<"report_id screen_number reset_timeout_on_activity">(r.report_id, r.screen_number,
                                                                         r.reset_timeout_on_activity);
            out.put<"reserved_1 reserved_2 reserved_3 reserved_4 reserved_5 reserved_6 reserved_7">(
                r.reserved_1, r.reserved_2, r.reserved_3, r.reserved_4, r.reserved_5, r.reserved_6,
                r.reserved_7);
            out.put<"reserved_8 reserved_9 reserved_10 reserved_11 reserved_12 reserved_13 reserved_14">(
                r.reserved_8, r.reserved_9, r.reserved_10, r.reserved_11, r.reserved_12, r.reserved_13,
                r.reserved_14);
            out.put<"timeout timeout_screen_next region_count region_list screen_next_list">(
                r.timeout, r.timeout_screen_next, r.region_count, first(r.region_list, r.region_count),
                first(r.screen_next_list, r.region_count));
        });
}

void edit_screen(const vantix_hid_feature_edit_screen *record) {
    print_record("vantix_hid_feature_edit_screen structure:", 19, record,
                 [](fields &out, const vantix_hid_feature_edit_screen &r) {
                     out.put<"report_id reserved_1 reserved_2 reserved_3 reserved_4 reserved_5 reserved_6">(
                         r.report_id, r.reserved_1, r.reserved_2, r.reserved_3, r.reserved_4, r.reserved_5,
                         r.reserved_6);
                     out.put<"region_add region_delete timeout_set screen_index region_index">(
                         r.region_add, r.region_delete, r.timeout_set, r.screen_index, r.region_index);
                     out.put<"region_screen_next timeout timeout_screen_next">(
                         r.region_screen_next, r.timeout, r.timeout_screen_next);
                 });
}

void screen_region_info(const vantix_hid_feature_screen_region_info *record) {
    print_record(
        "vantix_hid_feature_screen_region_info structure:", 18, record,
        [](fields &out, const vantix_hid_feature_screen_region_info &r) {
            out.put<"report_id screen_count region_count regions_per_screen resource_count">(
                r.report_id, r.screen_count, r.region_count, r.regions_per_screen, r.resource_count);
            out.put<"caption_length text_region_length text_width text_height">(
                r.caption_length, r.text_region_length, r.text_width, r.text_height);
            out.put<
                "reserved_1 reserved_2 reserved_3 reserved_4 reserved_5 reserved_6 reserved_7 reserved_8">(
                r.reserved_1, r.reserved_2, r.reserved_3, r.reserved_4, r.reserved_5, r.reserved_6,
                r.reserved_7, r.reserved_8);
            out.put<
                "reserved_9 reserved_10 reserved_11 reserved_12 reserved_13 reserved_14 reserved_15 "
                "reserved_16">(r.reserved_9, r.reserved_10, r.reserved_11, r.reserved_12, r.reserved_13,
                               r.reserved_14, r.reserved_15, r.reserved_16);
        });
}

void display_content(const vantix_hid_feature_display_content *record) {
    print_record("vantix_hid_feature_display_content structure:", 9, record,
                 [](fields &out, const vantix_hid_feature_display_content &r) {
                     out.put<"report_id content">(r.report_id, r.content);
                 });
}

// The whole payload: the pad is sent all of it whatever the rectangle.
void display_chunk(const vantix_hid_feature_display_chunk *record) {
    print_record("vantix_hid_feature_display_chunk structure:", 14, record,
                 [](fields &out, const vantix_hid_feature_display_chunk &r) {
                     out.put<"report_id x y width height bits_per_pixel graphic">(
                         r.report_id, r.x, r.y, r.width, r.height, r.bits_per_pixel, all(r.graphic));
                 });
}

void region_update(const vantix_hid_feature_region_update *record) {
    print_record(
        "vantix_hid_feature_region_update structure:", 16, record,
        [](fields &out, const vantix_hid_feature_region_update &r) {
            out.put<"report_id region_number function_enable visible reserved1 color_foreground reserved2">(
                r.report_id, r.region_number, r.function_enable, r.visible, r.reserved1, r.color_foreground,
                r.reserved2);
        });
}

}  // namespace vantix::protocol::print

extern "C" {

void vantix_print_resource_info(const vantix_hid_feature_resource_info *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::resource_info(record);
}

void vantix_print_resource(const vantix_hid_feature_resource *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::resource(record);
}

void vantix_print_resource_availability(const vantix_hid_feature_resource_availability *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::resource_availability(record);
}

void vantix_print_screen(const vantix_hid_feature_screen *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::screen(record);
}

void vantix_print_edit_screen(const vantix_hid_feature_edit_screen *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::edit_screen(record);
}

void vantix_print_screen_region_info(const vantix_hid_feature_screen_region_info *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::screen_region_info(record);
}

void vantix_print_display_content(const vantix_hid_feature_display_content *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::display_content(record);
}

void vantix_print_display_chunk(const vantix_hid_feature_display_chunk *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::display_chunk(record);
}

void vantix_print_region_update(const vantix_hid_feature_region_update *record) {
    VANTIX_TRACE_CALL();
    vantix::protocol::print::region_update(record);
}

}  // extern "C"
