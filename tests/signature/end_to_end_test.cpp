// SPDX-License-Identifier: Apache-2.0
// Strokes on the virtual pad, through the library's input path into a
// capture: the pixels the pad inks are inked in the export, and a pen
// lifted on one of the pad's buttons ends its stroke there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools.hpp"
#include "vantix-padsim.h"

namespace vantix::test {
namespace {

// The virtual pad "sim:0", open, feeding a capture of it.
class signature_end_to_end : public ::testing::Test {
protected:
    void SetUp() override {
        vantix_init();
        vantix_padsim_reset();
        vantix_padsim_register();
        ASSERT_EQ(vantix_list_devices(&devices_), VANTIX_CODE_SUCCESS);
        device_ = devices_;
        while (device_ && std::string(device_->path) != "sim:0")
            device_ = device_->next;
        ASSERT_NE(device_, nullptr);
        ASSERT_EQ(vantix_open_device(device_), VANTIX_CODE_SUCCESS);
        capture_.reset(vantix_signature_capture_new(device_));
        ASSERT_NE(capture_, nullptr) << vantix_signature_last_error();
        fed_capture = capture_.get();
        vantix_register_input_callback(device_, on_input);
    }
    void TearDown() override {
        if (device_) {
            vantix_unregister_input_callback(device_, on_input);
            vantix_close_device(device_);
        }
        fed_capture = nullptr;
        capture_.reset();
        vantix_free_device_list(devices_);
        vantix_padsim_reset();
        vantix_destroy();
    }

    // Draws a stroke and reads its samples and the pen-up.
    void stroke(const std::vector<int> &xy) {
        const int points = static_cast<int>(xy.size() / 2);
        ASSERT_EQ(vantix_padsim_stroke(0, xy.data(), points), 1);
        for (int report = 0; report <= points; ++report)
            ASSERT_EQ(vantix_device_read(device_), VANTIX_CODE_SUCCESS);
    }

    static void on_input(vantix_device *, vantix_input_report *report, uint8_t type, unsigned char *,
                         unsigned int) {
        vantix_signature_feed(fed_capture, report, type);
    }
    static inline vantix_signature_capture *fed_capture = nullptr;

    vantix_device *devices_ = nullptr;
    vantix_device *device_ = nullptr;
    capture_ptr capture_;
};

// Within the signing area, clear of the pad's buttons.
const std::vector<int> signing_stroke = {600, 200, 1200, 320, 1800, 260, 2400, 380};

TEST_F(signature_end_to_end, StrokeOnTheVirtualPadIsCapturedAndExported) {
    vantix_signature_pad_info info;
    vantix_signature_get_pad_info(capture_.get(), &info);
    EXPECT_EQ(info.x_max, 4095);
    EXPECT_EQ(info.active_x_min, 100);
    EXPECT_EQ(info.display_width, 240);
    EXPECT_STREQ(info.serial_number, "SIM0000001");

    stroke(signing_stroke);
    EXPECT_EQ(vantix_signature_point_count(capture_.get()), 4u);
    EXPECT_EQ(vantix_signature_stroke_count(capture_.get()), 1u);

    const std::string ours = scratch(".png"), pads = scratch(".png");
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    options.line_width = 1;
    ASSERT_EQ(vantix_signature_export_png(capture_.get(), &options, ours.c_str()), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_padsim_write_png(0, pads.c_str()), 1);
    const grey_picture exported = read_png(ours), shown = read_png(pads);
    std::filesystem::remove(ours);
    std::filesystem::remove(pads);
    ASSERT_EQ(exported.width, shown.width);
    for (size_t i = 0; i < 4; ++i) {
        // The pixel the pad inks for each sample.
        const uint32_t px = static_cast<uint32_t>((signing_stroke[2 * i] - 100) * 240 / 3896);
        const uint32_t py = static_cast<uint32_t>((signing_stroke[2 * i + 1] - 50) * 64 / 992);
        EXPECT_LT(shown.at(px, py), 128) << px << "," << py;
        EXPECT_LT(exported.at(px, py), 128) << px << "," << py;
    }
}

TEST_F(signature_end_to_end, PenLiftedOnAButtonEndsItsStroke) {
    // Two points in the signing area, then onto the "OK" button (display
    // 60, 56 in the strip along the bottom), lifted there; then another stroke.
    stroke({600, 200, 1200, 320, 1082, 925});
    stroke({1800, 260, 2400, 380});
    EXPECT_EQ(vantix_signature_point_count(capture_.get()), 4u);
    EXPECT_EQ(vantix_signature_stroke_count(capture_.get()), 2u);
    vantix_signature_point second_start;
    ASSERT_EQ(vantix_signature_get_point(capture_.get(), 2, &second_start), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(second_start.x, 1800);
    EXPECT_EQ(second_start.stroke, 1u);
}

}  // namespace
}  // namespace vantix::test
