// SPDX-License-Identifier: Apache-2.0
// Second-generation commands, simulated pen samples and pixel read-back
// against the virtual pad.
#include <cstring>

#include "graphics/canvas.hpp"
#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;

struct second_generation : vantix::test::sim_pad_test {
    // The bytes of report 230 after the ID, up to the last non-zero one.
    bytes command() const {
        bytes sent = last_set(VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS);
        EXPECT_EQ(sent.size(), 69u);
        while (sent.size() > 1 && sent.back() == 0)
            sent.pop_back();
        return bytes(sent.begin() + 1, sent.end());
    }
};

TEST_F(second_generation, CommandsOnTheWire) {
    EXPECT_EQ(vantix_genII_tune(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(command(), (bytes{'T', 'T', '+'}));
    EXPECT_TRUE(pad->tuning_run().running);
    EXPECT_EQ(vantix_genII_abort_tune(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(command(), (bytes{'T', 'T', '-'}));
    EXPECT_EQ(vantix_genII_set_device_pid(device, 0x1001), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(command(), (bytes{0xCD, 0, 0, 0, 0x01, 0x10}));
    EXPECT_EQ(pad->product_id(), 0x1001);

    vantix_hid_feature_guid guid{};
    for (uint8_t i = 0; i < 16; ++i)
        guid.guid[i] = static_cast<uint8_t>(0xA0 + i);
    EXPECT_EQ(vantix_genII_set_hardware_GUID(device, guid), VANTIX_CODE_SUCCESS);
    const bytes written = command();
    EXPECT_EQ(bytes(written.begin(), written.begin() + 4), (bytes{'u', 'I', 'D', 0xA0}));
    const vantix_hid_feature_guid back = vantix_genII_get_hardware_GUID(device);
    EXPECT_EQ(back.report_id, 230);
    EXPECT_EQ(std::memcmp(back.guid, guid.guid, 16), 0);
    EXPECT_EQ(vantix_genII_query_hardware_configuration(device), pad->config().hardware_configuration);
}

TEST_F(second_generation, AnswersDecodeAndFailuresAreLogged) {
    pad->store(VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS, {230, 'T', 0x0B, 0x21});
    const vantix_hid_feature_tuning_status status = vantix_genII_get_tuning_status(device);
    EXPECT_EQ(status.tuning_mode, 1);
    EXPECT_EQ(status.tuning_aborted, 2);
    EXPECT_EQ(status.tuning_state, VANTIX_LOCATION_2_STYLUS_DOWN);
    EXPECT_EQ(status.gain_setting, 0x21);
    EXPECT_EQ(command(), (bytes{'T', 'T', '5'}));

    vantix::test::log_capture log(VANTIX_DEBUG_LEVEL_WARNING);
    pad->fail_transfers(VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS);
    EXPECT_EQ(vantix_genII_query_hardware_configuration(device), -1);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Unable to set report: "), 1);
    EXPECT_EQ(vantix_genII_set_device_pid(device, 7), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Attempting to set PID: 7"), 1);
}

// A simulated sample travels the whole input path: report 253, the pad's
// interrupt side, the read, the decoder and the callbacks.
std::vector<vantix_hid_input_coordinate> received;
void on_input(vantix_device *, vantix_input_report *report, uint8_t type, unsigned char *, unsigned int) {
    if (type == VANTIX_INPUT_COORDINATE)
        received.push_back(report->coordinate);
}

TEST_F(second_generation, SimulatedPenSampleReachesTheCallbacks) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    received.clear();
    vantix_register_input_callback(device, on_input);
    vantix_pen_coordinate sample{0, VANTIX_INPUT_COORDINATE, 1234, 567, 0};
    ASSERT_EQ(vantix_simulate_pen_input(device, &sample), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_ENGINEERING_TEST);
    EXPECT_EQ(bytes(sent.begin(), sent.begin() + 11),
              (bytes{253, 0x64, 1, 0, 0, 0, 0x10, 0xD2, 0x04, 0x37, 0x02}));
    ASSERT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].x, 1234);
    EXPECT_EQ(received[0].y, 567);
    EXPECT_EQ(received[0].sample_info.common.down, 0);
    EXPECT_EQ(vantix_simulate_pen_input(device, nullptr), VANTIX_CODE_ERROR);
    vantix_close_device(device);
}

TEST_F(second_generation, AScreenDrawnReadsBackPixelByPixel) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    vantix::test::canvas picture(240, 64);
    for (int x = 0; x < 240; x += 3)
        vantix_draw_line(&picture.bmp, x, 0, x, 63, 0x000000FF);
    ASSERT_EQ(vantix_transfer_bitmap_to_device(device, &picture.bmp, 0, 0, 1), VANTIX_CODE_SUCCESS);

    int wrong = 0;
    for (uint16_t y = 0; y < 64; ++y) {
        vantix_hid_feature_pixel_values row{};
        row.start_x = 0;
        row.start_y = y;
        ASSERT_EQ(vantix_get_pixels(device, &row), VANTIX_CODE_SUCCESS);
        ASSERT_EQ(row.start_y, y);
        ASSERT_GE(row.number_of_pixels, 240);
        for (int x = 0; x < 240; ++x)
            wrong += (row.color_data[x].argb.r == 0) != (x % 3 == 0);
    }
    EXPECT_EQ(wrong, 0);

    vantix_hid_feature_pixel_values at{};
    at.start_x = 300;  // only the low byte travels
    ASSERT_EQ(vantix_get_pixels(device, &at), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_PIXEL_RETRIEVAL_LOCATION), (bytes{104, 44, 0, 0, 0}));
    vantix_close_device(device);
}

TEST_F(second_generation, PixelAnswersAreBoundedByTheRecord) {
    bytes answer(VANTIX_FEATURE_PIXELS_SIZE, 0xAB);
    answer[0] = 105;
    answer[5] = 3, answer[6] = 0;  // three pixels
    pad->store(VANTIX_FEATURE_PIXELS, answer);
    vantix_hid_feature_pixel_values values;
    std::memset(&values, 0xCD, sizeof values);
    values.start_x = values.start_y = 0;
    ASSERT_EQ(vantix_get_pixels(device, &values), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(values.number_of_pixels, 3);
    EXPECT_EQ(values.color_data[2].composit, 0xABABABABu);
    EXPECT_EQ(values.color_data[3].composit, 0u);
    EXPECT_EQ(values.color_data[255].composit, 0u);

    answer[5] = 0x2C, answer[6] = 0x01;  // 300: more than the report holds
    pad->store(VANTIX_FEATURE_PIXELS, answer);
    values.start_x = values.start_y = 0;
    ASSERT_EQ(vantix_get_pixels(device, &values), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(values.number_of_pixels, 256);
    EXPECT_EQ(values.color_data[255].composit, 0xABABABABu);

    // A failure leaves the record exactly as it was.
    values.start_x = values.start_y = 0;
    const vantix_hid_feature_pixel_values before = values;
    pad->fail_transfers(VANTIX_FEATURE_PIXELS);
    EXPECT_EQ(vantix_get_pixels(device, &values), VANTIX_CODE_ERROR);
    EXPECT_EQ(std::memcmp(&before, &values, sizeof values), 0);
}

}  // namespace
