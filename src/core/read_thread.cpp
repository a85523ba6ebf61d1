// vantix_device_read_until_done / vantix_device_read_done: a thread per pad
// that reads until the pad closes or a read fails.
#include "core/read_thread.hpp"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

#include "core/device_flags.hpp"
#include "core/platform_hooks.hpp"
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

// Every running read thread, by pad. The lock also guards the controls.
struct registry {
    std::mutex lock;
    std::condition_variable ended;
    std::map<vantix_device *, std::shared_ptr<read_control>> threads;
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

void *read_until_done_thread(void *start_ref) {
    std::unique_ptr<thread_start> start(static_cast<thread_start *>(start_ref));
    vantix_device *device = start->device;
    while (!should_stop(*start->control) && is_open(device) &&
           vantix_device_read(device) == VANTIX_CODE_SUCCESS) {
    }
    registry &r = readers();
    std::lock_guard lock(r.lock);
    start->control->finished = true;
    auto found = r.threads.find(device);
    if (!start->control->joining) {
        // Nobody will join: the thread releases itself (it ended after a
        // failed read, or its pad was closed from one of its callbacks).
        pthread_detach(pthread_self());
        if (found != r.threads.end() && found->second == start->control)
            r.threads.erase(found);
    }
    r.ended.notify_all();
    return nullptr;
}

std::shared_ptr<read_control> control_of(vantix_device *device) {
    auto found = readers().threads.find(device);
    return found == readers().threads.end() ? nullptr : found->second;
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
                return entry.second->finished || pthread_equal(entry.second->thread, pthread_self());
            });
        };
        r.ended.wait_for(lock, exit_patience, ended_or_self);
    }
};

}  // namespace

void stop_read_thread(vantix_device *device) {
    registry &r = readers();
    std::unique_lock lock(r.lock);
    std::shared_ptr<read_control> control = control_of(device);
    if (!control)
        return;
    control->stop = true;
    if (pthread_equal(control->thread, pthread_self()))
        return;  // closing from one of its callbacks: it ends after this read
    wake_reader(device);
    if (control->joining) {
        // Another closer is already joining; wait for the thread to end.
        r.ended.wait(lock, [&] { return control->finished; });
        return;
    }
    control->joining = true;
    lock.unlock();
    pthread_join(control->thread, nullptr);
    lock.lock();
    r.threads.erase(device);
    device->parameters.readUntilDoneThread = pthread_t{};
}

void wait_read_thread_gone(vantix_device *device) {
    registry &r = readers();
    std::unique_lock lock(r.lock);
    std::shared_ptr<read_control> control = control_of(device);
    if (!control || pthread_equal(control->thread, pthread_self()))
        return;
    r.ended.wait(lock, [&] { return control->finished; });
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
    if (vantix::control_of(device))
        return;  // one read thread per pad
    auto control = std::make_shared<vantix::read_control>();
    auto *start = new vantix::thread_start{device, control};
    if (pthread_create(&control->thread, nullptr, vantix::read_until_done_thread, start) != 0) {
        delete start;
        return;
    }
    r.threads[device] = control;
    device->parameters.readUntilDoneThread = control->thread;
    VANTIX_LOG_INFO("Successfully created read thread: device: %p, thread: %p", static_cast<void *>(device),
                    reinterpret_cast<void *>(control->thread));
}

void vantix_device_read_done(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!device)
        return;
    std::shared_ptr<vantix::read_control> control;
    {
        std::lock_guard lock(vantix::readers().lock);
        control = vantix::control_of(device);
    }
    if (!control)
        return;
    vantix_close_device(device);  // stops and joins the thread first
    VANTIX_LOG_INFO("Waiting for reading thread to close: device: %p, thread: %p",
                    static_cast<void *>(device), reinterpret_cast<void *>(control->thread));
    vantix::wait_read_thread_gone(device);
    device->parameters.readUntilDoneThread = pthread_t{};
}

}  // extern "C"
