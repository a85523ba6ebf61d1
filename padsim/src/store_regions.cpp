// SPDX-License-Identifier: Apache-2.0
// Region reports of the pad firmware over its one region set.
#include "store_regions.hpp"

#include <algorithm>

#include "padsim/transfer.hpp"
#include "store_checks.hpp"
#include "vantix-zelnar.h"

namespace padsim::store_regions {
namespace {

constexpr std::uint8_t update_enable = 0x01, update_visible = 0x02;

region &at(store_contents &store, std::uint8_t number) { return store.regions.at(number - 1u); }

outcome check_type(std::uint8_t type, std::uint8_t last) {
    if (type > last)
        return refuse(pad_error::bad_value, "Region type %u unknown here.\n", type);
    return std::nullopt;
}

// Firmware reads a fixed record; a lenient pad's short report fits none.
outcome check_length(const wire::bytes &report, unsigned needed) {
    if (report.size() < needed)
        return refuse(pad_error::bad_length, "Region record is %u bytes, not %u.\n",
                      static_cast<unsigned>(report.size()), needed);
    return std::nullopt;
}

// Puts a decoded region in its place, after checking its number and type.
outcome place(store_contents &store, const region &r, std::uint8_t last_type) {
    if (outcome refused = check(r.number, static_cast<unsigned>(store.regions.size())))
        return refused;
    if (outcome refused = check_type(r.type, last_type))
        return refused;
    at(store, r.number) = r;
    return std::nullopt;
}

}  // namespace

outcome check(unsigned number, unsigned count) {
    return check_number("Region", pad_error::bad_region, number, count);
}

wire::bytes legacy_list(std::uint8_t id, const std::vector<region> &regions, unsigned caption_length) {
    wire::bytes report{id};
    for (const region &r : regions) {
        const wire::bytes record = encode_region(r, caption_length);
        report.insert(report.end(), record.begin(), record.end());
    }
    return report;
}

outcome set_legacy(store_contents &store, const wire::bytes &report, unsigned caption_length) {
    if (outcome refused = check_length(report, 1 + region_record_size(caption_length)))
        return refused;
    return place(store, decode_region(report.data() + 1, caption_length), VANTIX_REGION_TYPE_LINE);
}

outcome update(store_contents &store, const wire::bytes &report) {
    const std::uint8_t number = report.at(1);
    if (outcome refused = check(number, static_cast<unsigned>(store.regions.size())))
        return refused;
    region &r = at(store, number);
    const bool enable = report.at(2) & update_enable;
    r.visible = report.at(2) & update_visible;
    std::copy_n(report.begin() + 4, 4, r.foreground.begin());
    if (r.type == VANTIX_REGION_TYPE_CONTAINER)
        r.ink_enable = enable;
    else if (r.type == VANTIX_REGION_TYPE_BUTTON)
        r.enable = enable;
    return std::nullopt;
}

outcome write(store_contents &store, const wire::bytes &report, unsigned caption_length) {
    if (outcome refused = check_type(report.at(2), VANTIX_REGION_TYPE_TEXT))
        return refused;
    const std::optional<region> r = decode_store_region(report, caption_length);
    if (!r)
        return check_length(report, 5 + region_record_size(caption_length));
    return place(store, *r, VANTIX_REGION_TYPE_TEXT);
}

outcome remove(store_contents &store, std::uint8_t number) {
    if (outcome refused = check(number, static_cast<unsigned>(store.regions.size())))
        return refused;
    at(store, number) = blank<region>(number);
    for (store_screen &s : store.screens)
        std::erase_if(s.regions, [number](const screen_entry &e) { return e.region == number; });
    return std::nullopt;
}

std::uint8_t hit(const std::vector<region> &regions, unsigned x, unsigned y) {
    std::uint8_t best = 0;
    unsigned long best_area = 0;
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const region &r = regions[i];
        if (!r.in_use || !r.contains(x, y))
            continue;
        const unsigned long area = (r.x2 - r.x1 + 1ul) * (r.y2 - r.y1 + 1ul);
        if (best == 0 || area < best_area) {
            best = static_cast<std::uint8_t>(i + 1);
            best_area = area;
        }
    }
    return best;
}

}  // namespace padsim::store_regions
