// SPDX-License-Identifier: Apache-2.0
// The pad's region, screen and resource store: one region set that the
// legacy list reports (110 to 115) and the store's reports (140 to 172) both
// read and edit, the screens and resources, the read positions and the
// active screen.
//
// Edits change the contents at once, as firmware does: reads and
// hit-testing see them before they are saved. They stay pending until
// save/reload (172) saves them, discards them (back to the last saved
// contents) or restores the factory contents, which it saves as well. The
// legacy edit-complete (115) saves or discards the same pending contents,
// not the regions alone: a region delete also edits screens, and ending only
// half of it would leave screens naming regions in a state never written.
//
// The index reports (150, 160, 140) select what the next read returns.
// Regions and screens move on by one after each read of their record,
// wrapping from the last to the first; resources are read piece by piece
// (see store_resources.hpp). Switching the active screen is no edit: it
// applies at once and survives a discard; a factory restore shows screen 1.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "padsim/model.hpp"
#include "padsim/region.hpp"
#include "padsim/store.hpp"
#include "refusal.hpp"
#include "store_contents.hpp"
#include "store_resources.hpp"
#include "wire.hpp"

namespace padsim {

class region_store {
public:
    explicit region_store(const model &m);

    // Whether report `id` is one of the store's.
    static bool handles(std::uint8_t id);
    // What a get of `id` returns now; nothing for reports not the store's.
    std::optional<wire::bytes> read(std::uint8_t id) const;
    // Moves the read position on once a get of `id` went out.
    void after_read(std::uint8_t id);
    // A set of one of the store's reports.
    outcome apply(const wire::bytes &report);

    // The region under display pixel (x, y), 0 for none (see store_regions.hpp).
    std::uint8_t hit(unsigned x, unsigned y) const;

    std::vector<region> current() const { return current_.regions; }
    std::vector<region> factory() const { return factory_.regions; }
    // The legacy record of region `number` (1-based) as the list shows it.
    wire::bytes record(std::uint8_t number) const;
    const std::vector<store_screen> &screens() const { return current_.screens; }
    const std::vector<resource> &resources() const { return current_.resources; }
    std::uint8_t active_screen() const { return active_screen_; }
    bool pending() const { return current_ != saved_; }

private:
    outcome end_edit(std::uint8_t value, bool factory_allowed);
    wire::bytes screen_region_info() const;
    resource selected_resource() const;

    const model model_;
    store_contents current_, saved_, factory_;
    std::uint8_t region_index_ = 1, screen_index_ = 1, resource_index_ = 1;
    std::uint8_t active_screen_;
    store_resources::transfer resource_transfer_;
};

}  // namespace padsim
