// SPDX-License-Identifier: Apache-2.0
// Driver start and stop, and the hotplug thread: IOKit tells it that some
// USB device came or went, and listing the pads again tells which pads.
#include <IOKit/IOKitLib.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "core/failure.hpp"
#include "core/hotplug_callbacks.hpp"
#include "debug/log.hpp"
#include "platform/mac/cf_ref.hpp"
#include "platform/mac/mac_driver.hpp"

namespace vantix::mac {

std::atomic<int> hotplug_settle_ms{1000};

namespace {

// One run of the hotplug thread, shared with the driver so that a thread
// that had to be detached (a callback stopped the library) keeps its own.
class session {
public:
    bool running() {
        std::lock_guard lock(lock_);
        return running_;
    }
    // Publishes the thread's run loop so that stop can wake it; false when
    // the driver stopped before the thread got this far.
    bool publish(CFRunLoopRef loop) {
        std::lock_guard lock(lock_);
        if (running_)
            loop_ = cf_ref<CFRunLoopRef>::retain(loop);
        return running_;
    }
    void stop() {
        std::lock_guard lock(lock_);
        running_ = false;
        if (loop_)
            CFRunLoopStop(loop_.get());
        changed_.notify_all();
    }
    // Waits out the settle time; false when stopped meanwhile.
    bool settle() {
        std::unique_lock lock(lock_);
        changed_.wait_for(lock, std::chrono::milliseconds(hotplug_settle_ms.load()),
                          [this] { return !running_; });
        return running_;
    }
    // The notifications are armed (or could not be): from here on every
    // arrival is seen.
    void mark_watching() {
        std::lock_guard lock(lock_);
        watching_ = true;
        changed_.notify_all();
    }
    void wait_watching() {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return watching_ || finished_; });
    }
    void mark_finished() {
        std::lock_guard lock(lock_);
        finished_ = true;
        changed_.notify_all();
    }
    bool wait_finished(std::chrono::milliseconds limit) {
        std::unique_lock lock(lock_);
        return changed_.wait_for(lock, limit, [this] { return finished_; });
    }
    void wait_finished() {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return finished_; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool running_ = true;
    bool watching_ = false;
    bool finished_ = false;
    cf_ref<CFRunLoopRef> loop_;
};

struct hotplug_state {
    std::mutex control;  // serialises start and stop
    std::thread thread;
    std::shared_ptr<session> current;
};

hotplug_state &hotplug() {
    static hotplug_state state;
    return state;
}

struct io_object {
    io_object_t handle = IO_OBJECT_NULL;
    ~io_object() {
        if (handle != IO_OBJECT_NULL)
            IOObjectRelease(handle);
    }
};

struct port_destroyer {
    void operator()(IONotificationPortRef port) const { IONotificationPortDestroy(port); }
};
using notification_port = std::unique_ptr<IONotificationPort, port_destroyer>;

// Taking every object out of the iterator re-arms its notification.
void drain(io_iterator_t iterator) {
    while (io_object_t service = IOIteratorNext(iterator))
        IOObjectRelease(service);
}

std::vector<std::string> missing_from(const std::vector<std::string> &paths,
                                      const std::vector<std::string> &in) {
    std::vector<std::string> missing;
    for (const std::string &path : paths)
        if (std::find(in.begin(), in.end(), path) == in.end())
            missing.push_back(path);
    return missing;
}

void report(session &run, const std::vector<vantix_hotplug_callback> &callbacks, vantix_hotplug_type type,
            const std::vector<std::string> &paths) {
    for (const std::string &path : paths) {
        VANTIX_LOG_INFO("Detected hotplug event: path: %s, type: %s", path.c_str(),
                        type == VANTIX_HOTPLUG_ATTACHED ? "attached" : "detached");
        for (vantix_hotplug_callback callback : callbacks) {
            // A callback may have stopped the library: nothing is called after that.
            if (!run.running())
                return;
            callback(type, path.c_str());
        }
    }
}

// Some USB device came or went: the pads that appeared or vanished since
// the listing before are the events.
void notify(session &run) {
    if (vantix::hotplug_callbacks_snapshot().empty() || !run.settle())
        return;
    listing_paths paths;
    if (list_pads(&VANTIX_MAC_DRIVER_TABLE, nullptr, &paths) != VANTIX_CODE_SUCCESS)
        return;
    const std::vector<vantix_hotplug_callback> callbacks = vantix::hotplug_callbacks_snapshot();
    report(run, callbacks, VANTIX_HOTPLUG_ATTACHED, missing_from(paths.latest, paths.previous));
    report(run, callbacks, VANTIX_HOTPLUG_DETACHED, missing_from(paths.previous, paths.latest));
}

void on_usb_change(void *refcon, io_iterator_t iterator) {
    drain(iterator);
    notify(*static_cast<session *>(refcon));
}

void watch(session &run) {
    CFRunLoopRef here = CFRunLoopGetCurrent();
    if (!run.publish(here))
        return;
    notification_port port(IONotificationPortCreate(MACH_PORT_NULL));
    if (!port)
        return;
    CFRunLoopAddSource(here, IONotificationPortGetRunLoopSource(port.get()), kCFRunLoopDefaultMode);
    CFMutableDictionaryRef matching = IOServiceMatching("IOUSBDevice");
    if (!matching)
        return;
    CFRetain(matching);  // each registration consumes one reference
    io_object added, removed;
    const kern_return_t publish = IOServiceAddMatchingNotification(
        port.get(), kIOPublishNotification, matching, on_usb_change, &run, &added.handle);
    const kern_return_t terminate = IOServiceAddMatchingNotification(
        port.get(), kIOTerminatedNotification, matching, on_usb_change, &run, &removed.handle);
    if (publish != kIOReturnSuccess || terminate != kIOReturnSuccess)
        return;
    // Arming only: the devices present now are no event.
    drain(added.handle);
    drain(removed.handle);
    run.mark_watching();
    while (run.running())
        CFRunLoopRun();
}

void hotplug_thread(std::shared_ptr<session> run) {
    {
        VANTIX_TRACE_CALL();
        watch(*run);
    }
    run->mark_finished();
}

// Stop requests are repeated until the thread confirms its end, so a stop
// that reached the run loop just before it started running is not lost.
void stop_and_wait(session &run) {
    do
        run.stop();
    while (!run.wait_finished(std::chrono::milliseconds(100)));
}

}  // namespace

vantix_error_code driver_init() {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    if (state.thread.joinable())
        return VANTIX_CODE_SUCCESS;  // already started: keep the thread and its list
    {
        std::lock_guard callbacks(vantix::hotplug_callbacks_lock());
        if (!vantix_get_device_callbacks())
            vantix_set_device_callbacks(vantix_create_list());
    }
    auto run = std::make_shared<session>();
    try {
        state.thread = std::thread(hotplug_thread, run);
    } catch (const std::system_error &e) {
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", e.code().value(), e.what());
        return VANTIX_CODE_ERROR;
    }
    // A pad plugged in right after start is reported like any other.
    run->wait_watching();
    state.current = std::move(run);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code driver_destroy(vantix_device_driver *) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    if (state.current)
        state.current->stop();
    if (state.thread.joinable()) {
        // A hotplug callback that stops the library would wait for itself.
        if (state.thread.get_id() == std::this_thread::get_id()) {
            state.thread.detach();
        } else {
            stop_and_wait(*state.current);
            state.thread.join();
        }
    }
    state.current.reset();
    // Freed only now that no thread reads it.
    std::lock_guard callbacks(vantix::hotplug_callbacks_lock());
    vantix_list_free(vantix_get_device_callbacks());
    vantix_set_device_callbacks(nullptr);
    return VANTIX_CODE_SUCCESS;
}

uint8_t thread_running() {
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    return state.current && state.current->running() ? 1 : 0;
}

void thread_wait() {
    std::shared_ptr<session> run;
    {
        hotplug_state &state = hotplug();
        std::lock_guard lock(state.control);
        if (!state.thread.joinable() || state.thread.get_id() == std::this_thread::get_id())
            return;
        run = state.current;
    }
    if (run)
        run->wait_finished();
}

}  // namespace vantix::mac
