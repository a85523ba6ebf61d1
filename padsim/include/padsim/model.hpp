// SPDX-License-Identifier: Apache-2.0
// What kind of pad a virtual pad is: everything a test or a user may vary
// between pad models. The defaults describe a 240 x 64 black-and-white pad
// with a pen, screens/resources support and a HID card reader.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "padsim/region.hpp"

namespace padsim {

struct model {
    // USB identity, shown by the device listing.
    std::uint16_t vendor_id;  // the build's vendor ID unless a test changes it
    std::uint16_t product_id = 0x0240;
    std::string manufacturer = "Vantix";
    std::string model_name = "Zelnar virtual pad";

    // Display (reports 100 and 11).
    std::uint16_t display_width = 240;
    std::uint16_t display_height = 64;
    std::uint8_t display_type = 1;  // black and white
    std::uint8_t color_depth = 1;
    std::uint8_t text_width = 40;
    std::uint8_t text_height = 8;
    std::uint8_t region_count = 8;
    std::uint8_t max_caption_length = 20;
    std::uint8_t brightness_levels = 8;
    std::uint8_t contrast_levels = 8;

    // Region, screen and resource store (reports 140 to 172); report 170
    // tells the host these limits.
    std::uint8_t screen_count = 8;
    std::uint8_t regions_per_screen = 30;  // a screen report carries no more
    std::uint8_t resource_count = 16;
    std::uint32_t resource_space = 64 * 1024;  // bytes for all resources together
    std::uint8_t text_region_length = 64;

    // Digitizer and capabilities (reports 11, 23, 16, 40).
    std::uint16_t supported_reports = 0x01FF;
    std::uint8_t coordinate_modes = 0x03;  // streaming and buffering
    std::uint16_t digitizer_width = 4096;
    std::uint16_t digitizer_height = 1092;
    std::uint16_t x_min = 0, x_max = 4095, y_min = 0, y_max = 1091;
    std::uint16_t calibration_x_min = 100, calibration_x_max = 3995;
    std::uint16_t calibration_y_min = 50, calibration_y_max = 1041;
    std::uint8_t mag_reader_id = 1;  // HID card reader; 0 for none
    std::uint8_t supports_screens_resources = 1;
    std::uint8_t contact_count_max = 1;
    std::uint8_t supported_modes = 0x07;
    std::uint8_t acquisition_mode = 1;  // pen
    std::uint8_t touch_mode = 0;
    std::uint8_t pen_mode = 1;

    // Firmware identity (report 22).
    std::array<std::uint8_t, 3> kernel_version{1, 0, 3};
    std::array<std::uint8_t, 3> firmware_version{2, 4, 1};
    std::uint16_t asic_signature = 0x5A31;

    // Stored configuration (reports 15, 102, 27).
    std::uint8_t device_mode = 0;
    std::uint8_t device_id = 1;
    std::array<std::uint8_t, 6> display_settings{5, 5, 0, 0, 0, 0};  // brightness .. set_command
    std::string serial_number = "SIM0000001";
    bool serial_erased = false;    // a fresh pad: the serial area reads 0xFF
    std::string serial_write_key;  // the build's key unless a test changes it
    // Factory region list (report 111), placed by region number; nothing:
    // standard_regions() of this model.
    std::optional<std::vector<region>> factory_regions;

    // Output and peripheral configuration as the factory sets them (reports
    // 91 and 92): the input reports the pad emits, when, compression and
    // resolution, the report rate, and where card data goes.
    std::uint32_t output_report = 0x2;  // extended coordinates
    std::uint8_t output_mode = 0;       // real time
    std::uint8_t compression = 2;       // uncompressed, high resolution
    std::uint16_t packets_per_second = 200;
    std::uint8_t mag_card_output = 1;  // the pad's own card report

    // Calibration data (report 131): the kind of calibration the pad keeps;
    // its other fields follow the calibrated area above.
    std::uint8_t calibration_type = 1;

    // Second-generation diagnostics (report 230): the hardware configuration
    // byte, the hardware GUID and the gain a stylus tuning settles on.
    std::uint8_t hardware_configuration = 0x01;
    std::array<std::uint8_t, 16> hardware_guid{0x5A, 0x31, 0x9C, 0x4E, 0x07, 0xB2, 0x4D, 0x61,
                                               0x8E, 0x13, 0xF0, 0x2A, 0x66, 0xC5, 0x0D, 0x98};
    std::uint8_t tuning_gain = 0x18;

    // Behaviour.
    unsigned initialising_polls = 0;  // status polls that still report initialising
    bool calibration_required = false;
    std::uint8_t power_up_run_mode = 0;      // command: the pad reports idle
    std::uint8_t power_up_startup_mode = 1;  // pen
    // For each lock bit (0 report buffer .. 5 calibrate): how many status
    // polls the bit stays set after a command of that group completes.
    // Region writes (set, delete, edit complete) hold bit 2, error-correction
    // table writes and run-mode changes bit 0.
    std::array<unsigned, 6> busy_polls_after_command{};
    // Status polls the region and screen lock bits stay set after a store
    // save, discard or factory restore, while the pad writes its memory.
    // 0 keeps the transfers of host tests exact; a host waits far longer.
    unsigned store_busy_polls = 0;
    // The input report pen samples become: 2 (extended coordinates, with the
    // region under the pen) or 1 (plain coordinates).
    std::uint8_t pen_report = 2;
    // Report IDs the descriptor leaves out; transfers of them fail.
    std::vector<std::uint8_t> undeclared_reports;
    // A descriptor to present instead of the one built from the catalogue
    // (a recorded pad's); it alone then says which reports exist.
    std::optional<std::vector<std::uint8_t>> descriptor;
    // Refuse transfers whose length differs from the report's length, so a
    // layout mistake on the host shows up instead of being papered over.
    bool strict_lengths = true;

    model();
};

}  // namespace padsim
