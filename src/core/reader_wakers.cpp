// SPDX-License-Identifier: Apache-2.0
// The drivers' reader wakers, by driver table.
#include "core/reader_wakers.hpp"

#include <mutex>
#include <utility>
#include <vector>

namespace vantix {
namespace {

struct waker_registry {
    std::mutex lock;
    std::vector<std::pair<const vantix_device_driver *, reader_waker>> wakers;
};

waker_registry &registry() {
    // Never destroyed: filled by static initialisers, read by read threads
    // still stopping at exit().
    static waker_registry &instance = *new waker_registry;
    return instance;
}

}  // namespace

bool set_reader_waker(const vantix_device_driver *driver, reader_waker wake) {
    waker_registry &r = registry();
    std::lock_guard lock(r.lock);
    for (auto &[table, waker] : r.wakers)
        if (table == driver) {
            waker = wake;
            return true;
        }
    r.wakers.emplace_back(driver, wake);
    return true;
}

void wake_reader(vantix_device *device) {
    reader_waker wake = nullptr;
    {
        waker_registry &r = registry();
        std::lock_guard lock(r.lock);
        for (const auto &[table, waker] : r.wakers)
            if (device && table == device->driver)
                wake = waker;
    }
    if (wake)
        wake(device);
}

}  // namespace vantix
