// SPDX-License-Identifier: Apache-2.0
// Driver start and stop, and the hotplug thread: IOKit tells it that some
// USB device came or went, and listing the pads again tells which pads.
#include <IOKit/IOKitLib.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <chrono>
#include <mutex>
#include <system_error>

#include "core/failure.hpp"
#include "core/hotplug_callbacks.hpp"
#include "debug/log.hpp"
#include "platform/mac/cf_ref.hpp"
#include "platform/mac/mac_driver.hpp"
#include "support/stoppable_thread.hpp"

namespace vantix::mac {

std::atomic<int> hotplug_settle_ms{1000};

namespace {

// What the hotplug thread shares with its wake-up: the run loop a stop
// must end. A thread that had to be let go (a callback stopped the library)
// keeps its own.
class session {
public:
    // Publishes the thread's run loop so that a stop can wake it; false when
    // the driver stopped before the thread got this far.
    bool publish(const support::stop_signal &stop, CFRunLoopRef loop) {
        std::lock_guard lock(lock_);
        if (!stop.stop_requested())
            loop_ = cf_ref<CFRunLoopRef>::retain(loop);
        return !stop.stop_requested();
    }
    // The wake-up: ends the run loop's run, if it has one yet.
    void wake() {
        std::lock_guard lock(lock_);
        if (loop_)
            CFRunLoopStop(loop_.get());
    }
    // The notifications are armed (or never will be): from here on every
    // arrival is seen.
    void mark_watching() {
        std::lock_guard lock(lock_);
        watching_ = true;
        changed_.notify_all();
    }
    void wait_watching() {
        std::unique_lock lock(lock_);
        changed_.wait(lock, [this] { return watching_; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool watching_ = false;
    cf_ref<CFRunLoopRef> loop_;
};

// A stop that reached the run loop just before it started running is lost;
// it is repeated at this period until the thread confirms its end.
constexpr std::chrono::milliseconds rewake_period{100};

// How long a process that exits without vantix_destroy waits for the thread
// before leaving it behind: a callback blocked on the exiting thread must
// not hang the exit. Two repeats of the stop fit in it.
constexpr std::chrono::milliseconds exit_patience{200};

struct hotplug_state {
    std::mutex control;  // serialises start and stop
    support::stoppable_thread thread{exit_patience};
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

void report(const support::stop_signal &stop, const std::vector<vantix_hotplug_callback> &callbacks,
            vantix_hotplug_type type, const std::vector<std::string> &paths) {
    for (const std::string &path : paths) {
        VANTIX_LOG_INFO("Detected hotplug event: path: %s, type: %s", path.c_str(),
                        type == VANTIX_HOTPLUG_ATTACHED ? "attached" : "detached");
        for (vantix_hotplug_callback callback : callbacks) {
            // A callback may have stopped the library: nothing is called after that.
            if (stop.stop_requested())
                return;
            callback(type, path.c_str());
        }
    }
}

// Some USB device came or went: the pads that appeared or vanished since
// the listing before are the events.
void notify(const support::stop_signal &stop) {
    // The settle time: the HID layer learns of the pad after USB does.
    if (vantix::hotplug_callbacks_snapshot().empty() ||
        stop.wait_for(std::chrono::milliseconds(hotplug_settle_ms.load())))
        return;
    listing_paths paths;
    if (list_pads(&VANTIX_MAC_DRIVER_TABLE, nullptr, &paths) != VANTIX_CODE_SUCCESS)
        return;
    const std::vector<vantix_hotplug_callback> callbacks = vantix::hotplug_callbacks_snapshot();
    report(stop, callbacks, VANTIX_HOTPLUG_ATTACHED, missing_from(paths.latest, paths.previous));
    report(stop, callbacks, VANTIX_HOTPLUG_DETACHED, missing_from(paths.previous, paths.latest));
}

void on_usb_change(void *refcon, io_iterator_t iterator) {
    drain(iterator);
    notify(*static_cast<const support::stop_signal *>(refcon));
}

void watch(const support::stop_signal &stop, session &run) {
    CFRunLoopRef here = CFRunLoopGetCurrent();
    if (!run.publish(stop, here))
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
    const kern_return_t publish =
        IOServiceAddMatchingNotification(port.get(), kIOPublishNotification, matching, on_usb_change,
                                         const_cast<support::stop_signal *>(&stop), &added.handle);
    const kern_return_t terminate =
        IOServiceAddMatchingNotification(port.get(), kIOTerminatedNotification, matching, on_usb_change,
                                         const_cast<support::stop_signal *>(&stop), &removed.handle);
    if (publish != kIOReturnSuccess || terminate != kIOReturnSuccess)
        return;
    // Arming only: the devices present now are no event.
    drain(added.handle);
    drain(removed.handle);
    run.mark_watching();
    while (!stop.stop_requested())
        CFRunLoopRun();
}

void hotplug_thread(const support::stop_signal &stop, session &run) {
    {
        VANTIX_TRACE_CALL();
        watch(stop, run);
    }
    run.mark_watching();  // or never will be: the start waits no longer
}

}  // namespace

vantix_error_code driver_init() {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    if (state.thread.started())
        return VANTIX_CODE_SUCCESS;  // already started: keep the thread and its list
    vantix::ensure_hotplug_callbacks();
    auto run = std::make_shared<session>();
    try {
        state.thread.start([run](const support::stop_signal &stop) { hotplug_thread(stop, *run); },
                           [run] { run->wake(); }, rewake_period);
    } catch (const std::system_error &e) {
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", e.code().value(), e.what());
        return VANTIX_CODE_ERROR;
    }
    // A pad plugged in right after start is reported like any other.
    run->wait_watching();
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code driver_destroy(vantix_device_driver *) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    // Joined; let go when a hotplug callback stops the library from the
    // thread itself.
    state.thread.stop();
    vantix::release_hotplug_callbacks();
    return VANTIX_CODE_SUCCESS;
}

uint8_t thread_running() {
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    return state.thread.started() && !state.thread.stop_requested() ? 1 : 0;
}

void thread_wait() { hotplug().thread.wait_finished(); }

}  // namespace vantix::mac
