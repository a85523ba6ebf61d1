// SPDX-License-Identifier: Apache-2.0
// Listing, open and feature reports: the real driver against the virtual
// pad as a USB device of a real kernel.
#include <fcntl.h>
#include <unistd.h>

#include <numeric>
#include <vector>

#include "scenario.hpp"

namespace vm {
namespace {

using bytes = std::vector<unsigned char>;

bytes pattern(std::uint8_t id, std::size_t length) {
    bytes b(length);
    std::iota(b.begin(), b.end(), static_cast<unsigned char>(7));
    b[0] = id;
    return b;
}

// The last transfer the pad saw, in the given direction.
std::optional<padsim::transfer> last_transfer(padsim::pad &p, padsim::direction dir) {
    const auto log = p.transfers();
    for (auto it = log.rbegin(); it != log.rend(); ++it)
        if (it->dir == dir)
            return *it;
    return std::nullopt;
}

TEST_F(Vm, ListingFindsThePadAndSkipsForeignAndExcludedDevices) {
    EXPECT_EQ(hidraw_count(), 3) << "all three gadgets have hidraw nodes";
    ASSERT_EQ(vantix_count_device_list(devices), 1u);
    EXPECT_EQ(device->vendor_id, pad().config().vendor_id);
    EXPECT_EQ(device->product_id, 0x0240);
    EXPECT_STREQ(device->manufacturer, "Vantix");
    EXPECT_STREQ(device->model, "Zelnar virtual pad");
    EXPECT_EQ(std::string(device->path).rfind("/dev/hidraw", 0), 0u) << device->path;
    EXPECT_EQ(access(device->path, F_OK), 0);
}

TEST_F(Vm, OpenReadsDescriptorReportMapAndIdentity) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    for (unsigned id = 0; id < 255; ++id)
        EXPECT_EQ(device->parameters.hid_report_map[id] != 0, pad().declares(static_cast<std::uint8_t>(id)))
            << "report " << id;
    EXPECT_EQ(device->display_info.report_id, VANTIX_FEATURE_DISPLAYINFO);
    EXPECT_EQ(device->display_info.width, pad().config().display_width);
    EXPECT_EQ(device->version_info.report_id, VANTIX_FEATURE_VERSIONINFO);
    EXPECT_NE(device->uuid, nullptr);
    EXPECT_NE(device->regions, nullptr);
    const vantix_hid_capabilities caps = vantix_get_capabilities(device);
    EXPECT_EQ(caps.report_id, VANTIX_FEATURE_CAPABILITIES) << last_error();
}

// One report of each length class: the bytes the host sends arrive at the
// pad unchanged, and the bytes the pad answers arrive at the host.
TEST_F(Vm, FeatureReportsOfEveryLengthClassRoundTripByteExact) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    for (auto [id, length] : {std::pair{VANTIX_FEATURE_POWERSTATE, 2},
                              {VANTIX_FEATURE_DEVICE_STATUS, 73},
                              {VANTIX_FEATURE_ERRORCORRECTION, 2049}}) {
        SCOPED_TRACE(id);
        bytes sent = pattern(static_cast<std::uint8_t>(id), length);
        if (id == VANTIX_FEATURE_DEVICE_STATUS) {
            // Send the pad's own status back: a made-up one would leave it
            // "initialising" for the scenarios after this one.
            sent = pad().stored(VANTIX_FEATURE_DEVICE_STATUS);
            ASSERT_EQ(sent.size(), 73u);
        }
        pad().clear_transfers();
        ASSERT_EQ(vantix_hid_set_feature_report(device, sent.data(), length), VANTIX_CODE_SUCCESS)
            << last_error();
        // USB acknowledges a SET_REPORT when its data has arrived, which can
        // be just before the gadget's thread hands it to the pad model.
        EXPECT_TRUE(wait_until([&] { return last_transfer(pad(), padsim::direction::set).has_value(); }));
        const auto set = last_transfer(pad(), padsim::direction::set);
        ASSERT_TRUE(set);
        EXPECT_EQ(set->bytes, sent);

        bytes got(length);
        got[0] = static_cast<unsigned char>(id);
        ASSERT_EQ(vantix_hid_get_feature_report(device, got.data(), length), VANTIX_CODE_SUCCESS)
            << last_error();
        const auto answered = last_transfer(pad(), padsim::direction::get);
        ASSERT_TRUE(answered);
        EXPECT_EQ(got, answered->bytes);
        if (id == VANTIX_FEATURE_ERRORCORRECTION) {
            EXPECT_EQ(got, sent) << "the stored table reads back";
        }
    }
}

TEST_F(Vm, UndeclaredReportIdIsRefusedWithoutTouchingThePad) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    ASSERT_FALSE(pad().declares(200));
    pad().clear_transfers();
    bytes buffer = pattern(200, 9);
    EXPECT_EQ(vantix_hid_get_feature_report(device, buffer.data(), 9), VANTIX_CODE_ERROR);
    EXPECT_EQ(last_error(), "Report id 200 isn't supported by this device.\n");
    EXPECT_EQ(vantix_hid_set_feature_report(device, buffer.data(), 9), VANTIX_CODE_ERROR);
    EXPECT_EQ(last_error(), "Report id 200 isn't supported by this device.\n");
    EXPECT_TRUE(pad().transfers().empty());
}

TEST_F(Vm, OpenCloseAndOpenAgain) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    const int first = device->parameters.handle;
    EXPECT_GE(fcntl(first, F_GETFD), 0) << "the node is open";
    ASSERT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS) << last_error();
    EXPECT_EQ(device->open, 0);
    EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_ERROR) << "closing twice is refused";
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    EXPECT_EQ(device->open, 1);
    bytes status(73);
    status[0] = VANTIX_FEATURE_DEVICE_STATUS;
    EXPECT_EQ(vantix_hid_get_feature_report(device, status.data(), 73), VANTIX_CODE_SUCCESS) << last_error();
}

}  // namespace
}  // namespace vm
