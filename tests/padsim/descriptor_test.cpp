// SPDX-License-Identifier: Apache-2.0
// The virtual pad's HID report descriptor.
#include <gtest/gtest.h>

#include "padsim/catalogue.hpp"
#include "padsim/descriptor.hpp"
#include "padsim/pad.hpp"
#include "platform/linux/linux_driver.hpp"

namespace {

TEST(padsim_descriptor, DeclaresEveryCatalogueReportWithItsLength) {
    padsim::pad pad;
    const auto reports = padsim::parse_descriptor(pad.descriptor());
    ASSERT_TRUE(reports.has_value());
    std::size_t features = 0;
    for (const auto &r : *reports) {
        if (r.kind == padsim::report_kind::input)
            continue;
        ++features;
        const padsim::feature_info *info = padsim::find_feature(r.id);
        ASSERT_NE(info, nullptr) << unsigned{r.id};
        EXPECT_EQ(r.length, padsim::feature_length(*info, pad.config())) << unsigned{r.id};
    }
    EXPECT_EQ(features, padsim::feature_reports().size());
    EXPECT_TRUE(std::count(reports->begin(), reports->end(),
                           padsim::declared_report{2, padsim::report_kind::input, 7}));
    EXPECT_TRUE(std::count(reports->begin(), reports->end(),
                           padsim::declared_report{12, padsim::report_kind::input, 231}));
    // Region reports follow region count 8 and caption length 20.
    EXPECT_TRUE(std::count(reports->begin(), reports->end(),
                           padsim::declared_report{110, padsim::report_kind::feature, 1 + 8 * 49}));
    EXPECT_TRUE(std::count(reports->begin(), reports->end(),
                           padsim::declared_report{152, padsim::report_kind::feature, 54}));
}

TEST(padsim_descriptor, StartsAsAVendorCollectionAndEndsIt) {
    padsim::pad pad;
    const auto &d = pad.descriptor();
    ASSERT_GE(d.size(), 8u);
    EXPECT_EQ((std::vector<std::uint8_t>(d.begin(), d.begin() + 6)),
              (std::vector<std::uint8_t>{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1}));
    EXPECT_EQ(d.back(), 0xC0);
    // Long reports need a two-byte Report Count (2048 for report 26).
    const std::vector<std::uint8_t> count_2048{0x96, 0x00, 0x08};
    EXPECT_NE(std::search(d.begin(), d.end(), count_2048.begin(), count_2048.end()), d.end());
}

TEST(padsim_descriptor, AgreesWithTheLibrarysReportIdWalk) {
    padsim::model m;
    m.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS, VANTIX_INPUT_DEBUGCOORDINATE};
    padsim::pad pad(m);
    unsigned char library_map[255];
    parse_hid_descriptor(pad.descriptor().data(), static_cast<unsigned int>(pad.descriptor().size()),
                         library_map);
    const auto own_map = padsim::report_id_map(pad.descriptor());
    EXPECT_TRUE(std::equal(own_map.begin(), own_map.end(), library_map));
    EXPECT_EQ(own_map[VANTIX_FEATURE_DEVICE_STATUS], 0);
    EXPECT_EQ(own_map[VANTIX_INPUT_DEBUGCOORDINATE], 0);
    EXPECT_EQ(own_map[VANTIX_FEATURE_CAPABILITIES], 1);
    EXPECT_FALSE(pad.declares(VANTIX_FEATURE_DEVICE_STATUS));

    std::vector<std::uint8_t> status(VANTIX_FEATURE_DEVICE_STATUS_SIZE, 0);
    status[0] = VANTIX_FEATURE_DEVICE_STATUS;
    EXPECT_EQ(pad.get_feature(status.data(), status.size()).error,
              "Report id 13 isn't supported by this device.\n");
}

TEST(padsim_descriptor, MalformedDescriptorsAreRejected) {
    using d = std::vector<std::uint8_t>;
    EXPECT_FALSE(padsim::parse_descriptor(d{0x85}));                                // truncated item
    EXPECT_FALSE(padsim::parse_descriptor(d{0xA1, 0x01}));                          // open collection
    EXPECT_FALSE(padsim::parse_descriptor(d{0xC0}));                                // stray end
    EXPECT_FALSE(padsim::parse_descriptor(d{0x85, 0x05, 0x95, 0x01, 0xB1, 0x02}));  // no Report Size
    EXPECT_FALSE(padsim::parse_descriptor(d{0x85, 0x05, 0x75, 0x03, 0x95, 0x01, 0xB1, 0x02}));  // 3 bits
    EXPECT_FALSE(padsim::parse_descriptor(d{0xFE, 0x00, 0x00}));                                // long item
    EXPECT_EQ(padsim::parse_descriptor(d{}), std::vector<padsim::declared_report>{});

    const auto two_items =
        padsim::parse_descriptor(d{0x85, 0x07, 0x75, 0x08, 0x95, 0x02, 0xB1, 0x02, 0x95, 0x01, 0xB1, 0x02});
    ASSERT_TRUE(two_items);
    EXPECT_EQ(*two_items, (std::vector<padsim::declared_report>{{7, padsim::report_kind::feature, 4}}));
}

}  // namespace
