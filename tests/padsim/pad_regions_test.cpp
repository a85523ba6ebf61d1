// SPDX-License-Identifier: Apache-2.0
// Legacy regions of the virtual pad: list bytes, edits and their commit,
// the region lock, hit-testing.
#include <algorithm>
#include <string>

#include "pad_wire.hpp"

namespace {

using namespace padsim_test;

// Default model: 8 regions, captions of up to 20 bytes.
constexpr unsigned caption = 20, record = caption + 29, list_size = 8 * record + 1;

bytes list(padsim::pad &pad, std::uint8_t id = VANTIX_FEATURE_REGIONGET) { return get(pad, id, list_size); }

bytes record_in(const bytes &list, unsigned number) {
    const auto from = list.begin() + 1 + (number - 1) * record;
    return bytes(from, from + record);
}

bytes unused(unsigned number) {
    bytes cleared(record, 0);
    cleared[0] = static_cast<std::uint8_t>(number);
    return cleared;
}

bytes region_set(const padsim::region &r) {
    bytes report{VANTIX_FEATURE_REGIONSET};
    const bytes wire = padsim::encode_region(r, caption);
    report.insert(report.end(), wire.begin(), wire.end());
    return report;
}

padsim::region button(std::uint8_t number, std::uint16_t x1, std::uint16_t x2, std::uint16_t y1,
                      std::uint16_t y2, std::string text) {
    padsim::region r;
    r.number = number;
    r.type = VANTIX_REGION_TYPE_BUTTON;
    r.accept_touch = r.visible = r.in_use = r.enable = true;
    r.x1 = x1, r.x2 = x2, r.y1 = y1, r.y2 = y2;
    r.caption = std::move(text);
    return r;
}

TEST(padsim_regions, FactoryListOnTheWire) {
    padsim::pad pad;
    const bytes current = list(pad);
    ASSERT_EQ(current[0], VANTIX_FEATURE_REGIONGET);

    // Region 1: an inking container over the screen above the button strip.
    const bytes ink = record_in(current, 1);
    EXPECT_EQ(bytes(ink.begin(), ink.begin() + 16),
              (bytes{1, 0, 0x1F, 0, 0, 0, 0, 0, 0, 0, 239, 0, 0, 0, 47, 0}));
    EXPECT_EQ(bytes(ink.begin() + 16, ink.begin() + 25), (bytes{0, 0, 0, 255, 255, 255, 255, 255, 1}));
    // Regions 2 and 3: "OK" and "Cancel" side by side along the bottom.
    const bytes ok = record_in(current, 2);
    EXPECT_EQ(bytes(ok.begin(), ok.begin() + 3), (bytes{2, VANTIX_REGION_TYPE_BUTTON, 0x1F}));
    EXPECT_EQ(ok[10] | ok[11] << 8, 119);
    EXPECT_EQ(ok[12], 48);
    EXPECT_EQ(ok[14], 63);
    EXPECT_EQ(ok[25], 0x03);  // enabled, highlights when selected
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&ok[28])), "OK");
    EXPECT_EQ(pad.regions()[2].caption, "Cancel");
    EXPECT_EQ(pad.regions()[2].x1, 120);
    // The rest are unused: zero but for their number.
    for (unsigned n = 4; n <= 8; ++n)
        EXPECT_EQ(record_in(current, n), unused(n)) << "region " << n;

    bytes factory = list(pad, VANTIX_FEATURE_REGIONGETDEFAULT);
    EXPECT_EQ(factory[0], VANTIX_FEATURE_REGIONGETDEFAULT);
    factory[0] = VANTIX_FEATURE_REGIONGET;
    EXPECT_EQ(factory, current);
    get(pad, VANTIX_FEATURE_REGIONGET, list_size - 1, false);  // the host got the layout wrong
}

TEST(padsim_regions, LayoutFollowsTheModel) {
    padsim::pad two = pad_with([](padsim::model &m) { m.region_count = 2; });
    ASSERT_EQ(two.regions().size(), 2u);
    EXPECT_EQ(two.regions()[1].caption, "OK");

    padsim::pad none = pad_with([](padsim::model &m) { m.region_count = 0; });
    EXPECT_EQ(get(none, VANTIX_FEATURE_REGIONGET, 1), bytes{VANTIX_FEATURE_REGIONGET});

    padsim::pad own = pad_with([](padsim::model &m) {
        m.max_caption_length = 4;
        m.factory_regions = {{button(5, 1, 2, 3, 4, "Sign here")}, {button(9, 0, 0, 0, 0, "lost")}};
    });
    const auto regions = own.factory_regions();
    EXPECT_EQ(regions[4].caption, "Sign");  // cut to the caption length
    EXPECT_FALSE(regions[0].in_use);
    EXPECT_EQ(own.region_record(5).size(), 33u);
    EXPECT_EQ(own.region_record(5)[32], 0);
}

TEST(padsim_regions, SetStoresTheRecordBytesAsSent) {
    padsim::pad pad;
    bytes report = region_set(button(4, 10, 60, 5, 30, std::string(caption, 'x')));
    report[1 + 3] = 0xA5;  // reserved bytes travel unchanged
    report[1 + 27] = 0x5A;
    ASSERT_TRUE(set(pad, report).ok);
    EXPECT_EQ(record_in(list(pad), 4), bytes(report.begin() + 1, report.end()));
    EXPECT_EQ(pad.regions()[3].caption, std::string(caption, 'x'));

    for (std::uint8_t number : {0, 9}) {
        const padsim::result refused = set(pad, region_set(button(number, 0, 1, 0, 1, "no")));
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(refused.error, "Region " + std::to_string(number) + " out of range 1..8.\n");
        EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_region);
    }
    EXPECT_FALSE(set(pad, {VANTIX_FEATURE_REGIONDELETE, 0}).ok);
    EXPECT_FALSE(set(pad, bytes(12, 0)).ok);
    EXPECT_EQ(record_in(list(pad), 4), bytes(report.begin() + 1, report.end()));
}

TEST(padsim_regions, EditsShowAtOnceUntilDiscardedOrSaved) {
    padsim::pad pad;
    const bytes factory = list(pad);
    auto edit = [&pad] {
        ASSERT_TRUE(set(pad, region_set(button(4, 0, 9, 0, 9, "New"))).ok);
        ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONDELETE, 2}).ok);
        // Region 3 hidden, in red, disabled; region 1 stops taking ink.
        ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONUPDATE, 3, 0x00, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0}).ok);
        ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONUPDATE, 1, 0x02, 0, 1, 2, 3, 4, 0, 0, 0, 0}).ok);
    };
    edit();
    auto regions = pad.regions();
    EXPECT_EQ(regions[3].caption, "New");
    EXPECT_FALSE(regions[1].in_use);
    EXPECT_EQ(pad.region_record(2), unused(2));
    EXPECT_FALSE(regions[2].visible);
    EXPECT_FALSE(regions[2].enable);
    EXPECT_EQ(regions[2].foreground, (std::array<std::uint8_t, 4>{0xFF, 0, 0, 0xFF}));
    EXPECT_TRUE(regions[0].visible);
    EXPECT_FALSE(regions[0].ink_enable);
    EXPECT_EQ(regions[0].foreground, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));

    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONEDITCOMPLETE, VANTIX_REGION_DISCARD_CHANGES}).ok);
    EXPECT_EQ(list(pad), factory);

    edit();
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONEDITCOMPLETE, VANTIX_REGION_SAVE_CHANGES}).ok);
    const bytes saved = list(pad);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONDELETE, 4}).ok);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONEDITCOMPLETE, VANTIX_REGION_DISCARD_CHANGES}).ok);
    EXPECT_EQ(list(pad), saved);
    EXPECT_EQ(pad.regions()[3].caption, "New");
    // The factory list never changes.
    EXPECT_EQ(list(pad, VANTIX_FEATURE_REGIONGETDEFAULT)[1 + record + 28], 'O');

    const padsim::result odd = set(pad, {VANTIX_FEATURE_REGIONEDITCOMPLETE, 2});
    EXPECT_EQ(odd.error, "Edit complete value 2 is neither 0 nor 1.\n");
    EXPECT_EQ(pad.last_error(), padsim::pad_error::bad_value);
}

TEST(padsim_regions, StoringHoldsTheRegionLock) {
    padsim::pad pad = pad_with([](padsim::model &m) { m.busy_polls_after_command[2] = 2; });
    const bytes commands[] = {region_set(button(4, 0, 9, 0, 9, "A")),
                              {VANTIX_FEATURE_REGIONDELETE, 4},
                              {VANTIX_FEATURE_REGIONEDITCOMPLETE, 1}};
    for (const bytes &command : commands) {
        ASSERT_TRUE(set(pad, command).ok);
        EXPECT_EQ(poll(pad)[3], INTERLOCK_REGION) << "report " << unsigned{command[0]};
        EXPECT_EQ(poll(pad)[3], INTERLOCK_REGION);
        EXPECT_EQ(poll(pad)[3], 0);
    }
    // An update only redraws; a refused command stores nothing.
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONUPDATE, 1, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}).ok);
    EXPECT_EQ(poll(pad)[3], 0);
    ASSERT_FALSE(set(pad, {VANTIX_FEATURE_REGIONDELETE, 20}).ok);
    EXPECT_EQ(poll(pad)[3], 0);
}

TEST(padsim_regions, HitTestingFindsTheSmallestInUseRegion) {
    padsim::pad pad;
    EXPECT_EQ(pad.region_at({10, 10}), 1);
    EXPECT_EQ(pad.region_at({239, 47}), 1);
    EXPECT_EQ(pad.region_at({0, 48}), 2);
    EXPECT_EQ(pad.region_at({119, 63}), 2);
    EXPECT_EQ(pad.region_at({120, 63}), 3);
    EXPECT_EQ(pad.region_at({240, 10}), 0);

    // A button inside the container wins over it, whatever the numbers.
    ASSERT_TRUE(set(pad, region_set(button(8, 100, 140, 10, 20, "In"))).ok);
    EXPECT_EQ(pad.region_at({100, 10}), 8);
    EXPECT_EQ(pad.region_at({141, 10}), 1);
    // Equal boxes: the lower number.
    ASSERT_TRUE(set(pad, region_set(button(7, 100, 140, 10, 20, "Twin"))).ok);
    EXPECT_EQ(pad.region_at({120, 15}), 7);
    // Deleted or unused regions are not hit.
    padsim::region unused = button(6, 0, 5, 0, 5, "Off");
    unused.in_use = false;
    ASSERT_TRUE(set(pad, region_set(unused)).ok);
    EXPECT_EQ(pad.region_at({2, 2}), 1);
    ASSERT_TRUE(set(pad, {VANTIX_FEATURE_REGIONDELETE, 1}).ok);
    EXPECT_EQ(pad.region_at({2, 2}), 0);
}

}  // namespace
