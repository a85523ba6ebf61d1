// SPDX-License-Identifier: Apache-2.0
// The USB gadget's answers to HID control requests and its FunctionFS
// descriptors, checked on the host without a kernel.
#include "hid_requests.hpp"

#include <gtest/gtest.h>

#include "ffs_descriptors.hpp"
#include "padsim/pad.hpp"

namespace padsim::frontend {
namespace {

constexpr std::uint8_t class_in = 0xA1, class_out = 0x21, standard_interface_in = 0x81;

setup_packet get_report(std::uint8_t type, std::uint8_t id, std::uint16_t length) {
    return {class_in, 0x01, static_cast<std::uint16_t>(type << 8 | id), 0, length};
}

class HidRequests : public ::testing::Test {
protected:
    pad p;
    hid_requests requests{p};
};

TEST_F(HidRequests, ReportDescriptorIsSentUpToTheRequestedLength) {
    const auto full = requests.answer({standard_interface_in, 0x06, 0x2200, 0, 4096});
    EXPECT_EQ(full.action, ep0_action::send);
    EXPECT_EQ(full.data, p.descriptor());
    const auto cut = requests.answer({standard_interface_in, 0x06, 0x2200, 0, 9});
    EXPECT_EQ(cut.data, std::vector<std::uint8_t>(p.descriptor().begin(), p.descriptor().begin() + 9));
    const auto hid = requests.answer({standard_interface_in, 0x06, 0x2100, 0, 64});
    EXPECT_EQ(hid.data, hid_class_descriptor(static_cast<std::uint16_t>(p.descriptor().size())));
    EXPECT_EQ(requests.answer({standard_interface_in, 0x06, 0x2300, 0, 64}).action, ep0_action::stall);
}

TEST_F(HidRequests, FeatureGetAnswersWithTheReportsOwnLength) {
    const auto reply = requests.answer(get_report(3, VANTIX_FEATURE_DEVICE_STATUS, 4096));
    ASSERT_EQ(reply.action, ep0_action::send);
    ASSERT_EQ(reply.data.size(), 73u);
    EXPECT_EQ(reply.data[0], VANTIX_FEATURE_DEVICE_STATUS);
    const auto log = p.transfers();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].bytes, reply.data);
}

TEST_F(HidRequests, RefusedGetsAndUnknownRequestsStall) {
    EXPECT_EQ(requests.answer(get_report(3, 200, 16)).action, ep0_action::stall) << "undeclared ID";
    EXPECT_EQ(requests.answer(get_report(1, VANTIX_INPUT_EXTENDEDCOORDINATE, 7)).action, ep0_action::stall)
        << "input reports come on the interrupt endpoint";
    p.fail_transfers(VANTIX_FEATURE_DEVICE_STATUS);
    EXPECT_EQ(requests.answer(get_report(3, VANTIX_FEATURE_DEVICE_STATUS, 73)).action, ep0_action::stall);
    EXPECT_EQ(requests.answer({class_in, 0x02, 0, 0, 1}).action, ep0_action::stall) << "GET_IDLE";
    EXPECT_EQ(requests.answer({0x40, 0x01, 0, 0, 0}).action, ep0_action::stall) << "vendor request";
}

TEST_F(HidRequests, FeatureSetTakesTheDataStageAndIdleIsAcknowledged) {
    const setup_packet set{class_out, 0x09, 0x0300 | VANTIX_FEATURE_POWERSTATE, 0, 2};
    ASSERT_EQ(requests.answer(set).action, ep0_action::receive);
    const std::uint8_t data[] = {VANTIX_FEATURE_POWERSTATE, 1};
    requests.take_report(data);
    const auto log = p.transfers();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].dir, direction::set);
    EXPECT_EQ(log[0].bytes, std::vector<std::uint8_t>(std::begin(data), std::end(data)));

    EXPECT_EQ(requests.answer({class_out, 0x09, 0x0300 | 200, 0, 2}).action, ep0_action::stall);
    EXPECT_EQ(requests.answer({class_out, 0x09, 0x0200 | 1, 0, 2}).action, ep0_action::stall) << "output";
    EXPECT_EQ(requests.answer({class_out, 0x0A, 0, 0, 0}).action, ep0_action::ack);
}

TEST(FfsDescriptors, BlobCarriesItsLengthAndOneHidInterfacePerSpeed) {
    const auto blob = ffs_descriptors(1234);
    ASSERT_EQ(blob.size(), 20u + 2 * (9 + 9 + 7));
    EXPECT_EQ(blob[4] | blob[5] << 8, static_cast<int>(blob.size()));
    // Full speed: interface class 3, HID descriptor giving 1234, endpoint 0x81.
    EXPECT_EQ(blob[20 + 5], 3);
    EXPECT_EQ(blob[29 + 1], 0x21);
    EXPECT_EQ(blob[29 + 7] | blob[29 + 8] << 8, 1234);
    EXPECT_EQ(blob[38 + 2], 0x81);
    EXPECT_EQ(blob[38 + 4], input_packet_size);
}

}  // namespace
}  // namespace padsim::frontend
