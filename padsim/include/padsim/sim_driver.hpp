// SPDX-License-Identifier: Apache-2.0
// The in-process driver table "SIM": the library lists, opens and talks to
// virtual pads through it as it would to real ones through hidraw.
#pragma once

#include <cstddef>
#include <memory>

#include "padsim/pad.hpp"
#include "vantix-zelnar.h"

namespace padsim {

// The "SIM" table (one per process).
vantix_device_driver *sim_driver();

// Adds the table to the started library and starts it; adds a default pad
// when there is none. Call after vantix_init.
void register_sim_driver();

// Adds a pad; it is listed as "sim:<index>".
std::size_t add_pad(const model &m = model{});
std::size_t add_pad(std::shared_ptr<pad> made);
std::size_t pad_count();
// The pad at `index`; throws std::out_of_range.
pad &pad_at(std::size_t index);
std::shared_ptr<pad> pad_ptr(std::size_t index);
// The pad a device record routes to, or null.
std::shared_ptr<pad> pad_for(const vantix_device *device);
// Removes every pad; records listed before no longer reach a pad.
void reset();

}  // namespace padsim
