// SPDX-License-Identifier: Apache-2.0
// Listing pads through the HID manager: the path, the filters, and devices
// whose properties are missing or of the wrong type.
#include "mac/mac_fixture.hpp"

namespace {

using listing = vantix::test::mac_driver_test;
using strings = std::vector<std::string>;

TEST_F(listing, PathJoinsTransportIdsUsagesAndLocation) {
    padsim::model m = quick_pad();
    m.product_id = 0x0A0B;
    attach(m, {.transport = "USB", .location_id = 0x00100, .usage_page = 0x0D, .usage = 6});
    vantix_device *d = list();
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->path, "USB_1209_0a0b_0d_06_100");
    EXPECT_EQ(d->vendor_id, 0x1209);
    EXPECT_EQ(d->product_id, 0x0A0B);
    EXPECT_STREQ(d->manufacturer, "Vantix");
    EXPECT_STREQ(d->model, "Zelnar virtual pad");
    EXPECT_EQ(d->driver, &vantix_mac_driver);
    EXPECT_EQ(d->next, nullptr);
}

TEST_F(listing, OnlyTheMakersPadsWithPadUsages) {
    padsim::model foreign = quick_pad(), excluded = quick_pad();
    foreign.vendor_id = 0x046D;
    excluded.product_id = 0x1001;
    attach(quick_pad(), {.location_id = 1, .usage = 0});
    attach(quick_pad(), {.location_id = 2, .usage = 1});
    attach(quick_pad(), {.location_id = 3, .usage = 6});
    attach(foreign, {.location_id = 4});
    attach(excluded, {.location_id = 5});
    EXPECT_EQ(listed_paths(), (strings{"USB_1209_0240_ff00_00_1", "USB_1209_0240_ff00_06_3"}));
}

TEST_F(listing, MissingOrMistypedPropertiesGiveEmptyTextsOrSkipTheDevice) {
    const auto plain = attach(quick_pad(), {.transport = std::nullopt, .location_id = 7});
    standin::set_property(plain, "Manufacturer", int32_t{5});
    standin::set_property(plain, "Product", std::monostate{});
    const auto no_vendor = attach(quick_pad(), {.location_id = 8});
    standin::set_property(no_vendor, "VendorID", std::string("1209"));
    vantix_device *d = list();
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->path, "_1209_0240_ff00_00_7");
    EXPECT_STREQ(d->manufacturer, "");
    EXPECT_STREQ(d->model, "");
    EXPECT_EQ(d->next, nullptr);
}

TEST_F(listing, NoDeviceAtAllAndNoManager) {
    EXPECT_EQ(list(), nullptr);
    attach();
    standin::fail_manager_create(true);
    vantix_device *none = reinterpret_cast<vantix_device *>(1);
    EXPECT_EQ(vantix_mac_driver.list_devices(&vantix_mac_driver, &none), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Problem initializing hid manager (12): Cannot allocate memory\n");
    // The library skips the failing driver.
    vantix_device *all = nullptr;
    EXPECT_EQ(vantix_list_devices(&all), VANTIX_CODE_SUCCESS);
    for (vantix_device *d = all; d; d = d->next)
        EXPECT_NE(d->driver, &vantix_mac_driver);
    vantix_free_device_list(all);
}

}  // namespace
