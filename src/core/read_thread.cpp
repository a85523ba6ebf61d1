// SPDX-License-Identifier: Apache-2.0
// vantix_device_read_until_done: a thread per pad that reads until the pad
// closes or a read fails.
#include "core/read_thread.hpp"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "core/device_flags.hpp"
#include "core/reader_wakers.hpp"
#include "debug/log.hpp"

namespace vantix {
namespace {

struct read_control {
    pthread_t thread{};
    // Set by close: end after the current read. Read without the registry's
    // lock after every report, so pads read at once never queue on it.
    std::atomic<bool> stop{false};
    bool joining = false;  // someone will join the thread
    bool finished = false;
};

// Every read thread not yet ended (or joined), by pad. The lock also guards
// the controls. A pad has at most one thread not asked to stop; a thread
// whose callback closed its pad and opened it again may still be ending
// beside the newer one.
struct registry {
    std::mutex lock;
    std::condition_variable ended;
    std::multimap<vantix_device *, std::shared_ptr<read_control>> threads;
};

registry &readers() {
    // Never destroyed: a read thread still running when the process exits
    // must not find its registry torn down under it.
    static registry &instance = *new registry;
    return instance;
}

struct thread_start {
    vantix_device *device;
    std::shared_ptr<read_control> control;
};

bool should_stop(const read_control &control) { return control.stop.load(std::memory_order_acquire); }

std::vector<std::shared_ptr<read_control>> controls_of(vantix_device *device) {
    std::vector<std::shared_ptr<read_control>> found;
    auto [first, last] = readers().threads.equal_range(device);
    for (auto entry = first; entry != last; ++entry)
        found.push_back(entry->second);
    return found;
}

// The pad's thread that has not been asked to stop, if any.
std::shared_ptr<read_control> running_of(vantix_device *device) {
    for (auto &control : controls_of(device))
        if (!control->stop)
            return control;
    return nullptr;
}

void erase(vantix_device *device, const std::shared_ptr<read_control> &control) {
    auto [first, last] = readers().threads.equal_range(device);
    for (auto entry = first; entry != last; ++entry)
        if (entry->second == control) {
            readers().threads.erase(entry);
            return;
        }
}

bool is_self(const read_control &control) { return pthread_equal(control.thread, pthread_self()) != 0; }

void *read_until_done_thread(void *start_ref) {
    std::unique_ptr<thread_start> start(static_cast<thread_start *>(start_ref));
    vantix_device *device = start->device;
    while (!should_stop(*start->control) && is_open(device) &&
           vantix_device_read(device) == VANTIX_CODE_SUCCESS) {
    }
    registry &r = readers();
    std::lock_guard lock(r.lock);
    start->control->finished = true;
    if (!start->control->joining) {
        // Nobody will join: the thread releases itself (it ended after a
        // failed read, or its pad was closed from one of its callbacks).
        pthread_detach(pthread_self());
        erase(device, start->control);
    }
    r.ended.notify_all();
    return nullptr;
}

// How long exit() waits for read threads: one read period of a driver that
// cannot be woken, and a little more.
constexpr std::chrono::milliseconds exit_patience{1500};

// At exit() with pads still being read, every read thread is asked to stop
// and given a moment to end before the state its driver reads is torn down.
// A thread that overstays (a callback that blocks) is left behind.
struct stop_at_exit {
    stop_at_exit() = default;
    stop_at_exit(const stop_at_exit &) = delete;
    stop_at_exit &operator=(const stop_at_exit &) = delete;
    ~stop_at_exit() {
        registry &r = readers();
        std::unique_lock lock(r.lock);
        for (auto &[device, control] : r.threads) {
            control->stop = true;
            wake_reader(device);
        }
        // exit() from an input callback: its own thread ends after this.
        const auto ended_or_self = [&r] {
            return std::all_of(r.threads.begin(), r.threads.end(), [](const auto &entry) {
                return entry.second->finished || is_self(*entry.second);
            });
        };
        r.ended.wait_for(lock, exit_patience, ended_or_self);
    }
};

}  // namespace

void stop_read_thread(vantix_device *device) {
    registry &r = readers();
    std::unique_lock lock(r.lock);
    // Claimed under the lock before any join, so none of them detaches
    // itself while this waits for another.
    std::vector<std::shared_ptr<read_control>> to_join, joined_elsewhere;
    for (const auto &control : controls_of(device)) {
        control->stop = true;
        if (is_self(*control))
            continue;  // closing from one of its callbacks: it ends after this read
        (control->joining ? joined_elsewhere : to_join).push_back(control);
        control->joining = true;
    }
    if (to_join.empty() && joined_elsewhere.empty())
        return;
    wake_reader(device);
    for (const auto &control : joined_elsewhere)  // another closer joins it; wait for its end
        r.ended.wait(lock, [&] { return control->finished; });
    for (const auto &control : to_join) {
        lock.unlock();
        pthread_join(control->thread, nullptr);
        lock.lock();
        erase(device, control);
    }
    if (!to_join.empty())
        device->parameters.readUntilDoneThread = pthread_t{};
}

bool newest_read_thread(vantix_device *device, pthread_t *thread) {
    std::lock_guard lock(readers().lock);
    const auto controls = controls_of(device);
    if (controls.empty())
        return false;
    *thread = controls.back()->thread;
    return true;
}

void wait_read_thread_gone(vantix_device *device) {
    registry &r = readers();
    std::unique_lock lock(r.lock);
    r.ended.wait(lock, [&] {
        const auto controls = controls_of(device);
        return std::all_of(controls.begin(), controls.end(),
                           [](const auto &control) { return control->finished || is_self(*control); });
    });
}

}  // namespace vantix

extern "C" {

void vantix_device_read_until_done(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!device)
        return;
    // Made with the first read thread, so it runs before the statics of the
    // pads' drivers, made earlier, are destroyed.
    static vantix::stop_at_exit stopper;
    vantix::registry &r = vantix::readers();
    std::lock_guard lock(r.lock);
    // One read thread per pad; one still ending after its callback closed
    // the pad does not count, so a callback may reopen its pad and read on.
    if (vantix::running_of(device))
        return;
    auto control = std::make_shared<vantix::read_control>();
    auto *start = new vantix::thread_start{device, control};
    if (pthread_create(&control->thread, nullptr, vantix::read_until_done_thread, start) != 0) {
        delete start;
        return;
    }
    r.threads.emplace(device, control);
    device->parameters.readUntilDoneThread = control->thread;
    VANTIX_LOG_INFO("Successfully created read thread: device: %p, thread: %p", static_cast<void *>(device),
                    reinterpret_cast<void *>(control->thread));
}

}  // extern "C"
