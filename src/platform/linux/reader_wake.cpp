// SPDX-License-Identifier: Apache-2.0
// The per-pad wake-up descriptors of the hidraw driver.
#include "platform/linux/reader_wake.hpp"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "core/reader_wakers.hpp"
#include "platform/linux/linux_driver.hpp"

namespace vantix::linux_driver {
namespace {

// The public device record has no room for the descriptor, so the driver
// keeps it here, by record.
struct wake_registry {
    std::mutex lock;
    std::unordered_map<const vantix_device *, int> fds;
};

wake_registry &registry() {
    // Never destroyed: read threads left running at exit() still look here.
    static wake_registry &instance = *new wake_registry;
    return instance;
}

}  // namespace

bool create_reader_wake(const vantix_device *device) {
    const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0)
        return false;
    wake_registry &r = registry();
    std::lock_guard lock(r.lock);
    auto [entry, added] = r.fds.try_emplace(device, fd);
    if (!added) {
        close(entry->second);
        entry->second = fd;
    }
    return true;
}

void release_reader_wake(const vantix_device *device) {
    wake_registry &r = registry();
    std::lock_guard lock(r.lock);
    if (auto found = r.fds.find(device); found != r.fds.end()) {
        close(found->second);
        r.fds.erase(found);
    }
}

int reader_wake_fd(const vantix_device *device) {
    wake_registry &r = registry();
    std::lock_guard lock(r.lock);
    auto found = r.fds.find(device);
    return found == r.fds.end() ? -1 : found->second;
}

void wake_reader(vantix_device *device) {
    wake_registry &r = registry();
    std::lock_guard lock(r.lock);
    if (auto found = r.fds.find(device); found != r.fds.end()) {
        // Never read back: once woken, every later wait of this pad ends too,
        // and one write cannot overflow the counter.
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(found->second, &one, sizeof one);
    }
}

namespace {

[[maybe_unused]] const bool waker_registered = set_reader_waker(&vantix_real_driver, wake_reader);

}  // namespace
}  // namespace vantix::linux_driver
