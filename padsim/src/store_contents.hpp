// SPDX-License-Identifier: Apache-2.0
// Everything the pad's store holds, as one value: the pad keeps the
// contents being edited, the last saved ones and the factory ones.
#pragma once

#include <cstdint>
#include <vector>

#include "padsim/region.hpp"
#include "padsim/store.hpp"

namespace padsim {

struct store_contents {
    std::vector<region> regions;        // region n at n - 1
    std::vector<store_screen> screens;  // screen n at n - 1
    std::vector<resource> resources;    // resource n at n - 1
    bool operator==(const store_contents &) const = default;
};

// Item `number` of a store list as nobody defined it: zero but for its
// number (an empty resource slot has the invalid type).
template <typename T>
T blank(std::uint8_t number) {
    T item;
    item.number = number;
    return item;
}

}  // namespace padsim
