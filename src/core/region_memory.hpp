// SPDX-License-Identifier: Apache-2.0
// A record's legacy region array is one heap block (the display layer
// allocates it with calloc). Freeing it is memory handling only, so the core
// frees the array of a record it releases without calling up to display.
#pragma once

#include <cstdlib>

#include "vantix-zelnar.h"

namespace vantix::core {

inline void free_regions(vantix_device_region_info *regions) noexcept { std::free(regions); }

}  // namespace vantix::core
