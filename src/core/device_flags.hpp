// SPDX-License-Identifier: Apache-2.0
// The record's `open` flag is read by a pad's read thread while another
// thread may close the pad; every access goes through these.
#pragma once

#include "vantix-zelnar.h"

namespace vantix {

inline bool is_open(const vantix_device *device) {
    return __atomic_load_n(&device->open, __ATOMIC_ACQUIRE) != 0;
}

inline void set_open(vantix_device *device, bool open) {
    __atomic_store_n(&device->open, static_cast<uint8_t>(open ? 1 : 0), __ATOMIC_RELEASE);
}

// Moves an open record to closed; false when it was not open. Exactly one of
// two racing closes wins.
inline bool mark_closed(vantix_device *device) {
    uint8_t expected = 1;
    return __atomic_compare_exchange_n(&device->open, &expected, static_cast<uint8_t>(0), false,
                                       __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE);
}

}  // namespace vantix
