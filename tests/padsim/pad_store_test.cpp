// SPDX-License-Identifier: Apache-2.0
// The virtual pad's region, screen and resource store: record layouts on the
// wire, read positions, one region set for both region protocols, resource
// pieces, pending edits with save, discard and factory restore, refusals.
#include <functional>
#include <string>

#include "pad_wire.hpp"
#include "padsim/catalogue.hpp"

namespace {

using namespace padsim_test;

// Default model: 8 regions, captions of up to 20 bytes, 8 screens, 16
// resources in 64 KiB.
constexpr unsigned caption = 20, record = caption + 34, legacy_record = caption + 29;

bytes number_report(std::uint8_t id, std::uint8_t number) { return {id, number}; }

bytes blank_report(std::uint8_t id, std::size_t length) {
    bytes r(length, 0);
    r[0] = id;
    return r;
}

// A legacy record: region `number` of `type`, the rest zero.
bytes legacy_region(std::uint8_t number, std::uint8_t type = 0) {
    bytes r(legacy_record, 0);
    r[0] = number;
    r[1] = type;
    return r;
}

bytes read(padsim::pad &pad, std::uint8_t id) {
    const padsim::feature_info *info = padsim::find_feature(id);
    return get(pad, id, info ? padsim::feature_length(*info, pad.config()) : 2);
}

// A store region record: region `number` of `type`, every common byte set.
bytes region_report(std::uint8_t number, std::uint8_t type, bytes kind = {0, 0, 0, 0}, bytes tail = {}) {
    bytes r = blank_report(VANTIX_FEATURE_REGION, record);
    r[1] = number;
    r[2] = type;
    r[3] = 0x47;  // touch, decode, frame, output to host
    for (unsigned i = 0; i < 9; ++i)
        r[4 + i] = static_cast<std::uint8_t>(0x90 + i);
    const bytes box{10, 0, 20, 0, 3, 0, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    std::copy(box.begin(), box.end(), r.begin() + 13);
    std::copy(kind.begin(), kind.end(), r.begin() + 29);
    std::copy(tail.begin(), tail.end(), r.begin() + 33);
    return r;
}

bytes read_region(padsim::pad &pad, std::uint8_t number) {
    EXPECT_TRUE(set(pad, number_report(VANTIX_FEATURE_REGION_IDX, number)).ok);
    return read(pad, VANTIX_FEATURE_REGION);
}

bytes screen_report(std::uint8_t number, const bytes &regions, const bytes &nexts) {
    bytes s = blank_report(VANTIX_FEATURE_SCREEN, VANTIX_FEATURE_SCREEN_SIZE);
    s[1] = number;
    s[19] = static_cast<std::uint8_t>(regions.size());
    std::copy(regions.begin(), regions.end(), s.begin() + 20);
    std::copy(nexts.begin(), nexts.end(), s.begin() + 50);
    return s;
}

bytes edit_screen(std::uint8_t flags, std::uint8_t screen, std::uint8_t region, std::uint8_t next,
                  std::uint8_t timeout = 0, std::uint8_t timeout_next = 0) {
    return {
        VANTIX_FEATURE_MODIFY_SCREEN, 0, 0, 0, 0, 0, 0, flags, screen, region, next, timeout, timeout_next};
}

// One piece of resource `number`: `size` bytes in all, `valid` of them here,
// each data byte the low byte of its position in the resource from `at`.
bytes piece(std::uint8_t number, std::uint32_t size, unsigned valid, unsigned at, std::uint8_t type = 1) {
    bytes p = blank_report(VANTIX_FEATURE_RESOURCE, VANTIX_FEATURE_RESOURCE_SIZE);
    p[1] = number;
    p[2] = type;
    for (unsigned i = 0; i < 4; ++i) {
        p[5 + i] = static_cast<std::uint8_t>(size >> (8 * i));
        p[9 + i] = static_cast<std::uint8_t>(0xC0 + i);  // the host's check value
    }
    p[19] = static_cast<std::uint8_t>(valid & 0xFF);
    p[20] = static_cast<std::uint8_t>(valid >> 8);
    for (unsigned i = 0; i < valid && i < 1024; ++i)
        p[21 + i] = static_cast<std::uint8_t>(at + i);
    return p;
}

TEST(padsim_store, RegionRecordLayoutOfEachTypeReadsBackAsWritten) {
    struct row {
        const char *name;
        bytes report;
        std::function<void(const padsim::region &)> check;
    };
    const row rows[] = {
        {"container", region_report(4, VANTIX_REGION_TYPE_CONTAINER, {1, 3, 0xA1, 0xA2}),
         [](const padsim::region &r) {
             EXPECT_TRUE(r.ink_enable);
             EXPECT_EQ(r.ink_width, 3);
         }},
        {"button with caption",
         region_report(4, VANTIX_REGION_TYPE_BUTTON, {0x0F, 0xB1, 0xB2, 0xB3}, {'S', 'i'}),
         [](const padsim::region &r) {
             EXPECT_EQ(r.caption, "Si");
             EXPECT_TRUE(r.confirm_on_select);
             EXPECT_FALSE(r.use_resource);
         }},
        {"button with resources", region_report(4, VANTIX_REGION_TYPE_BUTTON, {0x10, 0, 0, 0}, {5, 6}),
         [](const padsim::region &r) {
             EXPECT_TRUE(r.use_resource);
             EXPECT_EQ(r.resource_normal, 5);
             EXPECT_EQ(r.resource_selected, 6);
             EXPECT_EQ(r.caption, "");
         }},
        {"line", region_report(4, VANTIX_REGION_TYPE_LINE, {0xC1, 2, 0xC2, 0xC3}),
         [](const padsim::region &r) { EXPECT_EQ(r.width, 2); }},
        {"graphic", region_report(4, VANTIX_REGION_TYPE_GRAPHIC, {0xD1, 7, 0x81, 0xD2}),
         [](const padsim::region &r) {
             EXPECT_EQ(r.graphic_number, 7);
             EXPECT_EQ(r.horizontal_justification, 1);
             EXPECT_EQ(r.vertical_justification, 8);
         }},
        {"text", region_report(4, VANTIX_REGION_TYPE_TEXT, {0xE1, 9, 2, 0x18}),
         [](const padsim::region &r) {
             EXPECT_EQ(r.resource_number, 9);
             EXPECT_EQ(r.font_number, 2);
             EXPECT_EQ(r.horizontal_justification, 8);
             EXPECT_EQ(r.vertical_justification, 1);
         }},
    };
    for (const row &c : rows) {
        SCOPED_TRACE(c.name);
        padsim::pad pad;
        ASSERT_TRUE(set(pad, c.report).ok);
        EXPECT_EQ(read_region(pad, 4), c.report);
        const padsim::region r = pad.regions()[3];
        EXPECT_TRUE(r.in_use && r.accept_touch && r.decode && r.has_frame && r.output_to_host);
        EXPECT_EQ(r.x2, 20);
        EXPECT_EQ(r.background, (std::array<std::uint8_t, 4>{5, 6, 7, 8}));
        c.check(r);
    }
}

TEST(padsim_store, RegionIndexMovesOnAfterEachReadAndWraps) {
    padsim::pad pad;
    EXPECT_EQ(read(pad, VANTIX_FEATURE_REGION_IDX), number_report(VANTIX_FEATURE_REGION_IDX, 1));
    EXPECT_EQ(read_region(pad, 7)[1], 7);
    EXPECT_EQ(pad.stored(VANTIX_FEATURE_REGION)[1], 8);  // looking does not move it
    EXPECT_EQ(read(pad, VANTIX_FEATURE_REGION)[1], 8);
    const bytes first = read(pad, VANTIX_FEATURE_REGION);
    EXPECT_EQ(first[1], 1);
    EXPECT_EQ(first[2], VANTIX_REGION_TYPE_CONTAINER);
    EXPECT_EQ(read(pad, VANTIX_FEATURE_REGION_IDX)[1], 2);
    // A region nobody defined reads as the null type and nothing else.
    bytes unused = blank_report(VANTIX_FEATURE_REGION, record);
    unused[1] = 5;
    unused[2] = VANTIX_REGION_TYPE_NULL;
    EXPECT_EQ(read_region(pad, 5), unused);
}

TEST(padsim_store, OneRegionSetServesBothProtocols) {
    padsim::pad pad;
    const auto legacy_at = [&pad](unsigned number) {
        const bytes list = read(pad, VANTIX_FEATURE_REGIONGET);
        const auto from = list.begin() + 1 + (number - 1) * legacy_record;
        return bytes(from, from + legacy_record);
    };
    // A store container shows in the legacy list with its common reserved
    // bytes; a graphic region keeps only its common part there.
    ASSERT_TRUE(set(pad, region_report(4, VANTIX_REGION_TYPE_CONTAINER, {1, 3, 0, 0})).ok);
    const bytes container = legacy_at(4);
    EXPECT_EQ(bytes(container.begin(), container.begin() + 8),
              (bytes{4, 0, 0x1F, 0x90, 0x91, 0x92, 0x93, 0x94}));
    EXPECT_EQ(container[24], 1);
    ASSERT_TRUE(set(pad, region_report(5, VANTIX_REGION_TYPE_GRAPHIC, {0, 7, 0x11, 0})).ok);
    const bytes graphic = legacy_at(5);
    EXPECT_EQ(graphic[1], VANTIX_REGION_TYPE_GRAPHIC);
    EXPECT_EQ(bytes(graphic.begin() + 24, graphic.end()), bytes(legacy_record - 24, 0));

    // The factory "OK" button read through the store, and a legacy write
    // that replaces store-only fields.
    const bytes ok = read_region(pad, 2);
    EXPECT_EQ(ok[2], VANTIX_REGION_TYPE_BUTTON);
    EXPECT_EQ(ok[29], 0x03);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&ok[33])), "OK");
    padsim::region line;
    line.number = 4;
    line.type = VANTIX_REGION_TYPE_LINE;
    line.in_use = true;
    line.width = 6;
    bytes legacy{VANTIX_FEATURE_REGIONSET};
    const bytes wire = padsim::encode_region(line, caption);
    legacy.insert(legacy.end(), wire.begin(), wire.end());
    ASSERT_TRUE(set(pad, legacy).ok);
    EXPECT_EQ(read_region(pad, 4)[30], 6);
    EXPECT_EQ(pad.regions()[3].ink_width, 0);

    // Either delete takes the region off every screen.
    ASSERT_EQ(pad.screens()[0].regions.size(), 3u);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_DELETE_REGION, 2)).ok);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_REGIONDELETE, 3)).ok);
    EXPECT_EQ(pad.screens()[0].regions, (std::vector<padsim::screen_entry>{{1, 0}}));
    EXPECT_TRUE(pad.screens()[1].regions.empty());
    EXPECT_EQ(legacy_at(2), legacy_region(2));
}

TEST(padsim_store, ScreensOnTheWireAndTheirIndex) {
    padsim::pad pad;
    bytes factory = blank_report(VANTIX_FEATURE_SCREEN, VANTIX_FEATURE_SCREEN_SIZE);
    factory[1] = 1, factory[19] = 3;
    factory[20] = 1, factory[21] = 2, factory[22] = 3, factory[51] = 2;  // "OK" leads to screen 2
    EXPECT_EQ(read(pad, VANTIX_FEATURE_SCREEN), factory);
    const bytes second = read(pad, VANTIX_FEATURE_SCREEN);
    EXPECT_EQ(bytes(second.begin() + 1, second.begin() + 3), (bytes{2, 0x10}));
    EXPECT_EQ(bytes(second.begin() + 17, second.begin() + 22), (bytes{30, 1, 2, 2, 3}));
    EXPECT_EQ(read(pad, VANTIX_FEATURE_SCREEN_IDX)[1], 3);

    bytes screen = screen_report(8, {4, 1}, {0, 7});
    screen[2] = 0x10;
    screen[3] = 0xAB, screen[16] = 0xCD, screen[17] = 5, screen[18] = 1;
    ASSERT_TRUE(set(pad, screen).ok);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_SCREEN_IDX, 8)).ok);
    EXPECT_EQ(read(pad, VANTIX_FEATURE_SCREEN), screen);
    EXPECT_EQ(read(pad, VANTIX_FEATURE_SCREEN)[1], 1);  // wrapped
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_DELETE_SCREEN, 8)).ok);
    EXPECT_TRUE(pad.screens()[7].regions.empty());
}

TEST(padsim_store, EditScreenAddsChangesAndTakesOffRegionsAndSetsTheTimeout) {
    padsim::pad pad;
    ASSERT_TRUE(set(pad, edit_screen(0x01, 3, 5, 2)).ok);
    ASSERT_TRUE(set(pad, edit_screen(0x01, 3, 6, 0)).ok);
    ASSERT_TRUE(set(pad, edit_screen(0x01, 3, 5, 4)).ok);  // already listed: new next screen
    ASSERT_TRUE(set(pad, edit_screen(0x02 | 0x04, 3, 6, 0, 12, 1)).ok);
    const padsim::store_screen s = pad.screens()[2];
    EXPECT_EQ(s.regions, (std::vector<padsim::screen_entry>{{5, 4}}));
    EXPECT_EQ(s.timeout, 12);
    EXPECT_EQ(s.timeout_screen_next, 1);

    padsim::pad small = pad_with([](padsim::model &m) { m.regions_per_screen = 1; });
    ASSERT_TRUE(set(small, edit_screen(0x01, 3, 5, 0)).ok);
    const padsim::result full = set(small, edit_screen(0x01, 3, 6, 0));
    EXPECT_EQ(full.error, "Screen 3 is full at 1 regions.\n");
    EXPECT_EQ(small.last_error(), padsim::pad_error::store_full);
}

TEST(padsim_store, ResourcePiecesAssembleAndReadBackPieceByPiece) {
    padsim::pad pad;
    constexpr std::uint32_t size = 2500;
    ASSERT_TRUE(set(pad, piece(2, size, 1024, 0)).ok);
    ASSERT_TRUE(set(pad, piece(2, size, 1024, 1024)).ok);
    EXPECT_TRUE(pad.resources()[1].empty());  // not there before its last byte
    ASSERT_TRUE(set(pad, piece(2, size, 452, 2048)).ok);
    const padsim::resource stored = pad.resources()[1];
    ASSERT_EQ(stored.data.size(), size);
    EXPECT_EQ(stored.data[2499], static_cast<std::uint8_t>(2499));
    EXPECT_EQ(stored.type, VANTIX_RESOURCE_TYPE_GRAPHIC);

    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_RESOURCE_IDX, 2)).ok);
    EXPECT_EQ(read(pad, VANTIX_FEATURE_RESOURCE_INFO),
              (bytes{141, 2, 1, 0, 0xC4, 0x09, 0, 0, 0xC0, 0xC1, 0xC2, 0xC3, 0, 0, 0, 0, 0, 0, 0, 0}));
    for (unsigned at : {0u, 1024u, 2048u, 0u}) {
        const bytes got = read(pad, VANTIX_FEATURE_RESOURCE);
        const unsigned valid = at == 2048 ? 452 : 1024;
        EXPECT_EQ(got, piece(2, size, valid, at)) << "piece at " << at;
    }
    const std::uint32_t left = 64 * 1024 - size;
    EXPECT_EQ(read(pad, VANTIX_FEATURE_RESOURCE_AVAILABILITY),
              (bytes{144, 15, static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(left >> 8), 0, 0, 0,
                     0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    // A piece of another upload starts afresh; a delete empties the slot.
    ASSERT_TRUE(set(pad, piece(3, 2000, 1024, 0)).ok);
    ASSERT_TRUE(set(pad, piece(3, 10, 10, 0)).ok);
    EXPECT_EQ(pad.resources()[2].data.size(), 10u);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_DELETE_RESOURCE, 2)).ok);
    EXPECT_TRUE(pad.resources()[1].empty());
    bytes empty = blank_report(VANTIX_FEATURE_RESOURCE, VANTIX_FEATURE_RESOURCE_SIZE);
    empty[1] = 2, empty[2] = padsim::resource::empty_type;
    EXPECT_EQ(read(pad, VANTIX_FEATURE_RESOURCE), empty);
}

TEST(padsim_store, EditsWaitForSaveDiscardOrFactoryRestore) {
    padsim::pad pad;
    const auto edit = [&pad] {
        ASSERT_TRUE(set(pad, region_report(6, VANTIX_REGION_TYPE_TEXT)).ok);
        ASSERT_TRUE(set(pad, screen_report(4, {6}, {0})).ok);
        ASSERT_TRUE(set(pad, piece(1, 4, 4, 0)).ok);
        EXPECT_TRUE(pad.store_pending());
    };
    const auto factory_regions = pad.regions();
    const auto factory_screens = pad.screens();
    for (std::uint8_t id : {VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, VANTIX_FEATURE_REGIONEDITCOMPLETE}) {
        edit();
        ASSERT_TRUE(set(pad, number_report(id, VANTIX_SCREEN_REGION_DISCARD_CHANGES)).ok);
        EXPECT_FALSE(pad.store_pending()) << unsigned{id};
        EXPECT_EQ(pad.regions(), factory_regions);
        EXPECT_EQ(pad.screens(), factory_screens);
        EXPECT_TRUE(pad.resources()[0].empty());
    }
    edit();
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_ACTIVE_SCREEN, 4)).ok);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, 1)).ok);
    EXPECT_FALSE(pad.store_pending());
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_DELETE_SCREEN, 4)).ok);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, 0)).ok);
    EXPECT_EQ(pad.screens()[3].regions.size(), 1u);  // back to the saved screen
    EXPECT_EQ(pad.resources()[0].data.size(), 4u);
    EXPECT_EQ(pad.active_screen(), 4);  // switching screens is no edit

    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, 90)).ok);
    EXPECT_EQ(pad.regions(), factory_regions);
    EXPECT_EQ(pad.screens(), factory_screens);
    EXPECT_TRUE(pad.resources()[0].empty());
    EXPECT_EQ(read(pad, VANTIX_FEATURE_ACTIVE_SCREEN), number_report(VANTIX_FEATURE_ACTIVE_SCREEN, 1));
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, 0)).ok);
    EXPECT_EQ(pad.regions(), factory_regions);  // the factory contents were saved too
}

TEST(padsim_store, UnfinishedUploadEndsWithTheEdit) {
    padsim::pad pad;
    ASSERT_TRUE(set(pad, piece(1, 2000, 1024, 0)).ok);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, 1)).ok);
    // The rest now starts a new upload of its own instead of finishing one.
    ASSERT_TRUE(set(pad, piece(1, 2000, 976, 1024)).ok);
    EXPECT_TRUE(pad.resources()[0].empty());
    ASSERT_TRUE(set(pad, piece(1, 2000, 1024, 0)).ok);
    EXPECT_EQ(pad.resources()[0].data.size(), 2000u);
}

TEST(padsim_store, SavingHoldsTheRegionAndScreenLocks) {
    for (unsigned polls : {3u, 1u, 0u}) {
        padsim::pad pad = pad_with([polls](padsim::model &m) { m.store_busy_polls = polls; });
        ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, 1)).ok);
        for (unsigned i = 0; i < polls; ++i)
            EXPECT_EQ(poll(pad)[3], INTERLOCK_REGION | INTERLOCK_SCREEN);
        EXPECT_EQ(poll(pad)[3], 0);
    }
}

TEST(padsim_store, ScriptedRepliesStandInUntilTheHostSetsTheReport) {
    padsim::pad pad;
    const bytes odd = region_report(2, 9);  // a type the store never holds
    pad.store(VANTIX_FEATURE_REGION, odd);
    EXPECT_EQ(read(pad, VANTIX_FEATURE_REGION), odd);
    EXPECT_EQ(read(pad, VANTIX_FEATURE_REGION), odd);
    ASSERT_TRUE(set(pad, region_report(2, VANTIX_REGION_TYPE_LINE)).ok);
    EXPECT_EQ(read_region(pad, 2)[2], VANTIX_REGION_TYPE_LINE);
}

TEST(padsim_store, InformationAndActiveScreen) {
    padsim::pad pad = pad_with([](padsim::model &m) { m.regions_per_screen = 40; });
    EXPECT_EQ(read(pad, VANTIX_FEATURE_SCREEN_REGION_INFO),
              (bytes{170, 8, 8, 30, 16, 20, 64, 40, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(pad.active_screen(), 1);
    ASSERT_TRUE(set(pad, number_report(VANTIX_FEATURE_ACTIVE_SCREEN, 8)).ok);
    EXPECT_EQ(read(pad, VANTIX_FEATURE_ACTIVE_SCREEN), number_report(VANTIX_FEATURE_ACTIVE_SCREEN, 8));
    EXPECT_FALSE(pad.store_pending());
}

TEST(padsim_store, HostileInputIsRefusedAndChangesNothing) {
    bytes long_screen = screen_report(1, bytes(30, 1), bytes(30, 0));
    long_screen[19] = 31;
    bytes legacy_set{VANTIX_FEATURE_REGIONSET};
    const bytes graphic = legacy_region(4, VANTIX_REGION_TYPE_GRAPHIC);
    legacy_set.insert(legacy_set.end(), graphic.begin(), graphic.end());
    struct row {
        bytes report;
        std::uint16_t code;
        std::string error;
    };
    const row rows[] = {
        {region_report(4, 5), padsim::pad_error::bad_value, "Region type 5 unknown here.\n"},
        {region_report(9, 0), padsim::pad_error::bad_region, "Region 9 out of range 1..8.\n"},
        {number_report(VANTIX_FEATURE_REGION_IDX, 0), padsim::pad_error::bad_region,
         "Region 0 out of range 1..8.\n"},
        {number_report(VANTIX_FEATURE_DELETE_REGION, 9), padsim::pad_error::bad_region,
         "Region 9 out of range 1..8.\n"},
        {legacy_set, padsim::pad_error::bad_value, "Region type 3 unknown here.\n"},
        {long_screen, padsim::pad_error::bad_value, "Screen lists 31 regions, at most 30.\n"},
        {screen_report(0, {}, {}), padsim::pad_error::bad_screen, "Screen 0 out of range 1..8.\n"},
        {screen_report(2, {1, 9}, {0, 0}), padsim::pad_error::bad_region, "Region 9 out of range 1..8.\n"},
        {screen_report(2, {1}, {9}), padsim::pad_error::bad_screen, "Screen 9 out of range 1..8.\n"},
        {edit_screen(0x03, 1, 4, 0), padsim::pad_error::bad_value,
         "Edit flags 3 add and take off at once.\n"},
        {edit_screen(0x02, 1, 4, 0), padsim::pad_error::bad_region, "Region 4 is not on screen 1.\n"},
        {edit_screen(0x05, 1, 4, 0, 1, 9), padsim::pad_error::bad_screen, "Screen 9 out of range 1..8.\n"},
        {number_report(VANTIX_FEATURE_DELETE_SCREEN, 9), padsim::pad_error::bad_screen,
         "Screen 9 out of range 1..8.\n"},
        {number_report(VANTIX_FEATURE_ACTIVE_SCREEN, 0), padsim::pad_error::bad_screen,
         "Screen 0 out of range 1..8.\n"},
        {number_report(VANTIX_FEATURE_RESOURCE_IDX, 17), padsim::pad_error::bad_resource,
         "Resource 17 out of range 1..16.\n"},
        {number_report(VANTIX_FEATURE_DELETE_RESOURCE, 0), padsim::pad_error::bad_resource,
         "Resource 0 out of range 1..16.\n"},
        {piece(1, 2000, 1025, 0), padsim::pad_error::bad_piece, "Piece of 1025 bytes, not 1 to 1024.\n"},
        {piece(1, 2000, 0, 0), padsim::pad_error::bad_piece, "Piece of 0 bytes, not 1 to 1024.\n"},
        {piece(1, 100, 101, 0), padsim::pad_error::bad_piece, "Piece ends at byte 101, past the size 100.\n"},
        {piece(1, 100, 10, 0, 2), padsim::pad_error::bad_value, "Resource type 2 unknown.\n"},
        {piece(1, 70000, 1024, 0), padsim::pad_error::store_full, "Resource of 70000 bytes, 65536 free.\n"},
        {number_report(VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, 2), padsim::pad_error::bad_value,
         "Save/reload value 2 is not 0, 1 or 90.\n"},
    };
    for (const row &c : rows) {
        padsim::pad pad;
        const auto regions = pad.regions();
        const auto screens = pad.screens();
        const padsim::result refused = set(pad, c.report);
        EXPECT_FALSE(refused.ok) << c.error;
        EXPECT_EQ(refused.error, c.error);
        EXPECT_EQ(pad.last_error(), c.code) << c.error;
        EXPECT_EQ(pad.regions(), regions) << c.error;
        EXPECT_EQ(pad.screens(), screens) << c.error;
        EXPECT_FALSE(pad.store_pending()) << c.error;
        EXPECT_EQ(poll(pad)[3], 0) << c.error;  // nothing stored, nothing locked
    }
}

}  // namespace
