// SPDX-License-Identifier: Apache-2.0
// The region, screen and resource store against the virtual pad: record
// bytes both ways, hostile answers, the number reports, the composite
// operations' report sequences, and the printer.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using lines = std::vector<std::string>;

constexpr unsigned caption_length = 20;                     // the model's L
constexpr size_t region_report = caption_length + 34;       // report 152
constexpr vantix_color foreground{0x44, 0x33, 0x22, 0x11};  // alpha, blue, green, red
constexpr vantix_color background{0x88, 0x77, 0x66, 0x55};

bytes concat(bytes a, const bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct store : vantix::test::sim_pad_test {
    store() {
        EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        pad->clear_transfers();
    }
    ~store() override {
        if (device->open)
            vantix_close_device(device);
    }

    static vantix_hid_feature_region region(uint8_t type) {
        vantix_hid_feature_region r;
        std::memset(&r, 0, sizeof r);
        vantix_hid_feature_region_common &c = r.common;
        c.region_index = 5;
        const int wire_type = type;  // any byte, as a pad may send
        std::memcpy(&c.region_type, &wire_type, sizeof c.region_type);
        c.accepts_touch = c.decode_region = c.has_frame = c.output_to_host = 1;
        uint8_t *reserved[] = {&c.reserved_1, &c.reserved_2, &c.reserved_3, &c.reserved_4, &c.reserved_5,
                               &c.reserved_6, &c.reserved_7, &c.reserved_8, &c.reserved_9};
        for (uint8_t i = 0; i < 9; ++i)
            *reserved[i] = static_cast<uint8_t>(i + 1);
        c.x1 = 0x0102, c.x2 = 239, c.y1 = 3, c.y2 = 63;
        c.foreground_color = foreground;
        c.background_color = background;
        return r;
    }
    // The bytes of region(type) with bytes 29 onward given.
    static bytes region_bytes(uint8_t type, const bytes &specific) {
        bytes b{152, 5, type, 0x47, 1,  2, 3,    4,    5,    6,    7,    8,    9,    0x02, 0x01,
                239, 0, 3,    0,    63, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
        b.insert(b.end(), specific.begin(), specific.end());
        b.resize(region_report, 0);
        return b;
    }
    // A store reply to the next reads of `id`.
    void reply(uint8_t id, bytes b) { pad->store(id, std::move(b)); }
};

struct region_case {
    const char *name;
    vantix_hid_feature_region record;
    bytes specific;  // bytes 29 onward
};

std::vector<region_case> region_cases() {
    std::vector<region_case> cases;
    vantix_hid_feature_region r = store::region(VANTIX_REGION_TYPE_CONTAINER);
    r.container.ink_enabled = 1, r.container.ink_width = 3, r.container.reserved_1 = 7,
    r.container.reserved_2 = 8;
    cases.push_back({"container", r, {1, 3, 7, 8}});
    r = store::region(VANTIX_REGION_TYPE_BUTTON);
    r.button.enabled = r.button.confirm_on_select = 1;
    r.button.reserved_2 = 6;
    std::strcpy(r.button.caption, "Sign here");
    cases.push_back({"button", r, {0x09, 0, 6, 0, 'S', 'i', 'g', 'n', ' ', 'h', 'e', 'r', 'e'}});
    r = store::region(VANTIX_REGION_TYPE_BUTTON);
    r.button.highlight_on_select = r.button.clear_on_select = r.button.use_resource = 1;
    r.button.resource_number_normal = 4, r.button.resource_number_selected = 5;
    cases.push_back({"button showing resources", r, {0x16, 0, 0, 0, 4, 5}});
    r = store::region(VANTIX_REGION_TYPE_LINE);
    r.line.reserved_1 = 1, r.line.line_width = 2, r.line.reserved_2 = 3, r.line.reserved_3 = 4;
    cases.push_back({"line", r, {1, 2, 3, 4}});
    r = store::region(VANTIX_REGION_TYPE_GRAPHIC);
    r.graphic.reserved_1 = 9, r.graphic.graphic_number = 12, r.graphic.reserved_2 = 7;
    r.graphic.horizontal_justification = VANTIX_JUSTIFICATION_CENTER;
    r.graphic.vertical_justification = VANTIX_JUSTIFICATION_BOTTOM;
    cases.push_back({"graphic", r, {9, 12, 0x18, 7}});
    r = store::region(VANTIX_REGION_TYPE_TEXT);
    r.text.reserved_1 = 2, r.text.resource_number = 3, r.text.font_number = 1;
    r.text.horizontal_justification = VANTIX_JUSTIFICATION_RIGHT;
    r.text.vertical_justification = VANTIX_JUSTIFICATION_CENTER;
    cases.push_back({"text", r, {2, 3, 1, 0x81}});
    return cases;
}

TEST_F(store, EachRegionTypeHasItsBytesBothWays) {
    for (const region_case &c : region_cases()) {
        SCOPED_TRACE(c.name);
        vantix_hid_feature_region sent = c.record;
        ASSERT_EQ(vantix_set_region_contents(device, &sent), VANTIX_CODE_SUCCESS);
        const bytes expected = region_bytes(static_cast<uint8_t>(c.record.common.region_type), c.specific);
        EXPECT_EQ(last_set(VANTIX_FEATURE_REGION), expected);

        reply(VANTIX_FEATURE_REGION, expected);
        vantix_hid_feature_region back = vantix_get_region(device);
        vantix_hid_feature_region want = c.record;
        want.common.report_id = VANTIX_FEATURE_REGION;
        EXPECT_EQ(std::memcmp(&back, &want, sizeof back), 0);
    }
}

TEST_F(store, ARegionOfAnUnknownTypeCarriesItsCommonFieldsOnly) {
    vantix_hid_feature_region r = region(9);
    std::memset(r.button.caption, 'x', sizeof r.button.caption);
    r.container.ink_enabled = 1;
    vantix_set_region_contents(device, &r);  // the pad may refuse it; the bytes are what count
    EXPECT_EQ(last_set(VANTIX_FEATURE_REGION), region_bytes(9, {}));

    bytes hostile = region_bytes(9, {});
    std::fill(hostile.begin() + 29, hostile.end(), 0xEE);
    reply(VANTIX_FEATURE_REGION, hostile);
    vantix_hid_feature_region back = vantix_get_region(device);
    vantix_hid_feature_region want = region(9);
    want.common.report_id = VANTIX_FEATURE_REGION;
    EXPECT_EQ(std::memcmp(&back, &want, sizeof back), 0);
}

TEST_F(store, CaptionsAreCutToThePadsLengthAndAlwaysTerminated) {
    vantix_hid_feature_region r = region(VANTIX_REGION_TYPE_BUTTON);
    std::memset(r.button.caption, 'w', sizeof r.button.caption);  // no terminator at all
    ASSERT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_REGION);
    EXPECT_EQ(bytes(sent.begin() + 33, sent.end()), concat(bytes(caption_length, 'w'), {0}));

    bytes reply_bytes = region_bytes(VANTIX_REGION_TYPE_BUTTON, {});
    std::fill(reply_bytes.begin() + 33, reply_bytes.end(), 'c');  // no zero where the pad promised one
    reply(VANTIX_FEATURE_REGION, reply_bytes);
    EXPECT_EQ(std::string(vantix_get_region(device).button.caption), std::string(caption_length, 'c'));
}

struct wide_caption_store : vantix::test::sim_pad_test {
    static padsim::model wide() {
        padsim::model m;
        m.max_caption_length = 120;
        return m;
    }
    wide_caption_store() : sim_pad_test(wide()) {
        EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    }
    ~wide_caption_store() override { vantix_close_device(device); }
};

TEST_F(wide_caption_store, CaptionsLongerThanTheFieldNeverReachPastIt) {
    vantix_hid_feature_region r = store::region(VANTIX_REGION_TYPE_BUTTON);
    std::memset(r.button.caption, 'w', sizeof r.button.caption);
    ASSERT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_SUCCESS);
    const bytes sent = last_set(VANTIX_FEATURE_REGION);
    ASSERT_EQ(sent.size(), 154u);
    EXPECT_EQ(bytes(sent.begin() + 33, sent.end()), concat(bytes(100, 'w'), bytes(21, 0)));

    bytes reply_bytes(154, 'c');
    reply_bytes[0] = 152, reply_bytes[2] = VANTIX_REGION_TYPE_BUTTON, reply_bytes[29] = 0;
    pad->store(VANTIX_FEATURE_REGION, reply_bytes);
    const vantix_hid_feature_region back = vantix_get_region(device);
    EXPECT_EQ(std::string(back.button.caption), std::string(99, 'c'));
}

TEST_F(store, AResourcePieceHasItsBytesAndNeverClaimsMoreThanItHolds) {
    vantix_hid_feature_resource res;
    std::memset(&res, 0, sizeof res);
    res.resource_number = 3;
    res.resource_type = VANTIX_RESOURCE_TYPE_GRAPHIC;
    res.reserved_1 = 1, res.reserved_2 = 2, res.reserved_3 = 3, res.reserved_8 = 8;
    res.resource_size = 2, res.resource_crc = 0xA0B0C0D0;
    res.bytes_valid = 2;
    res.resource_data[0] = 0xAB, res.resource_data[1023] = 0xCD;  // the whole area travels
    ASSERT_EQ(vantix_set_resource(device, &res), VANTIX_CODE_SUCCESS);
    bytes expected(VANTIX_FEATURE_RESOURCE_SIZE, 0);
    const bytes head{142, 3, 1, 1, 2, 2, 0, 0, 0, 0xD0, 0xC0, 0xB0, 0xA0, 3, 0, 0, 0, 0, 8, 2, 0, 0xAB};
    std::copy(head.begin(), head.end(), expected.begin());
    expected.back() = 0xCD;
    EXPECT_EQ(last_set(VANTIX_FEATURE_RESOURCE), expected);

    expected[19] = 0xFF, expected[20] = 0xFF;  // a piece claiming 65535 bytes
    reply(VANTIX_FEATURE_RESOURCE, expected);
    const vantix_hid_feature_resource back = vantix_get_resource(device);
    EXPECT_EQ(back.report_id, VANTIX_FEATURE_RESOURCE);
    EXPECT_EQ(back.bytes_valid, VANTIX_RESOURCE_DATA_SIZE);
    EXPECT_EQ(back.resource_crc, 0xA0B0C0D0u);
    EXPECT_EQ(back.resource_data[1023], 0xCD);
}

TEST_F(store, ResourceInformationAndAvailabilityDecode) {
    reply(VANTIX_FEATURE_RESOURCE_INFO,
          {141, 7, 0, 9, 0x10, 0, 0, 0, 0x78, 0x56, 0x34, 0x12, 1, 2, 3, 4, 5, 6, 7, 8});
    vantix_hid_feature_resource_info info;
    vantix_get_resource_info_ref(device, &info);
    EXPECT_EQ(info.report_id, 141);
    EXPECT_EQ(info.resource_number, 7);
    EXPECT_EQ(info.resource_type, VANTIX_RESOURCE_TYPE_TEXT);
    EXPECT_EQ(info.reserved_1, 9);
    EXPECT_EQ(info.resource_size, 16u);
    EXPECT_EQ(info.resource_crc, 0x12345678u);
    EXPECT_EQ(info.reserved_2, 1);
    EXPECT_EQ(info.reserved_9, 8);

    reply(VANTIX_FEATURE_RESOURCE_AVAILABILITY,
          {144, 5, 0, 0, 1, 0, 0xF1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFC});
    const vantix_hid_feature_resource_availability a = vantix_get_resource_availability(device);
    EXPECT_EQ(a.report_id, 144);
    EXPECT_EQ(a.number_available, 5);
    EXPECT_EQ(a.space_available, 65536u);
    EXPECT_EQ(a.reserved_1, 0xF1u);
    EXPECT_EQ(a.reserved_12, 0xFCu);
}

TEST_F(store, AScreenTravelsWithThirtyEntriesAtMost) {
    vantix_hid_feature_screen s;
    std::memset(&s, 0, sizeof s);
    s.screen_number = 2;
    s.reset_timeout_on_activity = 1;
    s.reserved_1 = 1, s.reserved_14 = 14;
    s.timeout = 30, s.timeout_screen_next = 1;
    s.region_count = 40;
    for (uint8_t i = 0; i < 40; ++i)
        s.region_list[i] = static_cast<uint8_t>(i + 1), s.screen_next_list[i] = static_cast<uint8_t>(100 + i);
    vantix_set_screen(device, &s);  // a pad may refuse 40 regions; the bytes are what count
    bytes expected{162, 2, 0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 14, 30, 1, 40};
    for (uint8_t i = 0; i < 30; ++i)
        expected.push_back(static_cast<uint8_t>(i + 1));
    for (uint8_t i = 0; i < 30; ++i)
        expected.push_back(static_cast<uint8_t>(100 + i));
    EXPECT_EQ(last_set(VANTIX_FEATURE_SCREEN), expected);

    expected[2] = 0xEF;  // only bit 4 counts
    expected[19] = 200;  // more than the wire (and the lists) hold
    reply(VANTIX_FEATURE_SCREEN, expected);
    const vantix_hid_feature_screen back = vantix_get_screen(device);
    EXPECT_EQ(back.report_id, 162);
    EXPECT_EQ(back.reset_timeout_on_activity, 0);
    EXPECT_EQ(back.region_count, 30);
    EXPECT_EQ(back.region_list[29], 30);
    EXPECT_EQ(back.screen_next_list[29], 129);
    EXPECT_EQ(back.region_list[30], 0);
    EXPECT_EQ(back.timeout, 30);
    EXPECT_EQ(back.reserved_14, 14);
}

TEST_F(store, EditScreenAndStoreInformationBytes) {
    vantix_hid_feature_edit_screen e{};
    e.report_id = 99;  // never sent
    e.reserved_1 = 1, e.reserved_6 = 6;
    e.region_add = 1, e.timeout_set = 1;
    e.screen_index = 2, e.region_index = 3, e.region_screen_next = 4, e.timeout = 5,
    e.timeout_screen_next = 6;
    ASSERT_EQ(vantix_set_edit_screen(device, &e), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_MODIFY_SCREEN), (bytes{164, 1, 0, 0, 0, 0, 6, 0x05, 2, 3, 4, 5, 6}));

    bytes info{170};
    for (uint8_t i = 1; i <= 24; ++i)
        info.push_back(i);
    reply(VANTIX_FEATURE_SCREEN_REGION_INFO, info);
    const vantix_hid_feature_screen_region_info i = vantix_get_screen_region_info(device);
    EXPECT_EQ(i.report_id, 170);
    EXPECT_EQ(i.screen_count, 1);
    EXPECT_EQ(i.text_height, 8);
    EXPECT_EQ(i.reserved_1, 9);
    EXPECT_EQ(i.reserved_16, 24);
}

TEST_F(store, NumberReportsWaitWhereTheyMust) {
    struct number_case {
        int (*get)(vantix_device *);
        vantix_error_code (*set)(vantix_device *, uint8_t);
        uint8_t id;
        bool waits;
    };
    const number_case cases[] = {
        {vantix_get_region_idx, vantix_set_region_idx, VANTIX_FEATURE_REGION_IDX, false},
        {vantix_get_resource_idx, vantix_set_resource_idx, VANTIX_FEATURE_RESOURCE_IDX, false},
        {vantix_get_screen_idx, vantix_set_screen_idx, VANTIX_FEATURE_SCREEN_IDX, false},
        {vantix_get_active_screen, vantix_set_active_screen, VANTIX_FEATURE_ACTIVE_SCREEN, true},
    };
    for (const number_case &c : cases) {
        SCOPED_TRACE(int{c.id});
        const std::string id = std::to_string(c.id);
        wire();
        ASSERT_EQ(c.set(device, 7), VANTIX_CODE_SUCCESS);
        EXPECT_EQ(last_set(c.id), (bytes{c.id, 7}));
        EXPECT_EQ(c.get(device), 7);
        EXPECT_EQ(wire(), c.waits ? (lines{"get 13", "set " + id, "get 13", "get " + id})
                                  : (lines{"set " + id, "get " + id}));
        pad->fail_transfers(c.id);
        EXPECT_EQ(c.get(device), -1);
    }
}

TEST_F(store, DeletesCheckTheirNumberOrWaitForTheirLocks) {
    EXPECT_EQ(vantix_delete_device_region(device, 0), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Region number out of bounds.");
    EXPECT_EQ(vantix_delete_device_region(device, 9), VANTIX_CODE_ERROR);
    EXPECT_TRUE(wire().empty());
    EXPECT_EQ(vantix_delete_device_region(device, 8), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_delete_resource(device, 4), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_delete_screen(device, 2), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_DELETE_SCREEN), (bytes{163, 2}));
    EXPECT_EQ(wire(), (lines{"get 13", "set 153", "get 13", "set 143", "get 13", "set 163"}));

    pad->set_lock_bits(INTERLOCK_SCREEN);  // region and resource deletes wait for screens too
    EXPECT_EQ(vantix_delete_device_region(device, 8), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_delete_resource(device, 4), VANTIX_CODE_ERROR);
    pad->set_lock_bits(0);
    EXPECT_TRUE(last_set(VANTIX_FEATURE_DELETE_RESOURCE).empty());
}

TEST_F(store, MissingDevicesAndRecordsAreRefusedClearly) {
    vantix_hid_feature_region region{};
    vantix_hid_feature_screen screen{};
    struct refusal {
        std::function<void()> call;
        const char *error;
    };
    const refusal cases[] = {
        {[&] { EXPECT_EQ(vantix_set_region_contents(nullptr, &region), VANTIX_CODE_ERROR); },
         "No device given."},
        {[&] { EXPECT_EQ(vantix_set_region_contents(device, nullptr), VANTIX_CODE_ERROR); },
         "No record given."},
        {[&] { EXPECT_EQ(vantix_get_region(nullptr).common.report_id, 0); }, "No device given."},
        {[&] { vantix_get_screen_ref(device, nullptr); }, "No record given."},
        {[&] { EXPECT_EQ(vantix_set_screen(device, nullptr), VANTIX_CODE_ERROR); }, "No record given."},
        {[&] { EXPECT_EQ(vantix_get_screen_idx(nullptr), -1); }, "No device given."},
        {[&] { EXPECT_EQ(vantix_delete_device_region(nullptr, 1), VANTIX_CODE_ERROR); }, "No device given."},
        {[&] { EXPECT_EQ(vantix_get_device_regions(nullptr), nullptr); }, "No device given."},
        {[&] { EXPECT_EQ(vantix_clear_screen(nullptr), VANTIX_CODE_ERROR); }, "No device given."},
        {[&] { EXPECT_EQ(vantix_restore_default_regions(nullptr), VANTIX_CODE_ERROR); }, "No device given."},
        {[&] { EXPECT_EQ(vantix_add_region_to_screen(nullptr, 1, 1), VANTIX_CODE_ERROR); },
         "No screen given."},
        {[&] { EXPECT_EQ(vantix_add_region_to_screen(&screen, 256, 1), VANTIX_CODE_ERROR); },
         "Region or screen number out of range: 256, 1."},
    };
    for (const refusal &c : cases) {
        vantix_report_error_internal("unset");
        c.call();
        EXPECT_STREQ(vantix_get_last_error(), c.error);
    }
    EXPECT_TRUE(wire().empty());
}

TEST_F(store, AddingARegionToAScreenRecord) {
    vantix_hid_feature_screen s{};
    EXPECT_EQ(vantix_add_region_to_screen(&s, 4, 2), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_add_region_to_screen(&s, 6, 0), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_add_region_to_screen(&s, 4, 3), VANTIX_CODE_SUCCESS);  // already listed: next only
    EXPECT_EQ(s.region_count, 2);
    EXPECT_EQ(s.region_list[0], 4);
    EXPECT_EQ(s.screen_next_list[0], 3);
    EXPECT_EQ(s.region_list[1], 6);

    s.region_count = 100;
    const vantix_hid_feature_screen full = s;
    EXPECT_EQ(vantix_add_region_to_screen(&s, 7, 1), VANTIX_CODE_ERROR);
    EXPECT_EQ(std::memcmp(&s, &full, sizeof s), 0);
    EXPECT_EQ(vantix_add_region_to_screen(&s, 6, 9), VANTIX_CODE_SUCCESS);  // still found in a full list
    s.region_count = 255;  // a caller's count past the lists: never searched beyond them
    EXPECT_EQ(vantix_add_region_to_screen(&s, 8, 1), VANTIX_CODE_ERROR);
}

TEST_F(store, WritingARegionReadsTheLegacyListAnew) {
    vantix_hid_feature_region r = region(VANTIX_REGION_TYPE_CONTAINER);
    ASSERT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (lines{"get 13", "set 152", "get 13", "get 110"}));
    EXPECT_NE(device->regions, nullptr);

    pad->fail_transfers(VANTIX_FEATURE_REGIONGET);  // the refresh fails: no cache
    ASSERT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(device->regions, nullptr);
    ASSERT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_SUCCESS);  // and none to refresh
    EXPECT_EQ(wire(), (lines{"get 13", "set 152", "get 13", "get 110 failed", "get 13", "set 152"}));
    pad->fail_transfers(VANTIX_FEATURE_ACTIVE_SCREEN);
    EXPECT_EQ(vantix_clear_screen(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device regions is null, unable to clear screen.");

    pad->fail_transfers(VANTIX_FEATURE_REGION);
    EXPECT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_ERROR);
}

TEST_F(store, ReadingEveryRegionWalksTheIndex) {
    reply(VANTIX_FEATURE_SCREEN_REGION_INFO, {170, 8, 3});
    vantix_hid_feature_region *all = vantix_get_device_regions(device);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(last_set(VANTIX_FEATURE_REGION_IDX), (bytes{150, 1}));
    EXPECT_EQ(wire(),
              (lines{"get 170", "set 150", "get 13", "get 152", "get 13", "get 152", "get 13", "get 152"}));
    EXPECT_EQ(all[2].common.report_id, VANTIX_FEATURE_REGION);
    vantix_free_device_regions(all);

    pad->fail_transfers(VANTIX_FEATURE_REGION);  // a failed read anywhere fails the whole
    EXPECT_EQ(vantix_get_device_regions(device), nullptr);
    pad->fail_transfers(VANTIX_FEATURE_REGION_IDX);
    EXPECT_EQ(vantix_get_device_regions(device), nullptr);
    wire();
    pad->fail_transfers(VANTIX_FEATURE_SCREEN_REGION_INFO);
    EXPECT_EQ(vantix_get_device_regions(device), nullptr);
    EXPECT_EQ(wire(), (lines{"get 170 failed"}));  // the index is left alone

    reply(VANTIX_FEATURE_SCREEN_REGION_INFO, {170, 8, 0});  // an empty store
    all = vantix_get_device_regions(device);
    EXPECT_NE(all, nullptr);
    EXPECT_EQ(wire(), (lines{"get 170", "set 150"}));
    vantix_free_device_regions(all);
}

TEST_F(store, ClearingTheScreenReactivatesTheActiveScreen) {
    ASSERT_EQ(vantix_set_active_screen(device, 3), VANTIX_CODE_SUCCESS);
    wire();
    vantix_device_region_info *cache = device->regions;
    ASSERT_EQ(vantix_clear_screen(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(last_set(VANTIX_FEATURE_ACTIVE_SCREEN), (bytes{171, 3}));
    EXPECT_EQ(wire(), (lines{"get 13", "get 171", "get 13", "set 171"}));
    EXPECT_EQ(device->regions, cache);
    EXPECT_EQ(pad->active_screen(), 3);
}

TEST_F(store, ClearingTheScreenWithoutStoreShowsAndHidesTheLastRegion) {
    pad->fail_transfers(VANTIX_FEATURE_ACTIVE_SCREEN, padsim::always);
    ASSERT_EQ(vantix_clear_screen(device), VANTIX_CODE_SUCCESS);
    const bytes hidden = last_set(VANTIX_FEATURE_REGIONSET);
    EXPECT_EQ(wire(), (lines{"get 13", "get 171 failed", "get 13", "set 112", "get 13", "set 112"}));
    ASSERT_EQ(hidden.size(), caption_length + 30);
    EXPECT_EQ(hidden[1], 8);  // the last region, keeping its number
    EXPECT_EQ(hidden[2], VANTIX_REGION_TYPE_CONTAINER);
    EXPECT_EQ(hidden[3], 0x0A);  // decode and in use; not visible, no touch, no frame
    EXPECT_EQ(bytes(hidden.begin() + 9, hidden.begin() + 17), (bytes{0, 0, 239, 0, 0, 0, 63, 0}));
    EXPECT_EQ(device->regions[7].common.visible, 0);

    device->display_info.region_count = 0;
    EXPECT_EQ(vantix_clear_screen(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device has no regions, unable to clear screen.");
    device->display_info.report_id = 0;
    EXPECT_EQ(vantix_clear_screen(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device display info is unset, unable to clear screen.");
}

TEST_F(store, RestoringDefaultsOnAStorePadSendsNoRegionRecords) {
    ASSERT_EQ(vantix_restore_default_regions(device), VANTIX_CODE_SUCCESS);  // the pad is idle
    EXPECT_EQ(last_set(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD), (bytes{172, 0}));
    EXPECT_EQ(wire(), (lines{"get 13", "get 13", "set 172", "get 13", "get 13", "get 13", "get 110"}));

    pad->set_run_mode(VANTIX_RUNMODE_PEN);  // busy: command mode around the discard
    ASSERT_EQ(vantix_restore_default_regions(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (lines{"get 13", "get 13", "set 10", "get 13", "get 13", "set 172", "get 13", "get 13",
                             "get 13", "get 110", "get 13", "set 10", "get 13"}));
    EXPECT_EQ(pad->run_mode(), VANTIX_RUNMODE_PEN);
}

TEST_F(store, RestoringDefaultsOnALegacyPadRewritesWhatDiffers) {
    vantix_device_region_info changed = device->regions[2];
    std::strcpy(changed.button.caption, "Later");
    ASSERT_EQ(vantix_set_region(device, changed), VANTIX_CODE_SUCCESS);
    changed = device->regions[0];
    changed.common.x2 = 10;  // region 1 is never compared or written
    ASSERT_EQ(vantix_set_region(device, changed), VANTIX_CODE_SUCCESS);
    pad->fail_transfers(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD);
    wire();
    ASSERT_EQ(vantix_restore_default_regions(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (lines{"get 13", "get 13", "set 172 failed", "get 13", "get 13", "get 111", "get 13",
                             "get 13", "get 110", "get 13", "get 13", "set 112"}));
    EXPECT_STREQ(device->regions[2].button.caption, "Cancel");
    EXPECT_EQ(device->regions[0].common.x2, 10);

    pad->fail_transfers(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD);
    pad->fail_transfers(VANTIX_FEATURE_REGIONGETDEFAULT);
    EXPECT_EQ(vantix_restore_default_regions(device), VANTIX_CODE_ERROR);
}

TEST_F(store, PrintingStoreRegions) {
    const std::vector<region_case> cases = region_cases();
    vantix_hid_feature_region regions[] = {cases[1].record, cases[4].record, cases[5].record, region(9)};
    testing::internal::CaptureStdout();
    vantix_print_device_regions(regions, 4);
    vantix_print_device_regions(nullptr, 4);
    const std::string common =
        "      Accepts Touch: 1\n             Decode: 1\n          Has Frame: 1\n"
        "     Output To Host: 1\n         Reserved 1: 1\n         Reserved 2: 2\n"
        "                 X1: 258\n                 Y1: 3\n                 X2: 239\n"
        "                 Y2: 63\n         Foreground: #44112233\n"
        "         Background: #88556677\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "vantix_device_region_info structure:\n"
              "   Region 5:\n               Type: Button\n" +
                  common +
                  "    Clear on Select: 0\n             Enable: 1\nHighlight on Select: 0\n"
                  "  Confirm on Select: 1\n       Use Resource: 0\n            Caption: Sign here\n"
                  "Resource Number Normal: 0\nResource Number Selected: 0\n"
                  "   Region 5:\n               Type: Graphic\n" +
                  common +
                  "     Graphic Number: 12\nHorizontal Justification: 8\nVertical Justification: 1\n"
                  "   Region 5:\n               Type: Text\n" +
                  common +
                  "    Resource Number: 3\n        Font Number: 1\nHorizontal Justification: 1\n"
                  "Vertical Justification: 8\n"
                  "   Region 5:\n               Type: \n" +
                  common + "vantix_device_region_info structure:\n  NULL\n");
}

TEST_F(store, TheLegacyPrinterSharesThePlacementLines) {
    vantix_device_region_info r{};
    r.common.region_number = 2;
    r.common.region_type = VANTIX_REGION_TYPE_LINE;
    r.common.reserved_2 = 7;
    r.common.x1 = 1, r.common.y1 = 2, r.common.x2 = 3, r.common.y2 = 4;
    r.common.color_foreground = foreground;
    r.line.parent = 1, r.line.width = 2;
    testing::internal::CaptureStdout();
    vantix_print_regions(&r, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "vantix_device_region_info structure:\n   Region 2:\n               Type: Line\n"
              "      Accepts Touch: 0\n             Decode: 0\n            Visible: 0\n"
              "             In Use: 0\n          Has Frame: 0\n         Reserved 1: 0\n"
              "         Reserved 2: 7\n                 X1: 1\n                 Y1: 2\n"
              "                 X2: 3\n                 Y2: 4\n         Foreground: #44112233\n"
              "         Background: #00000000\n             Parent: 1\n              Width: 2\n");
}

// End to end: the pad's own store, no scripted replies.

TEST_F(store, EveryRegionOfThePadInNumberOrder) {
    const vantix_hid_feature_screen_region_info info = vantix_get_screen_region_info(device);
    ASSERT_EQ(info.region_count, device->display_info.region_count);
    vantix_hid_feature_region *all = vantix_get_device_regions(device);
    ASSERT_NE(all, nullptr);
    for (unsigned i = 0; i < info.region_count; ++i) {
        EXPECT_EQ(all[i].common.region_index, i + 1);
        if (device->regions[i].common.in_use) {  // unused ones read as the null type
            EXPECT_EQ(all[i].common.region_type, device->regions[i].common.region_type);  // one region set
        }
    }
    EXPECT_STREQ(all[1].button.caption, "OK");
    vantix_free_device_regions(all);
}

TEST_F(store, PendingRegionChangesAreDiscardedOrSaved) {
    const vantix_device_region_info before = device->regions[3];
    vantix_hid_feature_region r = region(VANTIX_REGION_TYPE_BUTTON);
    r.common.region_index = 4;
    std::strcpy(r.button.caption, "Store");
    ASSERT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_SUCCESS);
    EXPECT_TRUE(pad->store_pending());
    EXPECT_STREQ(device->regions[3].button.caption, "Store");  // the legacy list shows the store's write

    ASSERT_EQ(vantix_restore_default_regions(device), VANTIX_CODE_SUCCESS);
    EXPECT_FALSE(pad->store_pending());
    EXPECT_TRUE(last_set(VANTIX_FEATURE_REGIONSET).empty());
    EXPECT_EQ(std::memcmp(&device->regions[3], &before, sizeof before), 0);

    ASSERT_EQ(vantix_set_region_contents(device, &r), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_set_screen_region_commit(device, VANTIX_SCREEN_REGION_SAVE_CHANGES),
              VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_restore_default_regions(device), VANTIX_CODE_SUCCESS);  // saved edits stay
    ASSERT_EQ(vantix_set_region_idx(device, 4), VANTIX_CODE_SUCCESS);
    EXPECT_STREQ(vantix_get_region(device).button.caption, "Store");
}

TEST_F(store, AResourceTravelsInPieces) {
    bytes data(1500);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    vantix_hid_feature_resource piece;
    std::memset(&piece, 0, sizeof piece);
    piece.resource_number = 1;
    piece.resource_type = VANTIX_RESOURCE_TYPE_GRAPHIC;
    piece.resource_size = 1500, piece.resource_crc = 0x1234;
    for (size_t at = 0; at < data.size(); at += VANTIX_RESOURCE_DATA_SIZE) {
        piece.bytes_valid =
            static_cast<uint16_t>(std::min<size_t>(VANTIX_RESOURCE_DATA_SIZE, data.size() - at));
        std::memcpy(piece.resource_data, &data[at], piece.bytes_valid);
        ASSERT_EQ(vantix_set_resource(device, &piece), VANTIX_CODE_SUCCESS);
    }
    ASSERT_EQ(vantix_set_resource_idx(device, 1), VANTIX_CODE_SUCCESS);
    const vantix_hid_feature_resource_info info = vantix_get_resource_info(device);
    EXPECT_EQ(info.resource_size, 1500u);
    EXPECT_EQ(info.resource_crc, 0x1234u);
    EXPECT_EQ(info.resource_type, VANTIX_RESOURCE_TYPE_GRAPHIC);
    bytes back;
    for (int i = 0; i < 2; ++i) {
        const vantix_hid_feature_resource p = vantix_get_resource(device);
        back.insert(back.end(), p.resource_data, p.resource_data + p.bytes_valid);
    }
    EXPECT_EQ(back, data);
    ASSERT_EQ(vantix_delete_resource(device, 1), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_get_resource_info(device).resource_type, VANTIX_RESOURCE_TYPE_INVALID);
}

TEST_F(store, AScreenIsWrittenEditedAndReadBack) {
    vantix_hid_feature_screen s;
    std::memset(&s, 0, sizeof s);
    s.screen_number = 2;
    s.timeout = 10, s.timeout_screen_next = 1;
    ASSERT_EQ(vantix_add_region_to_screen(&s, 2, 1), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_add_region_to_screen(&s, 3, 0), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_set_screen(device, &s), VANTIX_CODE_SUCCESS);

    vantix_hid_feature_edit_screen edit{};
    edit.region_add = 1;
    edit.screen_index = 2, edit.region_index = 4, edit.region_screen_next = 3;
    ASSERT_EQ(vantix_set_edit_screen(device, &edit), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_set_screen_idx(device, 2), VANTIX_CODE_SUCCESS);
    const vantix_hid_feature_screen back = vantix_get_screen(device);
    EXPECT_EQ(back.screen_number, 2);
    EXPECT_EQ(back.timeout, 10);
    ASSERT_EQ(back.region_count, 3);
    EXPECT_EQ(bytes(back.region_list, back.region_list + 3), (bytes{2, 3, 4}));
    EXPECT_EQ(bytes(back.screen_next_list, back.screen_next_list + 3), (bytes{1, 0, 3}));
}

}  // namespace
