// SPDX-License-Identifier: Apache-2.0
// vantix_device_read_until_done: a thread per pad that reads until the pad
// closes or a read fails.
#include "core/read_thread.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

#include "core/device_flags.hpp"
#include "core/reader_wakers.hpp"
#include "debug/log.hpp"
#include "support/stoppable_thread.hpp"

namespace vantix {
namespace {

// How long exit() waits for read threads: one read period of a driver that
// cannot be woken, and a little more.
constexpr std::chrono::milliseconds exit_patience{1500};

using read_thread = support::stoppable_thread;

// Every read thread not yet ended, by pad; a thread removes itself when it
// ends. A pad has at most one thread not asked to stop; a thread whose
// callback closed its pad and opened it again may still be ending beside
// the newer one. The stop flag is the thread's own, read without this lock
// after every report, so pads read at once never queue on it.
struct registry {
    std::mutex lock;
    std::condition_variable ended;
    std::multimap<vantix_device *, std::shared_ptr<read_thread>> threads;
};

registry &readers() {
    // Never destroyed: a read thread still running when the process exits
    // must not find its registry torn down under it.
    static registry &instance = *new registry;
    return instance;
}

std::vector<std::shared_ptr<read_thread>> threads_of(vantix_device *device) {
    std::vector<std::shared_ptr<read_thread>> found;
    auto [first, last] = readers().threads.equal_range(device);
    for (auto entry = first; entry != last; ++entry)
        found.push_back(entry->second);
    return found;
}

bool running(vantix_device *device) {
    const auto threads = threads_of(device);
    return std::any_of(threads.begin(), threads.end(),
                       [](const auto &thread) { return !thread->stop_requested(); });
}

void erase(vantix_device *device, const read_thread *thread) {
    auto [first, last] = readers().threads.equal_range(device);
    for (auto entry = first; entry != last; ++entry)
        if (entry->second.get() == thread) {
            readers().threads.erase(entry);
            return;
        }
}

void read_until_done(const support::stop_signal &stop, vantix_device *device, const read_thread *self) {
    while (!stop.stop_requested() && is_open(device) && vantix_device_read(device) == VANTIX_CODE_SUCCESS) {
    }
    registry &r = readers();
    std::lock_guard lock(r.lock);
    // When nobody joins it (it ended after a failed read, or its pad was
    // closed from one of its callbacks) the registry held the last share of
    // its handle, which then lets the thread go.
    erase(device, self);
    r.ended.notify_all();
}

// At exit() with pads still being read, every read thread is asked to stop
// and given a moment to end before the state its driver reads is torn down.
// A thread that overstays (a callback that blocks) is left behind; exit()
// from an input callback leaves its own thread to end after it.
struct stop_at_exit {
    stop_at_exit() = default;
    stop_at_exit(const stop_at_exit &) = delete;
    stop_at_exit &operator=(const stop_at_exit &) = delete;
    ~stop_at_exit() {
        std::vector<std::shared_ptr<read_thread>> all;
        {
            registry &r = readers();
            std::lock_guard lock(r.lock);
            for (auto &[device, thread] : r.threads) {
                thread->request_stop();
                all.push_back(thread);
            }
        }
        const auto deadline = std::chrono::steady_clock::now() + exit_patience;
        for (const auto &thread : all)
            thread->join_until(deadline);
    }
};

}  // namespace

void stop_read_thread(vantix_device *device) {
    std::vector<std::shared_ptr<read_thread>> others;
    {
        std::lock_guard lock(readers().lock);
        for (const auto &thread : threads_of(device)) {
            thread->request_stop();  // and wakes the pad's reader
            if (!thread->is_current())
                others.push_back(thread);
            // else closing from one of its callbacks: it ends after this read
        }
    }
    // Joined without the registry's lock, which an ending thread takes.
    for (const auto &thread : others)
        thread->join();
    if (!others.empty())
        device->parameters.readUntilDoneThread = pthread_t{};
}

bool newest_read_thread(vantix_device *device, pthread_t *thread) {
    std::lock_guard lock(readers().lock);
    const auto threads = threads_of(device);
    if (threads.empty())
        return false;
    *thread = threads.back()->native_handle();
    return true;
}

void wait_read_thread_gone(vantix_device *device) {
    registry &r = readers();
    std::unique_lock lock(r.lock);
    r.ended.wait(lock, [&] {
        const auto threads = threads_of(device);
        return std::all_of(threads.begin(), threads.end(),
                           [](const auto &thread) { return thread->is_current(); });
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
    if (vantix::running(device))
        return;
    auto thread = std::make_shared<vantix::read_thread>(vantix::exit_patience);
    try {
        // The thread removes itself under the registry's lock, which this
        // holds until the thread is in the registry.
        thread->start(
            [device, self = thread.get()](const vantix::support::stop_signal &stop) {
                vantix::read_until_done(stop, device, self);
            },
            [device] { vantix::wake_reader(device); });
    } catch (const std::system_error &) {
        return;
    }
    r.threads.emplace(device, thread);
    device->parameters.readUntilDoneThread = thread->native_handle();
    VANTIX_LOG_INFO("Successfully created read thread: device: %p, thread: %p", static_cast<void *>(device),
                    reinterpret_cast<void *>(device->parameters.readUntilDoneThread));
}

}  // extern "C"
