// SPDX-License-Identifier: Apache-2.0
// A stroke on the virtual pad, through the library's input path into a
// capture, exported: the pixels the pad inks are inked in the export.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools.hpp"
#include "vantix-padsim.h"

namespace vantix::test {
namespace {

vantix_signature_capture *fed_capture = nullptr;

void on_input(vantix_device *, vantix_input_report *report, uint8_t type, unsigned char *, unsigned int) {
    vantix_signature_feed(fed_capture, report, type);
}

TEST(signature_end_to_end, StrokeOnTheVirtualPadIsCapturedAndExported) {
    vantix_init();
    vantix_padsim_reset();
    vantix_padsim_register();
    vantix_device *devices = nullptr;
    ASSERT_EQ(vantix_list_devices(&devices), VANTIX_CODE_SUCCESS);
    vantix_device *device = devices;
    while (device && std::string(device->path) != "sim:0")
        device = device->next;
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);

    capture_ptr capture(vantix_signature_capture_new(device));
    ASSERT_NE(capture, nullptr) << vantix_signature_last_error();
    vantix_signature_pad_info info;
    vantix_signature_get_pad_info(capture.get(), &info);
    EXPECT_EQ(info.x_max, 4095);
    EXPECT_EQ(info.active_x_min, 100);
    EXPECT_EQ(info.display_width, 240);
    EXPECT_STREQ(info.serial_number, "SIM0000001");

    fed_capture = capture.get();
    vantix_register_input_callback(device, on_input);
    // Within the signing area, clear of the pad's buttons.
    const int xy[] = {600, 200, 1200, 320, 1800, 260, 2400, 380};
    ASSERT_EQ(vantix_padsim_stroke(0, xy, 4), 1);
    for (int report = 0; report < 5; ++report)  // four samples and the pen-up
        ASSERT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_signature_point_count(capture.get()), 4u);
    EXPECT_EQ(vantix_signature_stroke_count(capture.get()), 1u);

    const std::string ours = scratch(".png"), pads = scratch(".png");
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    options.line_width = 1;
    ASSERT_EQ(vantix_signature_export_png(capture.get(), &options, ours.c_str()), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_padsim_write_png(0, pads.c_str()), 1);
    const grey_picture exported = read_png(ours), shown = read_png(pads);
    ASSERT_EQ(exported.width, shown.width);
    for (int i = 0; i < 4; ++i) {
        // The pixel the pad inks for each sample.
        const uint32_t px = static_cast<uint32_t>((xy[2 * i] - 100) * 240 / 3896);
        const uint32_t py = static_cast<uint32_t>((xy[2 * i + 1] - 50) * 64 / 992);
        EXPECT_LT(shown.at(px, py), 128) << px << "," << py;
        EXPECT_LT(exported.at(px, py), 128) << px << "," << py;
    }
    std::filesystem::remove(ours);
    std::filesystem::remove(pads);

    vantix_unregister_input_callback(device, on_input);
    fed_capture = nullptr;
    vantix_close_device(device);
    vantix_free_device_list(devices);
    vantix_padsim_reset();
    vantix_destroy();
}

}  // namespace
}  // namespace vantix::test
