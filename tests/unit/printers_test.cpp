// SPDX-License-Identifier: Apache-2.0
// The report printers against expected text written from their layouts:
// label columns, conversions, names, dumps, and lists clipped to their
// arrays.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "vantix-zelnar.h"

namespace {

struct printer_case {
    std::string name;
    std::function<void(bool null)> print;
};

template <typename Record>
printer_case with(std::string name, void (*print)(const Record *), const Record &record) {
    return {std::move(name), [print, record](bool null) { print(null ? nullptr : &record); }};
}

// Enumeration fields hold whatever value a caller or a pad put there.
template <typename Enum>
void set_raw(Enum &field, int value) {
    std::memcpy(&field, &value, sizeof field);
}

std::string captured(const printer_case &c, bool null) {
    testing::internal::CaptureStdout();
    c.print(null);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

std::string expected(const std::string &name) {
    std::ifstream file(std::string(VANTIX_PRINTER_EXPECTED_DIR) + "/print_" + name + ".txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<printer_case> cases() {
    vantix_hid_capabilities caps{11,
                                 65535,
                                 15,
                                 99,
                                 {},
                                 5,
                                 6,
                                 8,
                                 640,
                                 480,
                                 2000,
                                 1500,
                                 1,
                                 2,
                                 3,
                                 4,
                                 10,
                                 20,
                                 30,
                                 40,
                                 4000000000u,
                                 5,
                                 VANTIX_CARDREADER_INTERCHANGEABLE,
                                 6,
                                 7777,
                                 1,
                                 9,
                                 4294967295u,
                                 11,
                                 12,
                                 13,
                                 14};
    set_raw(caps.display_id, 258);  // prints its low byte
    vantix_hid_feature_serial_number full{27, {}, 'X', 'Y'};
    std::memcpy(full.serial_number, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", 32);  // no terminator
    vantix_hid_feature_output_parameters unknown_mode{91,  0x2, REAL_TIME, VANTIX_OUTPUT_UNCOMPRESSED_HIRES,
                                                      200, 1,   0};
    set_raw(unknown_mode.output_mode, 7);
    vantix_hid_feature_output_parameters named{91, 0x40010401, TRANSMIT_ON_HOST_COMMAND, {}, 65535, 0, 1};
    set_raw(named.compression, 9);
    vantix_hid_feature_error_correction_table table{26, {}};
    vantix_hid_feature_pixel_values pixels{105, 10, 20, 10, {}}, clamped_pixels{105, 0, 0, 300, {}};
    for (int i = 0; i < VANTIX_PIXEL_VALUES_COUNT; ++i)
        pixels.color_data[i].argb = {0xff, uint8_t(i), 0x80, uint8_t(255 - i)};
    std::memcpy(clamped_pixels.color_data, pixels.color_data, sizeof pixels.color_data);
    vantix_hid_feature_resource resource{
        142, 4, VANTIX_RESOURCE_TYPE_TEXT, 1, 2, 1500, 0xDEADBEEF, 3, 4, 5, 6, 7, 8, 3, {0xde, 0xad, 0xbe}};
    vantix_hid_feature_resource clamped_resource{};
    clamped_resource.report_id = 142;
    clamped_resource.bytes_valid = 5000;
    vantix_hid_feature_display_chunk chunk{103, 0, 10, 320, 240, 8, {}};
    vantix_hid_feature_firmware_download firmware{25, 0x08004000, {}, 171};
    for (size_t i = 0; i < sizeof table.data; ++i) {
        table.data[i] = uint8_t(i * 7);
        if (i < sizeof chunk.graphic)
            chunk.graphic[i] = uint8_t(i);
        if (i < sizeof clamped_resource.resource_data)
            clamped_resource.resource_data[i] = uint8_t(i);
        if (i < sizeof firmware.data)
            firmware.data[i] = uint8_t(255 - i);
    }
    vantix_hid_feature_screen screen{162, 2,  1,  1,  2,  3,  4,  5, 6, 7,         8,
                                     9,   10, 11, 12, 13, 14, 30, 1, 3, {5, 6, 7}, {0, 2, 255}};
    vantix_hid_feature_region_update update{113, 4, 1, 1, 9, {0x80, 0x33, 0x22, 0x11}, 4000000000u};
    return {
        with("display_info", vantix_print_display_info, {100, 800, 480, 24, 40, 16, 255, 30}),
        with("capabilities", vantix_print_capabilities, caps),
        with("display_settings", vantix_print_display_settings, {102, 1, 2, 3, 4, 5, 255}),
        with("device_configure", vantix_print_device_configure, {15, 7, 200}),
        with("contact_count_maximum", vantix_print_contact_count_maximum, {16, 10}),
        with("version", vantix_print_version, {22, {1, 2, 3}, {10, 20, 255}, 0xBEEF}),
        with("coordinate_range", vantix_print_coordinate_range, {23, 0, 65535, 100, 4095}),
        with("serial_number", vantix_print_serial_number, {27, {}, 0, 0}),
        with("serial_number_full", vantix_print_serial_number, full),
        with("operating_modes", vantix_print_operating_modes, {40, 3, 77, 1, 2, 4}),
        with("frequency_amplitude", vantix_print_frequency_amplitude, {20, 125, 30, 40}),
        with("power_state", vantix_print_power_state, {21, VANTIX_ASIC_POWER_STATE_STANDBY}),
        with("general_parameters", vantix_print_general_parameters,
             {41, 1, 0, 1, 1, 5, 1, 0, 1, 2, 3, 1000, 60}),
        with("asic_register", vantix_print_asic_register,
             {43, {0x00, 0x01, 0x7f, 0x80, 0xab, 0xcd, 0xef, 0xff}}),
        with("pen_parameters", vantix_print_pen_parameters,
             {50, 300, 400, 500, 4, 8, 1234, 1, 2, 3, 4, 1, 7, 0, 1, 1, 0, 133}),
        with("touch_parameters", vantix_print_touch_parameters,
             {60, 2, 3, -2, -32768, 9, 65535, 1, 250, 1, 127, 1024, -100, 2048, 32767}),
        with("error_correction_table", vantix_print_error_correction_table, table),
        with("calibrate_state", vantix_print_calibrate_state, {130, 1, VANTIX_CALIBRATION_POINT_LOWERRIGHT}),
        with("output_configuration", vantix_print_output_configuration, unknown_mode),
        with("output_configuration_named", vantix_print_output_configuration, named),
        with("peripheral_configuration", vantix_print_peripheral_configuration,
             {92, vantix_mag_card_output(12), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 255, 0, 1}),
        with("calibration_data", vantix_print_calibration_data,
             {131, 2, 1, 1000, 2000, 3000, -500, 866, 800, 480, INT32_MIN, -1, INT32_MAX, 5, 6, -7, 8, -9}),
        with("tuning_status", vantix_print_tuning_status, {230, 84, 1, 2, VANTIX_LOCATION_2_STYLUS_DOWN, 17}),
        with("hardware_guid", vantix_print_hardware_guid,
             {230, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}}),
        with("pen_coordinate", vantix_print_pen_coordinate, {0, 2, 300, 65535, 1}),
        with("pixel_values", vantix_print_pixel_values, pixels),
        with("pixel_values_clamped", vantix_print_pixel_values, clamped_pixels),
        with("resource_info", vantix_print_resource_info,
             {141, 3, VANTIX_RESOURCE_TYPE_GRAPHIC, 1, 123456, 4294967295u, 2, 3, 4, 5, 6, 7, 8, 9}),
        with("resource", vantix_print_resource, resource),
        with("resource_clamped", vantix_print_resource, clamped_resource),
        with("resource_availability", vantix_print_resource_availability,
             {144, 7, 65536, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
        with("screen", vantix_print_screen, screen),
        with("edit_screen", vantix_print_edit_screen, {164, 1, 2, 3, 4, 5, 6, 1, 0, 1, 2, 3, 4, 60, 5}),
        with("screen_region_info", vantix_print_screen_region_info,
             {170, 8, 50, 30, 20, 32, 64, 40, 16, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}),
        with("display_content", vantix_print_display_content, {101, 3}),
        with("display_chunk", vantix_print_display_chunk, chunk),
        with("region_update", vantix_print_region_update, update),
        with("firmware_download", vantix_print_firmware_download, firmware),
        with("download_command_status", vantix_print_download_command_status, {29, 513}),
        with("register_set", vantix_print_register_set, {44, 12, 255}),
        with("asic_reset", vantix_print_asic_reset, {42, 1, 0}),
    };
}

TEST(printers, EveryRecordPrintsItsExpectedText) {
    for (const printer_case &c : cases()) {
        const std::string want = expected(c.name);
        ASSERT_FALSE(want.empty()) << c.name;
        EXPECT_EQ(captured(c, false), want) << c.name;
    }
}

TEST(printers, NullRecordsPrintTheHeaderAndNull) {
    for (const printer_case &c : cases()) {
        const std::string want = expected(c.name);
        EXPECT_EQ(captured(c, true), want.substr(0, want.find('\n') + 1) + "  NULL\n") << c.name;
    }
}

}  // namespace
