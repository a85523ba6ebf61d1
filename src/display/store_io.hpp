// SPDX-License-Identifier: Apache-2.0
// What the store's families (screens, resources, regions) share: the
// interlocks they wait for, the number reports (indices, the active
// screen) that travel alone in two-byte reports, and runs of one-byte wire
// fields.
#pragma once

#include <initializer_list>

#include "protocol/report_io.hpp"

namespace vantix::display::store {

using protocol::call_site;
using protocol::interlock_wait;

inline constexpr interlock_wait no_wait{};
inline constexpr interlock_wait region_wait{100, INTERLOCK_REGION};
inline constexpr interlock_wait screen_wait{100, INTERLOCK_SCREEN};
inline constexpr interlock_wait region_and_screen_wait{100, INTERLOCK_REGION | INTERLOCK_SCREEN};

// Reads the device's cached legacy region list anew after the pad's
// regions changed under it; a device without a cache keeps none. Pointers
// into the old list (button events already delivered) do not survive this.
void refresh_region_cache(vantix_device *device);

// A number report: byte 1 of the reply, or -1 on failure.
int read_number(vantix_device *device, uint8_t id, interlock_wait wait, call_site site);
vantix_error_code write_number(vantix_device *device, uint8_t id, uint8_t value, interlock_wait wait,
                               call_site site);

}  // namespace vantix::display::store

namespace vantix::display {

// Runs of one-byte wire fields that records keep in separate members.
template <typename Field>
void get_each(support::report_view r, size_t at, std::initializer_list<Field *> fields) {
    for (Field *field : fields)
        *field = r.get1(at++);
}
template <typename Field>
void put_each(support::report_view r, size_t at, std::initializer_list<const Field *> fields) {
    for (const Field *field : fields)
        r.put1(at++, static_cast<uint8_t>(*field));
}

}  // namespace vantix::display
