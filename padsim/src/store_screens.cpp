// SPDX-License-Identifier: Apache-2.0
// Screens of the pad firmware's store.
#include "store_screens.hpp"

#include <algorithm>

#include "padsim/transfer.hpp"
#include "store_checks.hpp"
#include "store_regions.hpp"
#include "vantix-zelnar.h"

namespace padsim::store_screens {
namespace {

// Screen report.
constexpr std::size_t number_at = 1, flags_at = 2, reserved_at = 3, timeout_at = 17, timeout_next_at = 18;
constexpr std::size_t count_at = 19, regions_at = 20, nexts_at = regions_at + screen_report_regions;
constexpr std::uint8_t reset_on_activity = 0x10;
// Edit screen report.
constexpr std::size_t edit_flags_at = 7, edit_screen_at = 8, edit_region_at = 9, edit_next_at = 10;
constexpr std::size_t edit_timeout_at = 11, edit_timeout_next_at = 12;
enum edit_flag : std::uint8_t { add = 0x01, take_off = 0x02, timeout_set = 0x04 };

unsigned screen_count(const store_contents &store) { return static_cast<unsigned>(store.screens.size()); }

// A next screen: 0 to stay, or a screen of the store.
outcome check_next(const store_contents &store, unsigned next) {
    return next == 0 ? std::nullopt : check(next, screen_count(store));
}

outcome check_entry(const store_contents &store, const screen_entry &e) {
    if (outcome refused = store_regions::check(e.region, static_cast<unsigned>(store.regions.size())))
        return refused;
    return check_next(store, e.next_screen);
}

store_screen decode(const wire::bytes &report) {
    store_screen s;
    s.number = report.at(number_at);
    s.reset_timeout_on_activity = report.at(flags_at) & reset_on_activity;
    std::copy_n(report.begin() + reserved_at, s.reserved.size(), s.reserved.begin());
    s.timeout = report.at(timeout_at);
    s.timeout_screen_next = report.at(timeout_next_at);
    const unsigned count = std::min<unsigned>(report.at(count_at), screen_report_regions);
    for (unsigned i = 0; i < count; ++i)
        s.regions.push_back({report.at(regions_at + i), report.at(nexts_at + i)});
    return s;
}

std::vector<screen_entry>::iterator find(store_screen &s, std::uint8_t region) {
    return std::find_if(s.regions.begin(), s.regions.end(),
                        [region](const screen_entry &e) { return e.region == region; });
}

}  // namespace

std::uint8_t regions_per_screen(const model &m) {
    return static_cast<std::uint8_t>(std::min<unsigned>(m.regions_per_screen, screen_report_regions));
}

outcome check(unsigned number, unsigned count) {
    return check_number("Screen", pad_error::bad_screen, number, count);
}

wire::bytes encode(const store_screen &s) {
    wire::bytes report = wire::blank(VANTIX_FEATURE_SCREEN, VANTIX_FEATURE_SCREEN_SIZE);
    report.at(number_at) = s.number;
    report.at(flags_at) = s.reset_timeout_on_activity ? reset_on_activity : 0;
    std::copy(s.reserved.begin(), s.reserved.end(), report.begin() + reserved_at);
    report.at(timeout_at) = s.timeout;
    report.at(timeout_next_at) = s.timeout_screen_next;
    const std::size_t count = std::min<std::size_t>(s.regions.size(), screen_report_regions);
    report.at(count_at) = static_cast<std::uint8_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        report.at(regions_at + i) = s.regions[i].region;
        report.at(nexts_at + i) = s.regions[i].next_screen;
    }
    return report;
}

outcome write(store_contents &store, const wire::bytes &report, const model &m) {
    if (outcome refused = check(report.at(number_at), screen_count(store)))
        return refused;
    if (report.at(count_at) > regions_per_screen(m))
        return refuse(pad_error::bad_value, "Screen lists %u regions, at most %u.\n", report[count_at],
                      regions_per_screen(m));
    const store_screen s = decode(report);
    if (outcome refused = check_next(store, s.timeout_screen_next))
        return refused;
    for (const screen_entry &e : s.regions)
        if (outcome refused = check_entry(store, e))
            return refused;
    store.screens.at(s.number - 1u) = s;
    return std::nullopt;
}

outcome remove(store_contents &store, std::uint8_t number) {
    if (outcome refused = check(number, screen_count(store)))
        return refused;
    store.screens.at(number - 1u) = blank<store_screen>(number);
    return std::nullopt;
}

outcome edit(store_contents &store, const wire::bytes &report, const model &m) {
    const std::uint8_t flags = report.at(edit_flags_at), number = report.at(edit_screen_at);
    const screen_entry entry{report.at(edit_region_at), report.at(edit_next_at)};
    if (outcome refused = check(number, screen_count(store)))
        return refused;
    if ((flags & add) && (flags & take_off))
        return refuse(pad_error::bad_value, "Edit flags %u add and take off at once.\n", flags);
    store_screen &s = store.screens.at(number - 1u);
    const auto listed = find(s, entry.region);
    if (flags & add) {
        if (outcome refused = check_entry(store, entry))
            return refused;
        if (listed == s.regions.end() && s.regions.size() >= regions_per_screen(m))
            return refuse(pad_error::store_full, "Screen %u is full at %u regions.\n", number,
                          regions_per_screen(m));
    }
    if ((flags & take_off) && listed == s.regions.end())
        return refuse(pad_error::bad_region, "Region %u is not on screen %u.\n", entry.region, number);
    if (flags & timeout_set)
        if (outcome refused = check_next(store, report.at(edit_timeout_next_at)))
            return refused;

    if ((flags & add) && listed != s.regions.end())
        listed->next_screen = entry.next_screen;
    else if (flags & add)
        s.regions.push_back(entry);
    else if (flags & take_off)
        s.regions.erase(listed);
    if (flags & timeout_set) {
        s.timeout = report.at(edit_timeout_at);
        s.timeout_screen_next = report.at(edit_timeout_next_at);
    }
    return std::nullopt;
}

std::vector<store_screen> standard(const model &m) {
    std::vector<store_screen> screens;
    for (unsigned n = 1; n <= m.screen_count; ++n)
        screens.push_back(blank<store_screen>(static_cast<std::uint8_t>(n)));
    auto show = [&](unsigned number, std::uint8_t region, unsigned next) {
        if (number <= screens.size() && region <= m.region_count)
            screens[number - 1].regions.push_back(
                {region, static_cast<std::uint8_t>(next <= screens.size() ? next : 0)});
    };
    show(1, 1, 0);
    show(1, 2, 2);
    show(1, 3, 0);
    show(2, 2, 0);
    show(2, 3, 1);
    if (screens.size() >= 2) {
        store_screen &again = screens[1];
        again.timeout = 30;
        again.timeout_screen_next = 1;
        again.reset_timeout_on_activity = true;
    }
    return screens;
}

}  // namespace padsim::store_screens
