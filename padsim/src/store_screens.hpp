// SPDX-License-Identifier: Apache-2.0
// Screens of the pad's store: the screen report, delete and edit, and the
// screens a pad leaves the factory with.
#pragma once

#include <cstdint>
#include <vector>

#include "padsim/model.hpp"
#include "padsim/store.hpp"
#include "refusal.hpp"
#include "store_contents.hpp"
#include "wire.hpp"

namespace padsim::store_screens {

// The most regions a screen of this model lists.
std::uint8_t regions_per_screen(const model &m);
outcome check(unsigned number, unsigned count);

// Screen report 162: the regions beyond the first 30 do not fit and the
// pad never holds more.
wire::bytes encode(const store_screen &s);
// Every write is checked whole before anything changes, so a refused one
// leaves the screen as it was. A screen lists at most the model's
// regions_per_screen (and never more than 30) regions of the region set;
// next screens are 0 (stay) or a screen of the store.
outcome write(store_contents &store, const wire::bytes &report, const model &m);
outcome remove(store_contents &store, std::uint8_t number);
// Edit screen 164: add a region (or change the next screen of one already
// listed), or take one off, and/or set the timeout. Adding and taking off at
// once is refused, as is taking off a region the screen does not list.
outcome edit(store_contents &store, const wire::bytes &report, const model &m);

// Screen 1 shows the factory regions 1 to 3, "OK" leading to screen 2;
// screen 2 asks again with "OK" and "Cancel", "Cancel" and a 30-unit timeout
// returning to screen 1. Screens and regions the model lacks are left out.
std::vector<store_screen> standard(const model &m);

}  // namespace padsim::store_screens
