// SPDX-License-Identifier: Apache-2.0
// Input report decoding, button synthesis from cached regions, dispatch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "vantix-zelnar.h"

namespace {

using bytes = std::vector<unsigned char>;

struct report_deleter {
    void operator()(vantix_input_report *r) const { vantix_free_input_report(r); }
};
using report_ptr = std::unique_ptr<vantix_input_report, report_deleter>;

report_ptr decode(vantix_device *device, const bytes &raw) {
    // An exactly sized heap copy lets the sanitizers see any overread.
    auto copy = std::make_unique<unsigned char[]>(raw.size() ? raw.size() : 1);
    std::memcpy(copy.get(), raw.data(), raw.size());
    return report_ptr(vantix_parse_input_report(device, copy.get(), static_cast<unsigned int>(raw.size())));
}

TEST(input_decode, CoordinateFieldsAndStatusBits) {
    report_ptr r = decode(nullptr, {0x01, 0x11, 0x34, 0x12, 0x78, 0x56});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->coordinate.report_id, VANTIX_INPUT_COORDINATE);
    EXPECT_EQ(r->coordinate.sample_info.common.down, 1);
    EXPECT_EQ(r->coordinate.sample_info.common.data_source, 16);
    EXPECT_EQ(r->coordinate.x, 0x1234);
    EXPECT_EQ(r->coordinate.y, 0x5678);
    // Longer buffers are fine; the extra bytes are ignored.
    r = decode(nullptr, {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xAA, 0xBB});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->coordinate.x, 65535);
    EXPECT_EQ(r->coordinate.sample_info.common.down, 0);
}

TEST(input_decode, ShortUnknownAndEmptyBuffersAreRefusedWithTheirTexts) {
    const std::pair<bytes, std::string> cases[] = {
        {{0x01, 0, 0, 0, 0}, "Buffer was too small to be an input coordinate buffer."},
        {{0x02, 0, 0, 0, 0, 0}, "Buffer was too small to be an extended input coordinate buffer."},
        {bytes(10, 0x03), "Buffer was too small to be an adc value buffer."},
        {bytes(230, 0x0C), "Buffer was too small to be a card swipe buffer."},
        {bytes(21, 0xFE), "Buffer was too small to be a debug coordinate buffer."},
        {{0x04, 0, 0, 0, 0, 0, 0}, "Unknown input report in buffer."},
        {{0x08}, "Unknown input report in buffer."},
        {{0xFA, 0, 0, 0, 0, 0, 0}, "Unknown input report in buffer."},  // synthesised types never arrive
    };
    for (const auto &[raw, text] : cases) {
        EXPECT_FALSE(decode(nullptr, raw)) << text;
        EXPECT_EQ(std::string(vantix_get_last_error()), text);
    }
    EXPECT_EQ(vantix_parse_input_report(nullptr, nullptr, 5), nullptr);
    EXPECT_STREQ(vantix_get_last_error(), "Buffer passed into vantix_parse_input_report was null or empty.");
    unsigned char one = 1;
    EXPECT_EQ(vantix_parse_input_report(nullptr, &one, 0), nullptr);
}

TEST(input_decode, AdcScanChannelAndUnknownDataTypes) {
    report_ptr scan = decode(nullptr, {3, 2, 0x01, 1, 0, 2, 0, 3, 0, 4, 0});
    ASSERT_TRUE(scan);
    EXPECT_EQ(scan->adc_values.data_type, VANTIX_ADC_DATA_TYPE_SCAN);
    EXPECT_EQ(scan->adc_values.adc_data.scan_values.sample_info.common.down, 1);
    EXPECT_EQ(scan->adc_values.adc_data.scan_values.x_max, 1);
    EXPECT_EQ(scan->adc_values.adc_data.scan_values.y_min, 4);

    report_ptr channel = decode(nullptr, {3, 3, 7, 0x10, 0x27, 2, 0, 3, 0, 0xFF, 0xFF});
    ASSERT_TRUE(channel);
    EXPECT_EQ(channel->adc_values.adc_data.channel_values.channel_number, 7);
    EXPECT_EQ(channel->adc_values.adc_data.channel_values.sample1, 10000);
    EXPECT_EQ(channel->adc_values.adc_data.channel_values.sample4, 65535);

    report_ptr other = decode(nullptr, {3, 5, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    ASSERT_TRUE(other);
    EXPECT_EQ(other->adc_values.data_type, static_cast<vantix_adc_data_type>(5));
    EXPECT_EQ(other->adc_values.adc_data.channel_values.channel_number, 0);
    EXPECT_EQ(other->adc_values.adc_data.channel_values.sample4, 0);
}

TEST(input_decode, CardTracksAreCopiedExactly) {
    bytes raw(240, 0);
    raw[0] = 12;
    raw[1] = 1;
    raw[2] = 0;
    raw[3] = 1;
    raw[4] = 17;
    for (size_t i = 5; i < raw.size(); ++i)
        raw[i] = static_cast<unsigned char>(i);
    report_ptr r = decode(nullptr, raw);
    ASSERT_TRUE(r);
    const vantix_hid_input_card_swipe &c = r->card_swipe;
    EXPECT_EQ(c.card_format, VANTIX_CARDSWIPE_TYPE_FINANCIAL);
    EXPECT_EQ(c.track1_status, VANTIX_CARDSWIPE_STATUS_VALID);
    EXPECT_EQ(c.track2_status, VANTIX_CARDSWIPE_STATUS_PARITY_ERROR);
    EXPECT_EQ(c.track3_status, VANTIX_CARDSWIPE_STATUS_CORRUPT);
    EXPECT_EQ(c.track1[0], 5);
    EXPECT_EQ(c.track1[78], 83);
    EXPECT_EQ(c.track2[0], 84);
    EXPECT_EQ(c.track2[39], 123);
    EXPECT_EQ(c.track3[0], 124);
    EXPECT_EQ(c.track3[106], 230);
}

TEST(input_decode, DebugCoordinateSkipsByteOne) {
    bytes raw(22, 0);
    raw[0] = 254;
    raw[1] = 0xFF;  // not decoded
    raw[2] = 0x10;
    raw[3] = 0x01;
    raw[19] = 0x02;
    raw[21] = 4;
    report_ptr r = decode(nullptr, raw);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->debug_coordinate.sample_info.common.down, 0);
    EXPECT_EQ(r->debug_coordinate.sample_info.common.data_source, 16);
    EXPECT_EQ(r->debug_coordinate.offset, 1);
    EXPECT_EQ(r->debug_coordinate.y_mapped, 2);
    EXPECT_EQ(r->debug_coordinate.region, 4);
}

// A pad with five regions of which number 3 is a button.
struct buttons : ::testing::Test {
    vantix_device pad{};
    vantix_device_region_info regions[5]{};

    buttons() {
        pad.display_info.region_count = 5;
        pad.regions = regions;
        for (int i = 0; i < 5; ++i)
            regions[i].common.region_number = static_cast<uint8_t>(i + 1);
        regions[2].common.region_type = VANTIX_REGION_TYPE_BUTTON;
        regions[3].common.region_type = VANTIX_REGION_TYPE_LINE;
    }
    report_ptr sample(bool down, uint8_t region) {
        return decode(&pad, {2, static_cast<unsigned char>(down ? 1 : 0), 10, 0, 20, 0, region});
    }
};

TEST_F(buttons, TapGivesDownMovePress) {
    report_ptr a = sample(true, 3), b = sample(true, 3), c = sample(false, 3);
    EXPECT_EQ(a->type.report_id, VANTIX_INPUT_BUTTONDOWN);
    EXPECT_EQ(b->type.report_id, VANTIX_INPUT_BUTTONMOVE);
    EXPECT_EQ(c->type.report_id, VANTIX_INPUT_BUTTONPRESS);
    for (const report_ptr *r : {&a, &b, &c}) {
        EXPECT_EQ((*r)->button_down.region, &regions[2]);
        EXPECT_EQ((*r)->button_down.x, 10);
        EXPECT_EQ((*r)->button_down.y, 20);
    }
    EXPECT_EQ(pad.button_down, 0);
    EXPECT_EQ(pad.last_button, 3);
}

TEST_F(buttons, SlidingOffGivesUpOnTheOriginalButtonThenPlainSamples) {
    report_ptr a = sample(true, 3), b = sample(true, 0), c = sample(true, 0);
    EXPECT_EQ(a->type.report_id, VANTIX_INPUT_BUTTONDOWN);
    EXPECT_EQ(b->type.report_id, VANTIX_INPUT_BUTTONUP);
    EXPECT_EQ(b->button_up.region, &regions[2]);
    EXPECT_EQ(c->type.report_id, VANTIX_INPUT_EXTENDEDCOORDINATE);
    EXPECT_EQ(c->extended_coordinate.region, 0);
    EXPECT_EQ(c->extended_coordinate.sample_info.common.down, 1);
}

TEST_F(buttons, OtherRegionsOutOfRangeNumbersAndMissingCachesAreNotButtons) {
    EXPECT_EQ(sample(true, 9)->extended_coordinate.region, 9);
    EXPECT_EQ(sample(true, 4)->type.report_id, VANTIX_INPUT_EXTENDEDCOORDINATE);
    EXPECT_EQ(sample(true, 255)->type.report_id, VANTIX_INPUT_EXTENDEDCOORDINATE);
    EXPECT_EQ(pad.button_down, 0);

    // A press in progress when the cache disappears ends without a region.
    sample(true, 3);
    pad.regions = nullptr;
    report_ptr up = sample(true, 3);
    EXPECT_EQ(up->type.report_id, VANTIX_INPUT_BUTTONUP);
    EXPECT_EQ(up->button_up.region, nullptr);
    EXPECT_EQ(sample(true, 3)->type.report_id, VANTIX_INPUT_EXTENDEDCOORDINATE);
}

TEST_F(buttons, RejectedReportsAndNullDevicesLeaveButtonStateAlone) {
    sample(true, 3);
    EXPECT_FALSE(decode(&pad, {2, 1, 0, 0, 0, 0}));
    EXPECT_EQ(pad.button_down, 1);
    report_ptr plain = decode(nullptr, {2, 1, 10, 0, 20, 0, 3});
    EXPECT_EQ(plain->type.report_id, VANTIX_INPUT_EXTENDEDCOORDINATE);
    EXPECT_EQ(pad.button_down, 1);
}

std::vector<std::string> seen;
void first_callback(vantix_device *, vantix_input_report *report, uint8_t type, unsigned char *raw,
                    unsigned int n) {
    seen.push_back("first:" + std::to_string(type) + ":" + std::to_string(report->type.report_id) + ":" +
                   std::to_string(raw[0]) + ":" + std::to_string(n));
}
void second_callback(vantix_device *, vantix_input_report *, uint8_t type, unsigned char *, unsigned int) {
    seen.push_back("second:" + std::to_string(type));
}

TEST_F(buttons, DispatchCallsEveryCallbackInOrderWithTheDecodedType) {
    seen.clear();
    pad.input_callbacks = vantix_create_list();
    vantix_list_add(pad.input_callbacks, reinterpret_cast<void *>(first_callback));
    vantix_list_add(pad.input_callbacks, reinterpret_cast<void *>(second_callback));
    unsigned char raw[7] = {2, 1, 10, 0, 20, 0, 3};
    vantix_get_driver_input_report(&pad, raw, 7);
    EXPECT_EQ(seen, (std::vector<std::string>{"first:250:250:2:7", "second:250"}));
    unsigned char bad[2] = {4, 0};
    vantix_get_driver_input_report(&pad, bad, 2);  // nothing decoded, nothing called
    EXPECT_EQ(seen.size(), 2u);
    // More callbacks than the copy keeps on the stack: all are called.
    seen.clear();
    for (int i = 0; i < 38; ++i)
        vantix_list_add(pad.input_callbacks, reinterpret_cast<void *>(second_callback));
    vantix_get_driver_input_report(&pad, raw, 7);
    ASSERT_EQ(seen.size(), 40u);
    EXPECT_EQ(seen.front().rfind("first:", 0), 0u);
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(),
                            [](const std::string &s) { return s.rfind("second:", 0) == 0; }),
              39);
    vantix_list_free(pad.input_callbacks);
    pad.input_callbacks = nullptr;
    vantix_get_driver_input_report(&pad, raw, 7);  // no list: decoded and released
    vantix_get_driver_input_report(nullptr, raw, 7);
}

}  // namespace
