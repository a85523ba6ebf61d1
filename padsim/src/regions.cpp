// SPDX-License-Identifier: Apache-2.0
// The region, screen and resource store of the pad firmware.
#include "regions.hpp"

#include "padsim/transfer.hpp"
#include "store_checks.hpp"
#include "store_regions.hpp"
#include "store_screens.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

enum : std::uint8_t { discard = 0, save = 1, factory_defaults = 90 };

store_contents factory_contents(const model &m) {
    store_contents store;
    for (unsigned n = 1; n <= m.region_count; ++n)
        store.regions.push_back(blank<region>(static_cast<std::uint8_t>(n)));
    // Captions longer than the model's are cut, as the legacy list would.
    for (const region &r : m.factory_regions ? *m.factory_regions : standard_regions(m))
        if (r.number >= 1 && r.number <= store.regions.size())
            store.regions[r.number - 1u] =
                decode_region(encode_region(r, m.max_caption_length).data(), m.max_caption_length);
    store.screens = store_screens::standard(m);
    for (unsigned n = 1; n <= m.resource_count; ++n)
        store.resources.push_back(blank<resource>(static_cast<std::uint8_t>(n)));
    return store;
}

// Index reports and the active screen: byte 1 the number.
wire::bytes number_report(std::uint8_t id, std::uint8_t number) { return {id, number}; }

// The next read position after `index`, wrapping from `count` to 1.
std::uint8_t next(std::uint8_t index, std::size_t count) {
    return count == 0 ? index : static_cast<std::uint8_t>(index % count + 1);
}

// Item `number` of a store list, or an empty one of that number when the
// index points past the list (a model with no regions, screens or resources).
template <typename T>
T numbered(const std::vector<T> &items, std::uint8_t number) {
    return number >= 1 && number <= items.size() ? items[number - 1u] : blank<T>(number);
}

outcome select(std::uint8_t &index, std::uint8_t number, outcome refused) {
    if (!refused)
        index = number;
    return refused;
}

}  // namespace

region_store::region_store(const model &m)
    : model_(m),
      current_(factory_contents(m)),
      saved_(current_),
      factory_(current_),
      active_screen_(m.screen_count > 0 ? 1 : 0) {}

bool region_store::handles(std::uint8_t id) {
    return (id >= VANTIX_FEATURE_REGIONGET && id <= VANTIX_FEATURE_REGIONEDITCOMPLETE) ||
           (id >= VANTIX_FEATURE_RESOURCE_IDX && id <= VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD);
}

std::optional<wire::bytes> region_store::read(std::uint8_t id) const {
    const unsigned caption_length = model_.max_caption_length;
    switch (id) {
    case VANTIX_FEATURE_REGIONGET: return store_regions::legacy_list(id, current_.regions, caption_length);
    case VANTIX_FEATURE_REGIONGETDEFAULT:
        return store_regions::legacy_list(id, factory_.regions, caption_length);
    case VANTIX_FEATURE_REGION_IDX: return number_report(id, region_index_);
    case VANTIX_FEATURE_REGION:
        return encode_store_region(numbered(current_.regions, region_index_), caption_length);
    case VANTIX_FEATURE_RESOURCE_IDX: return number_report(id, resource_index_);
    case VANTIX_FEATURE_RESOURCE_INFO: return store_resources::info(selected_resource());
    case VANTIX_FEATURE_RESOURCE: return resource_transfer_.piece(selected_resource());
    case VANTIX_FEATURE_RESOURCE_AVAILABILITY:
        return store_resources::availability(current_.resources, model_.resource_space);
    case VANTIX_FEATURE_SCREEN_IDX: return number_report(id, screen_index_);
    case VANTIX_FEATURE_SCREEN: return store_screens::encode(numbered(current_.screens, screen_index_));
    case VANTIX_FEATURE_SCREEN_REGION_INFO: return screen_region_info();
    case VANTIX_FEATURE_ACTIVE_SCREEN: return number_report(id, active_screen_);
    default: return std::nullopt;
    }
}

void region_store::after_read(std::uint8_t id) {
    if (id == VANTIX_FEATURE_REGION)
        region_index_ = next(region_index_, current_.regions.size());
    else if (id == VANTIX_FEATURE_SCREEN)
        screen_index_ = next(screen_index_, current_.screens.size());
    else if (id == VANTIX_FEATURE_RESOURCE)
        resource_transfer_.advance(selected_resource());
}

outcome region_store::apply(const wire::bytes &report) {
    const std::uint8_t id = report.at(0), number = report.at(1);
    const unsigned caption_length = model_.max_caption_length;
    const auto regions = static_cast<unsigned>(current_.regions.size());
    const auto screens = static_cast<unsigned>(current_.screens.size());
    switch (id) {
    case VANTIX_FEATURE_REGIONSET: return store_regions::set_legacy(current_, report, caption_length);
    case VANTIX_FEATURE_REGIONUPDATE: return store_regions::update(current_, report);
    case VANTIX_FEATURE_REGIONDELETE:
    case VANTIX_FEATURE_DELETE_REGION: return store_regions::remove(current_, number);
    case VANTIX_FEATURE_REGIONEDITCOMPLETE: return end_edit(number, false);
    case VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD: return end_edit(number, true);
    case VANTIX_FEATURE_REGION_IDX:
        return select(region_index_, number, store_regions::check(number, regions));
    case VANTIX_FEATURE_REGION: return store_regions::write(current_, report, caption_length);
    case VANTIX_FEATURE_RESOURCE_IDX: {
        outcome refused = store_resources::check(number, static_cast<unsigned>(current_.resources.size()));
        if (!refused)
            resource_transfer_.restart_reading();
        return select(resource_index_, number, std::move(refused));
    }
    case VANTIX_FEATURE_RESOURCE: return resource_transfer_.write(current_, report, model_.resource_space);
    case VANTIX_FEATURE_DELETE_RESOURCE:
        resource_transfer_.drop_upload(number);
        return store_resources::remove(current_, number);
    case VANTIX_FEATURE_SCREEN_IDX:
        return select(screen_index_, number, store_screens::check(number, screens));
    case VANTIX_FEATURE_SCREEN: return store_screens::write(current_, report, model_);
    case VANTIX_FEATURE_DELETE_SCREEN: return store_screens::remove(current_, number);
    case VANTIX_FEATURE_MODIFY_SCREEN: return store_screens::edit(current_, report, model_);
    case VANTIX_FEATURE_ACTIVE_SCREEN:
        return select(active_screen_, number, store_screens::check(number, screens));
    default: return std::nullopt;
    }
}

outcome region_store::end_edit(std::uint8_t value, bool factory_allowed) {
    if (value == save)
        saved_ = current_;
    else if (value == discard)
        current_ = saved_;
    else if (value == factory_defaults && factory_allowed) {
        current_ = saved_ = factory_;
        active_screen_ = model_.screen_count > 0 ? 1 : 0;
    } else if (factory_allowed)
        return refuse(pad_error::bad_value, "Save/reload value %u is not 0, 1 or 90.\n", value);
    else
        return refuse(pad_error::bad_value, "Edit complete value %u is neither 0 nor 1.\n", value);
    resource_transfer_.drop_upload();
    return std::nullopt;
}

resource region_store::selected_resource() const { return numbered(current_.resources, resource_index_); }

std::uint8_t region_store::hit(unsigned x, unsigned y) const {
    return store_regions::hit(current_.regions, x, y);
}

wire::bytes region_store::record(std::uint8_t number) const {
    return encode_region(current_.regions.at(number - 1u), model_.max_caption_length);
}

wire::bytes region_store::screen_region_info() const {
    wire::bytes report =
        wire::blank(VANTIX_FEATURE_SCREEN_REGION_INFO, VANTIX_FEATURE_SCREEN_REGION_INFO_SIZE);
    const std::uint8_t fields[] = {
        model_.screen_count,   model_.region_count,       store_screens::regions_per_screen(model_),
        model_.resource_count, model_.max_caption_length, model_.text_region_length,
        model_.text_width,     model_.text_height};
    std::copy(std::begin(fields), std::end(fields), report.begin() + 1);
    return report;
}

}  // namespace padsim
