// SPDX-License-Identifier: Apache-2.0
// Legacy regions against the virtual pad: lists, single-region writes and
// their cache, bounds, interlock, commits, and button events from the cache.
#include <cstring>
#include <string>

#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;

struct regions : vantix::test::sim_pad_test {
    regions() { EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS); }
    ~regions() override {
        if (device->open)
            vantix_close_device(device);
    }

    static vantix_device_region_info button(uint8_t number, const char *caption) {
        vantix_device_region_info r{};
        r.common.region_number = number;
        r.common.region_type = VANTIX_REGION_TYPE_BUTTON;
        r.common.in_use = 1;
        r.common.visible = 1;
        r.common.x1 = 10, r.common.x2 = 50, r.common.y1 = 5, r.common.y2 = 20;
        r.button.enable = 1;
        std::strncpy(r.button.caption, caption, sizeof r.button.caption - 1);
        return r;
    }
};

TEST_F(regions, OpenCachesThePadsListAndDefaultsReadTheFactoryOne) {
    ASSERT_NE(device->regions, nullptr);
    EXPECT_EQ(device->regions[1].common.region_type, VANTIX_REGION_TYPE_BUTTON);
    EXPECT_STREQ(device->regions[1].button.caption, "OK");
    EXPECT_STREQ(device->regions[2].button.caption, "Cancel");
    EXPECT_EQ(device->regions[0].container.ink_enable, 1);

    ASSERT_EQ(vantix_set_region(device, button(2, "Sign")), VANTIX_CODE_SUCCESS);
    vantix_device_region_info *defaults = vantix_get_default_regions(device);
    ASSERT_NE(defaults, nullptr);
    EXPECT_STREQ(defaults[1].button.caption, "OK");
    vantix_free_regions(defaults);
    vantix_device_region_info *current = vantix_get_regions(device);
    EXPECT_STREQ(current[1].button.caption, "Sign");
    vantix_free_regions(current);
}

TEST_F(regions, SetRegionSendsOneRecordAndUpdatesTheCache) {
    const unsigned L = device->display_info.max_caption_length;
    ASSERT_EQ(vantix_set_region(device, button(4, "Accept")), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_REGIONSET);
    ASSERT_EQ(sent.size(), L + 30);
    EXPECT_EQ(sent[1], 4);
    EXPECT_EQ(sent[2], VANTIX_REGION_TYPE_BUTTON);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&sent[29])), "Accept");
    EXPECT_EQ(bytes(sent.begin() + 1, sent.end()), pad->region_record(4));
    EXPECT_STREQ(device->regions[3].button.caption, "Accept");

    pad->clear_transfers();
    EXPECT_EQ(vantix_set_region(device, button(0, "x")), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Region number was out of bounds, min: 1, max: 8, specified: 0\n");
    EXPECT_EQ(vantix_set_region(device, button(9, "x")), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Region number was out of bounds, min: 1, max: 8, specified: 9\n");
    EXPECT_TRUE(wire().empty());

    pad->fail_transfers(VANTIX_FEATURE_REGIONSET);
    EXPECT_EQ(vantix_set_region(device, button(4, "Later")), VANTIX_CODE_ERROR);
    EXPECT_STREQ(device->regions[3].button.caption, "Accept");  // the cache follows the pad only
}

TEST_F(regions, DeleteUpdateAndCommit) {
    EXPECT_EQ(vantix_delete_region(device, 3), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_REGIONDELETE), (bytes{114, 3}));
    EXPECT_EQ(device->regions[2].common.region_type, VANTIX_REGION_TYPE_BUTTON);  // cache untouched
    EXPECT_EQ(vantix_delete_region(device, 9), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Region number out of bounds.");

    vantix_hid_feature_region_update update{};
    update.region_number = 2;
    update.function_enable = 1;
    update.visible = 1;
    update.color_foreground = {0xA0, 0x30, 0x20, 0x10};  // alpha, blue, green, red
    update.reserved2 = 0x01020304;
    pad->set_lock_bits(INTERLOCK_REGION);  // sent even while regions are locked
    pad->clear_transfers();
    EXPECT_EQ(vantix_update_region(device, &update), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (std::vector<std::string>{"set 113"}));
    EXPECT_EQ(vantix_set_region_commit(device, VANTIX_REGION_DISCARD_CHANGES), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (std::vector<std::string>{"set 115"}));
    update.region_number = 0;
    EXPECT_EQ(vantix_update_region(device, &update), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_update_region(device, nullptr), VANTIX_CODE_ERROR);

    // Locked regions: set and delete wait, then give up.
    EXPECT_EQ(vantix_delete_region(device, 2), VANTIX_CODE_ERROR);
    EXPECT_TRUE(last_set(VANTIX_FEATURE_REGIONDELETE).empty());
    pad->set_lock_bits(0);
}

TEST_F(regions, UpdateBytes) {
    vantix_hid_feature_region_update update{};
    update.region_number = 2;
    update.function_enable = 1;
    update.visible = 1;
    update.reserved1 = 9;
    update.color_foreground = {0xA0, 0x30, 0x20, 0x10};
    update.reserved2 = 0x01020304;
    EXPECT_EQ(vantix_update_region(device, &update), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_REGIONUPDATE),
              (bytes{113, 2, 3, 9, 0x10, 0x20, 0x30, 0xA0, 4, 3, 2, 1}));
}

TEST_F(regions, SamplesOnACachedButtonBecomeButtonEvents) {
    std::vector<uint8_t> types;
    static std::vector<uint8_t> *seen;
    seen = &types;
    vantix_register_input_callback(
        device, [](vantix_device *, vantix_input_report *r, uint8_t type, unsigned char *, unsigned int) {
            seen->push_back(type);
            if (type >= VANTIX_INPUT_BUTTONDOWN) {
                EXPECT_NE(r->button_down.region, nullptr);
            }
        });
    pad->tap(pad->to_digitizer({60, 56}));  // the OK button
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(types, (std::vector<uint8_t>{VANTIX_INPUT_BUTTONDOWN, VANTIX_INPUT_BUTTONPRESS}));

    // Turn the button into a container: the same tap is plain coordinates.
    vantix_device_region_info container = button(2, "");
    container.common.region_type = VANTIX_REGION_TYPE_CONTAINER;
    ASSERT_EQ(vantix_set_region(device, container), VANTIX_CODE_SUCCESS);
    types.clear();
    pad->tap(pad->to_digitizer({60, 56}));
    vantix_device_read(device);
    vantix_device_read(device);
    EXPECT_EQ(types,
              (std::vector<uint8_t>{VANTIX_INPUT_EXTENDEDCOORDINATE, VANTIX_INPUT_EXTENDEDCOORDINATE}));
}

TEST_F(regions, ADroppedCacheNeverCrashesWritesOrInput) {
    vantix_free_regions(device->regions);
    device->regions = nullptr;
    EXPECT_EQ(vantix_set_region(device, button(2, "OK")), VANTIX_CODE_SUCCESS);
    pad->tap(pad->to_digitizer({60, 56}));
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
}

struct wide_caption_pad : vantix::test::sim_pad_test {
    static padsim::model wide() {
        padsim::model m;
        m.max_caption_length = 120;
        return m;
    }
    wide_caption_pad() : sim_pad_test(wide()) {}
};

TEST_F(wide_caption_pad, CaptionsLongerThanTheRecordAreCutNeverOverrun) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    vantix_device_region_info r = regions::button(2, "");
    std::memset(r.button.caption, 'w', sizeof r.button.caption);  // no terminator at all
    ASSERT_EQ(vantix_set_region(device, r), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_REGIONSET);
    ASSERT_EQ(sent.size(), 150u);
    EXPECT_EQ(sent[29 + 99], 'w');
    EXPECT_EQ(sent[29 + 100], 0);
    vantix_device_region_info *back = vantix_get_regions(device);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::strlen(back[1].button.caption), 99u);
    vantix_free_regions(back);
    vantix_close_device(device);
}

}  // namespace
