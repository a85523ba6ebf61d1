// SPDX-License-Identifier: Apache-2.0
// Legacy region records on the wire, in both directions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/region_wire.hpp"
#include "vantix-zelnar.h"

namespace {

using bytes = std::vector<unsigned char>;
using vantix::support::report_view;

bytes encode(const vantix_device_region_info &region, unsigned int caption_length) {
    bytes out(vantix::display::region_record_size(caption_length), 0);
    vantix::display::encode_region(region, caption_length, report_view(out.data(), out.size()), 0);
    return out;
}

vantix_device_region_info base(vantix_region_type type) {
    vantix_device_region_info r{};
    r.common.region_number = 2;
    r.common.region_type = type;
    r.common.accept_touch = 1;
    r.common.in_use = 1;
    r.common.reserved_2 = 0x01020304;
    r.common.x1 = 0x0102;
    r.common.x2 = 200;
    r.common.y1 = 3;
    r.common.y2 = 60;
    r.common.color_foreground = {0x44, 0x33, 0x22, 0x11};  // alpha, blue, green, red
    return r;
}

TEST(region_wire, CommonPartLayout) {
    const bytes wire = encode(base(VANTIX_REGION_TYPE_CONTAINER), 4);
    ASSERT_EQ(wire.size(), 33u);
    EXPECT_EQ(bytes(wire.begin(), wire.begin() + 24),
              (bytes{2, 0, 0x09, 0, 4,    3,    2,    1,    0x02, 0x01, 200, 0,
                     3, 0, 60,   0, 0x11, 0x22, 0x33, 0x44, 0,    0,    0,   0}));
}

TEST(region_wire, TypeSpecificBytes) {
    vantix_device_region_info container = base(VANTIX_REGION_TYPE_CONTAINER);
    container.container.ink_enable = 1;
    container.container.reserved_1 = 2;
    container.container.reserved_2 = 7;
    container.container.reserved_3 = 0x1234;  // only the low byte travels
    bytes wire = encode(container, 4);
    EXPECT_EQ(bytes(wire.begin() + 24, wire.end()), (bytes{0x05, 7, 0x34, 0, 0, 0, 0, 0, 0}));

    vantix_device_region_info line = base(VANTIX_REGION_TYPE_LINE);
    line.line.parent = 1;
    line.line.width = 3;
    line.line.reserved = 0xABCD;
    wire = encode(line, 4);
    EXPECT_EQ(bytes(wire.begin() + 24, wire.begin() + 28), (bytes{1, 3, 0xCD, 0}));

    vantix_device_region_info odd = base(static_cast<vantix_region_type>(7));
    std::memset(odd.button.caption, 'x', sizeof odd.button.caption);  // must not be sent
    wire = encode(odd, 4);
    EXPECT_EQ(wire[1], 7);
    EXPECT_EQ(bytes(wire.begin() + 24, wire.end()), bytes(9, 0));
}

TEST(region_wire, PackedFlagsSpillWhenWiderThanTheirBit) {
    vantix_device_region_info r = base(VANTIX_REGION_TYPE_BUTTON);
    r.common.accept_touch = 2;  // spills into the decode bit
    r.button.enable = 3;
    EXPECT_EQ(encode(r, 4)[2] & 0x03, 0x02);
    EXPECT_EQ(encode(r, 4)[25], 0x03);
}

TEST(region_wire, CaptionLengthsAroundTheLimit) {
    vantix_device_region_info r = base(VANTIX_REGION_TYPE_BUTTON);
    const unsigned int L = 5;
    std::strcpy(r.button.caption, "abcd");  // L - 1: sent with its terminator
    bytes wire = encode(r, L);
    EXPECT_EQ(bytes(wire.begin() + 28, wire.end()), (bytes{'a', 'b', 'c', 'd', 0, 0}));
    std::strcpy(r.button.caption, "abcdefgh");  // longer: cut to L, the final zero ends it
    wire = encode(r, L);
    EXPECT_EQ(bytes(wire.begin() + 28, wire.end()), (bytes{'a', 'b', 'c', 'd', 'e', 0}));

    // A pad announcing 150-character captions: never read past the 100-byte
    // field, even when it holds no terminator.
    std::memset(r.button.caption, 'z', sizeof r.button.caption);
    wire = encode(r, 150);
    EXPECT_EQ(wire.size(), 179u);
    EXPECT_EQ(wire[28 + 99], 'z');
    EXPECT_EQ(wire[28 + 100], 0);
}

TEST(region_wire, DecodingAListOfEveryType) {
    const unsigned int L = 6;
    const size_t size = 3 * (L + 29) + 1;
    bytes report(size, 0);
    report[0] = 110;
    auto record = [&](int i) { return report.data() + 1 + i * (L + 29); };
    unsigned char *button = record(0);
    button[0] = 1, button[1] = 1, button[2] = 0x1F, button[24] = 9, button[25] = 0x05;
    std::memcpy(button + 28, "OKAYOK", 6);  // exactly L characters, no terminator
    unsigned char *line = record(1);
    line[0] = 2, line[1] = 2, line[24] = 1, line[25] = 4, line[26] = 0x34, line[27] = 0x12;
    unsigned char *container = record(2);
    container[0] = 3, container[1] = 0, container[24] = 0x07, container[25] = 8, container[26] = 1;

    vantix_device_region_info regions[3]{};
    vantix_parse_regions(report.data(), regions, 3, L);
    EXPECT_EQ(regions[0].common.visible, 1);
    EXPECT_EQ(regions[0].common.has_frame, 1);
    EXPECT_EQ(regions[0].button.parent, 9);
    EXPECT_EQ(regions[0].button.enable, 1);
    EXPECT_EQ(regions[0].button.highlight_on_select, 0);
    EXPECT_EQ(regions[0].button.clear_on_select, 1);
    EXPECT_STREQ(regions[0].button.caption, "OKAYOK");
    EXPECT_EQ(regions[1].line.parent, 1);
    EXPECT_EQ(regions[1].line.width, 4);
    EXPECT_EQ(regions[1].line.reserved, 0x1234);
    EXPECT_EQ(regions[2].container.ink_enable, 1);
    EXPECT_EQ(regions[2].container.reserved_1, 3);
    EXPECT_EQ(regions[2].container.reserved_3, 1);
}

TEST(region_wire, LongCaptionsAreCutToTheRecordAndZeroRegionsReadNothing) {
    const unsigned int L = 120;
    bytes report(L + 30, 'q');
    report[1] = 1, report[2] = 1;  // region 1, a button
    vantix_device_region_info region{};
    vantix_parse_regions(report.data(), &region, 1, L);
    EXPECT_EQ(std::strlen(region.button.caption), 99u);

    unsigned char only_id = 110;
    vantix_parse_regions(&only_id, &region, 0, 20);
    vantix_parse_regions(nullptr, &region, 1, 20);
}

}  // namespace
