// SPDX-License-Identifier: Apache-2.0
// Matching notifications for USB devices: iterators that hand out the
// services that arrived or left, and a notification port whose run-loop
// source calls the handler of an armed iterator.
#include <IOKit/IOKitLib.h>

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>

#include "cf_types.hpp"
#include "hid_device.hpp"
#include "standin.hpp"

struct IONotificationPort {
    IONotificationPort();
    ~IONotificationPort();
    standin::object anchor{standin::kind::run_loop_source};  // owner of the source
    standin::run_loop_source *source;
};

namespace standin {
namespace {

enum class io_kind { iterator, service };

struct io_entry {
    explicit io_entry(io_kind k) : type(k) {}
    io_kind type;
    long refs = 1;
    // Iterators only.
    IONotificationPort *port = nullptr;
    bool terminate = false;
    std::deque<unsigned int> arrived;
    bool armed = false;  // emptied since its last notification
    bool due = false;    // a notification waits for the port's run loop
    IOServiceMatchingCallback callback = nullptr;
    void *refcon = nullptr;
};

struct notification_state {
    std::mutex lock;
    std::map<io_object_t, io_entry> objects;
    io_object_t next_handle = 0x1000;
    std::vector<IONotificationPort *> ports;
};

notification_state &state() {
    static auto *instance = new notification_state;
    return *instance;
}

io_object_t new_object(io_entry entry) {
    const io_object_t handle = state().next_handle++;
    state().objects.emplace(handle, std::move(entry));
    return handle;
}

void deliver(IONotificationPort *port) {
    struct call {
        io_object_t iterator;
        IOServiceMatchingCallback callback;
        void *refcon;
    };
    std::vector<call> due;
    {
        std::lock_guard lock(state().lock);
        for (auto &[handle, entry] : state().objects)
            if (entry.type == io_kind::iterator && entry.port == port && entry.due) {
                entry.due = false;
                due.push_back({handle, entry.callback, entry.refcon});
            }
    }
    // Called without the lock: handlers drain their iterators.
    for (const call &c : due)
        c.callback(c.refcon, c.iterator);
}

void usb_event(unsigned int id, bool terminate) {
    std::vector<run_loop_source *> to_signal;
    {
        std::lock_guard lock(state().lock);
        for (auto &[handle, entry] : state().objects) {
            if (entry.type != io_kind::iterator || entry.terminate != terminate || !entry.port)
                continue;
            entry.arrived.push_back(id);
            if (entry.armed) {
                entry.armed = false;
                entry.due = true;
                to_signal.push_back(entry.port->source);
            }
        }
    }
    for (run_loop_source *source : to_signal)
        signal(source);
}

std::atomic<long> ports_alive{0};

}  // namespace

void usb_published(unsigned int id) { usb_event(id, false); }
void usb_terminated(unsigned int id) { usb_event(id, true); }

long live_io_objects() {
    std::lock_guard lock(state().lock);
    return static_cast<long>(state().objects.size());
}

long live_ports() { return ports_alive.load(); }

}  // namespace standin

IONotificationPort::IONotificationPort()
    : source(standin::track(new standin::run_loop_source(&anchor, [this] { standin::deliver(this); }))) {
    standin::own(&anchor, standin::immortal);
    standin::own(source, 1);
    ++standin::ports_alive;
}

IONotificationPort::~IONotificationPort() {
    {
        std::lock_guard lock(standin::state().lock);
        for (auto &[handle, entry] : standin::state().objects)
            if (entry.port == this)
                entry.port = nullptr;
    }
    standin::unhold(source);
    --standin::ports_alive;
}

extern "C" {

IONotificationPortRef IONotificationPortCreate(mach_port_t) { return new IONotificationPort; }

void IONotificationPortDestroy(IONotificationPortRef port) {
    if (port)
        standin::detach_everywhere(port->source);
    delete port;
}

CFRunLoopSourceRef IONotificationPortGetRunLoopSource(IONotificationPortRef port) {
    return port ? reinterpret_cast<CFRunLoopSourceRef>(port->source) : nullptr;
}

CFMutableDictionaryRef IOServiceMatching(const char *name) {
    if (!name)
        return nullptr;
    CFMutableDictionaryRef matching = CFDictionaryCreateMutable(kCFAllocatorDefault, 1, nullptr, nullptr);
    CFStringRef value = CFStringCreateWithCString(kCFAllocatorDefault, name, kCFStringEncodingASCII);
    CFDictionarySetValue(matching, CFSTR("IOProviderClass"), value);
    CFRelease(value);
    return matching;
}

kern_return_t IOServiceAddMatchingNotification(IONotificationPortRef port, const char *type,
                                               CFDictionaryRef matching, IOServiceMatchingCallback callback,
                                               void *refcon, io_iterator_t *iterator) {
    const std::string provider = matching ? standin::text_of(static_cast<CFStringRef>(
                                                CFDictionaryGetValue(matching, CFSTR("IOProviderClass"))))
                                          : std::string();
    if (matching)
        CFRelease(matching);  // consumed, whatever the outcome
    const std::string kind = type ? type : "";
    if (!port || !callback || !iterator || provider != "IOUSBDevice" ||
        (kind != kIOPublishNotification && kind != kIOTerminatedNotification))
        return kIOReturnBadArgument;
    standin::io_entry entry(standin::io_kind::iterator);
    entry.port = port;
    entry.terminate = kind == kIOTerminatedNotification;
    entry.callback = callback;
    entry.refcon = refcon;
    if (!entry.terminate)
        for (standin::hid_device *d : standin::attached_devices()) {
            entry.arrived.push_back(d->id);
            standin::unhold(d);
        }
    std::lock_guard lock(standin::state().lock);
    *iterator = standin::new_object(std::move(entry));
    return kIOReturnSuccess;
}

io_object_t IOIteratorNext(io_iterator_t iterator) {
    std::lock_guard lock(standin::state().lock);
    auto found = standin::state().objects.find(iterator);
    if (found == standin::state().objects.end() || found->second.type != standin::io_kind::iterator)
        return IO_OBJECT_NULL;
    standin::io_entry &entry = found->second;
    if (entry.arrived.empty()) {
        entry.armed = true;
        return IO_OBJECT_NULL;
    }
    entry.arrived.pop_front();
    return standin::new_object(standin::io_entry(standin::io_kind::service));
}

kern_return_t IOObjectRelease(io_object_t object) {
    std::lock_guard lock(standin::state().lock);
    auto found = standin::state().objects.find(object);
    if (found == standin::state().objects.end())
        return kIOReturnBadArgument;
    if (--found->second.refs == 0)
        standin::state().objects.erase(found);
    return kIOReturnSuccess;
}

}  // extern "C"
