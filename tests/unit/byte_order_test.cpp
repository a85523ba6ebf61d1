// SPDX-License-Identifier: Apache-2.0
// Little-endian report fields through the bounded report view.
#include <gtest/gtest.h>

#include <climits>

#include "support/byte_order.hpp"
#include "vantix-zelnar.h"

namespace {

using vantix::support::report_view;

TEST(byte_order, SixteenAndThirtyTwoBitFieldsAtOddOffsets) {
    unsigned char bytes[8] = {0};
    report_view r(bytes, sizeof bytes);
    r.put2(1, 0x1234);
    EXPECT_EQ(bytes[1], 0x34);
    EXPECT_EQ(bytes[2], 0x12);
    EXPECT_EQ(r.get2(1), 0x1234);

    r.put4(3, 0x04030201);
    EXPECT_EQ(bytes[3], 1);
    EXPECT_EQ(bytes[6], 4);
    EXPECT_EQ(r.get4(3), 1 + 2 * (1 << 8) + 3 * (1 << 16) + 4 * (1 << 24));
}

TEST(byte_order, BigEndianFieldHighByteFirst) {
    unsigned char bytes[3] = {0};
    report_view r(bytes, 2);
    r.put2_be(0, 0x1234);
    r.put2_be(1, 0xABCD);  // the low byte falls outside the view
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[1], 0xAB);
    EXPECT_EQ(bytes[2], 0);
}

TEST(byte_order, SignedReadsAndTheirUnsignedViews) {
    unsigned char ones[2] = {0xFF, 0xFF};
    report_view r(ones, 2);
    EXPECT_EQ(r.get2(0), -1);
    EXPECT_EQ(static_cast<uint16_t>(r.get2(0)), 65535);
    EXPECT_EQ(static_cast<uint32_t>(static_cast<int32_t>(r.get2(0))), 4294967295u);  // sign-extended
    unsigned char high[4] = {0, 0, 0, 0x80};
    EXPECT_EQ(report_view(high, 4).get4(0), INT_MIN);
}

TEST(byte_order, NothingOutsideTheBufferIsReadOrWritten) {
    unsigned char bytes[6] = {1, 2, 3, 4, 5, 6};
    report_view r(bytes + 1, 4);  // a window with guards on both sides
    EXPECT_EQ(r.get2(3), 5);      // the byte past the window reads as zero
    EXPECT_EQ(r.get4(100), 0);
    r.put4(2, 0xAABBCCDD);
    r.put2(4, 0xFFFF);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 0xDD);
    EXPECT_EQ(bytes[4], 0xCC);
    EXPECT_EQ(bytes[5], 6);

    unsigned char out[8];
    r.get_bytes(2, out, sizeof out);
    EXPECT_EQ(out[0], 0xDD);
    EXPECT_EQ(out[2], 0);
    r.put_bytes(3, "xyz", 3);
    EXPECT_EQ(bytes[4], 'x');
    EXPECT_EQ(bytes[5], 6);
}

TEST(byte_order, EnumerationFieldsTakeAnyWireByte) {
    vantix_display_type display = VANTIX_DISPLAY_TYPE_NONE;
    vantix::support::set_enum(display, 200);
    EXPECT_EQ(vantix::support::enum_byte(display), 200);
    vantix_device_run_mode mode = VANTIX_RUNMODE_PENCONTINUOUS;
    EXPECT_EQ(vantix::support::enum_byte(mode), 20);
}

}  // namespace
