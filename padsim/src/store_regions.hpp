// SPDX-License-Identifier: Apache-2.0
// Region reports over the pad's one region set: the legacy list, set,
// update and delete, and the store's region record and delete. A change made
// through either form shows in both.
#pragma once

#include <cstdint>
#include <vector>

#include "padsim/region.hpp"
#include "refusal.hpp"
#include "store_contents.hpp"
#include "wire.hpp"

namespace padsim::store_regions {

outcome check(unsigned number, unsigned count);

// List report 110 or 111 (`id`) of `regions`.
wire::bytes legacy_list(std::uint8_t id, const std::vector<region> &regions, unsigned caption_length);
// Legacy set (112): replaces the region, store-only fields included, with
// the record; legacy records carry containers, buttons and lines only.
outcome set_legacy(store_contents &store, const wire::bytes &report, unsigned caption_length);
// Legacy update (113): visibility, foreground and the enable flag, which is
// the container's ink switch or the button's enable bit (a line has none).
outcome update(store_contents &store, const wire::bytes &report);
// Store record write (152): replaces the region with the record, which
// names its own number.
outcome write(store_contents &store, const wire::bytes &report, unsigned caption_length);
// Deletes (114, 153) leave the region unused and take it off every screen,
// so no screen names a region that is gone.
outcome remove(store_contents &store, std::uint8_t number);

// The region under display pixel (x, y), 0 for none: the smallest in-use
// region whose box holds the pixel (the lower number on a tie), so a button
// inside a container is found as the button.
std::uint8_t hit(const std::vector<region> &regions, unsigned x, unsigned y);

}  // namespace padsim::store_regions
