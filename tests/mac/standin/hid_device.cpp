// SPDX-License-Identifier: Apache-2.0
// HID devices over virtual pads, the test controls that attach and unplug
// them, and the IOKit HID device calls.
#include "hid_device.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "standin.hpp"

namespace standin {
namespace {

struct registry {
    std::mutex lock;
    std::vector<hid_device *> devices;
    unsigned int next_id = 1;
};

registry &devices() {
    static auto *instance = new registry;
    return *instance;
}

hid_device *device_of(const void *ref) {
    object *o = find(ref);
    return o && o->type == kind::hid_device ? static_cast<hid_device *>(o) : nullptr;
}

hid_device *attached(device_id id) {
    std::lock_guard lock(devices().lock);
    for (hid_device *d : devices().devices)
        if (d->id == id)
            return d;
    return nullptr;
}

CFTypeRef make_value(const property &value) {
    if (auto *number = std::get_if<int32_t>(&value))
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, number);
    if (auto *text = std::get_if<std::string>(&value))
        return CFStringCreateWithCString(kCFAllocatorDefault, text->c_str(), kCFStringEncodingUTF8);
    if (auto *bytes = std::get_if<std::vector<uint8_t>>(&value))
        return CFDataCreate(kCFAllocatorDefault, bytes->data(), static_cast<CFIndex>(bytes->size()));
    return nullptr;
}

// The device's properties are the stand-in's own references.
void put_property(hid_device &d, const std::string &key, const property &value) {
    CFTypeRef made = make_value(value);
    if (made)
        own(find(made), 1);
    std::lock_guard lock(d.lock);
    auto found = d.properties.find(key);
    if (found != d.properties.end()) {
        unhold(find(found->second));
        d.properties.erase(found);
    }
    if (made)
        d.properties[key] = made;
}

constexpr std::chrono::milliseconds pump_wait{20};

}  // namespace

// A feature report reaches the pad only on an attached, open device.
template <typename Transfer>
IOReturn feature_transfer(IOHIDDeviceRef ref, IOHIDReportType type, CFIndex id, const uint8_t *report,
                          CFIndex length, Transfer transfer) {
    hid_device *d = device_of(ref);
    if (!d || !report || length <= 0 || type != kIOHIDReportTypeFeature || id != report[0])
        return kIOReturnBadArgument;
    {
        std::lock_guard lock(d->lock);
        if (d->removed)
            return kIOReturnNotAttached;
        if (d->open_count == 0)
            return kIOReturnNotOpen;
        if (d->report_result != kIOReturnSuccess)
            return d->report_result;
    }
    return transfer(*d->pad).ok ? kIOReturnSuccess : kIOReturnError;
}

hid_device::hid_device(unsigned int id, std::shared_ptr<padsim::pad> p)
    : object(kind::hid_device),
      id(id),
      pad(std::move(p)),
      source(track(new run_loop_source(this, [this] { deliver(); }))) {
    own(source, 1);
}

hid_device::~hid_device() {
    take_pump().end();
    unhold(source);
    for (auto &[key, value] : properties)
        unhold(find(value));
}

// Everything pending goes out in one perform, as IOKit empties the device's
// report queue when its source fires.
void hid_device::deliver() {
    std::unique_lock held(lock);
    while (!pending.empty()) {
        std::vector<uint8_t> report = std::move(pending.front());
        pending.pop_front();
        IOHIDReportCallback callback = input_callback;
        void *context = input_context;
        uint8_t *buffer = input_buffer;
        const CFIndex size = std::min<CFIndex>(input_buffer_size, static_cast<CFIndex>(report.size()));
        if (!callback || !buffer)
            continue;  // nobody registered: the report is lost, as with IOKit
        held.unlock();
        std::memcpy(buffer, report.data(), static_cast<size_t>(size));
        callback(context, kIOReturnSuccess, this, kIOHIDReportTypeInput, report.empty() ? 0 : report[0],
                 buffer, size);
        held.lock();
    }
    if (removal_pending) {
        removal_pending = false;
        IOHIDCallback callback = removal_callback;
        void *context = removal_context;
        held.unlock();
        if (callback)
            callback(context, kIOReturnSuccess, this);
    }
}

void hid_device::start_pump() {
    auto stop = std::make_shared<std::atomic<bool>>(false);
    pump_.stop = stop;
    pump_.thread = std::thread([this, stop] {
        while (!stop->load() && !pad->unplugged()) {
            auto report = pad->next_input(pump_wait);
            if (!report)
                continue;
            // Everything the pad holds moves at once, so reports queued
            // together are delivered together.
            std::vector<std::vector<uint8_t>> batch;
            for (; report; report = pad->next_input(std::chrono::milliseconds(0)))
                if (!report->empty())
                    batch.push_back(std::move(*report));
            {
                std::lock_guard held(lock);
                for (auto &each : batch)
                    pending.push_back(std::move(each));
            }
            signal(source);
        }
    });
}

hid_device::pump hid_device::take_pump() { return std::move(pump_); }

void hid_device::pump::end() {
    if (stop)
        stop->store(true);
    if (thread.joinable())
        thread.join();
}

std::vector<hid_device *> attached_devices() {
    std::lock_guard lock(devices().lock);
    for (hid_device *d : devices().devices)
        hold(d);
    return devices().devices;
}

device_id attach(std::shared_ptr<padsim::pad> pad, const hid_identity &identity) {
    const padsim::model &m = pad->config();
    const std::vector<uint8_t> descriptor = pad->descriptor();
    const int32_t product = pad->product_id();
    hid_device *d;
    {
        std::lock_guard lock(devices().lock);
        d = track(new hid_device(devices().next_id++, std::move(pad)));
    }
    own(d, 1);
    if (identity.transport)
        put_property(*d, kIOHIDTransportKey, *identity.transport);
    put_property(*d, kIOHIDVendorIDKey, int32_t{m.vendor_id});
    put_property(*d, kIOHIDProductIDKey, product);
    put_property(*d, kIOHIDLocationIDKey, identity.location_id);
    put_property(*d, kIOHIDPrimaryUsagePageKey, identity.usage_page);
    put_property(*d, kIOHIDPrimaryUsageKey, identity.usage);
    put_property(*d, kIOHIDManufacturerKey, m.manufacturer);
    put_property(*d, kIOHIDProductKey, m.model_name);
    put_property(*d, kIOHIDReportDescriptorKey, descriptor);
    {
        std::lock_guard lock(devices().lock);
        devices().devices.push_back(d);
    }
    usb_published(d->id);
    return d->id;
}

void unplug(device_id id) {
    hid_device *d = nullptr;
    {
        std::lock_guard lock(devices().lock);
        auto found = std::find_if(devices().devices.begin(), devices().devices.end(),
                                  [id](hid_device *each) { return each->id == id; });
        if (found == devices().devices.end())
            return;
        d = *found;
        devices().devices.erase(found);
    }
    hid_device::pump running;
    {
        std::lock_guard lock(d->lock);
        d->removed = true;
        d->removal_pending = true;
        running = d->take_pump();
    }
    d->pad->unplug();
    running.end();
    signal(d->source);
    usb_terminated(id);
    unhold(d);
}

void unplug_all() {
    for (hid_device *d : attached_devices()) {
        const device_id id = d->id;
        unhold(d);
        unplug(id);
    }
}

void set_property(device_id id, const std::string &key, const property &value) {
    if (hid_device *d = attached(id))
        put_property(*d, key, value);
}

void set_open_result(device_id id, IOReturn result) {
    if (hid_device *d = attached(id)) {
        std::lock_guard lock(d->lock);
        d->open_result = result;
    }
}

void set_report_result(device_id id, IOReturn result) {
    if (hid_device *d = attached(id)) {
        std::lock_guard lock(d->lock);
        d->report_result = result;
    }
}

}  // namespace standin

using standin::hid_device;

extern "C" {

CFTypeID IOHIDDeviceGetTypeID(void) { return static_cast<CFTypeID>(standin::kind::hid_device); }

CFTypeRef IOHIDDeviceGetProperty(IOHIDDeviceRef ref, CFStringRef key) {
    hid_device *d = standin::device_of(ref);
    if (!d)
        return nullptr;
    std::lock_guard lock(d->lock);
    auto found = d->properties.find(standin::text_of(key));
    return found == d->properties.end() ? nullptr : found->second;
}

IOReturn IOHIDDeviceOpen(IOHIDDeviceRef ref, IOOptionBits) {
    hid_device *d = standin::device_of(ref);
    if (!d)
        return kIOReturnBadArgument;
    std::lock_guard lock(d->lock);
    if (d->removed)
        return kIOReturnNotAttached;
    if (d->open_result != kIOReturnSuccess)
        return d->open_result;
    if (d->open_count++ == 0) {
        d->pad->mark_open(true);
        d->start_pump();
    }
    return kIOReturnSuccess;
}

IOReturn IOHIDDeviceClose(IOHIDDeviceRef ref, IOOptionBits) {
    hid_device *d = standin::device_of(ref);
    if (!d)
        return kIOReturnBadArgument;
    hid_device::pump running;
    {
        std::lock_guard lock(d->lock);
        if (d->open_count == 0)
            return kIOReturnNotOpen;
        if (--d->open_count > 0)
            return kIOReturnSuccess;
        running = d->take_pump();
        d->pad->mark_open(false);
    }
    running.end();
    return kIOReturnSuccess;
}

void IOHIDDeviceRegisterInputReportCallback(IOHIDDeviceRef ref, uint8_t *report, CFIndex length,
                                            IOHIDReportCallback callback, void *context) {
    if (hid_device *d = standin::device_of(ref)) {
        std::lock_guard lock(d->lock);
        d->input_callback = callback;
        d->input_context = context;
        d->input_buffer = report;
        d->input_buffer_size = length;
    }
}

void IOHIDDeviceRegisterRemovalCallback(IOHIDDeviceRef ref, IOHIDCallback callback, void *context) {
    if (hid_device *d = standin::device_of(ref)) {
        std::lock_guard lock(d->lock);
        d->removal_callback = callback;
        d->removal_context = context;
    }
}

void IOHIDDeviceScheduleWithRunLoop(IOHIDDeviceRef ref, CFRunLoopRef loop, CFStringRef mode) {
    if (hid_device *d = standin::device_of(ref))
        CFRunLoopAddSource(loop, reinterpret_cast<CFRunLoopSourceRef>(d->source), mode);
}

void IOHIDDeviceUnscheduleFromRunLoop(IOHIDDeviceRef ref, CFRunLoopRef loop, CFStringRef mode) {
    if (hid_device *d = standin::device_of(ref))
        CFRunLoopRemoveSource(loop, reinterpret_cast<CFRunLoopSourceRef>(d->source), mode);
}

IOReturn IOHIDDeviceSetReport(IOHIDDeviceRef ref, IOHIDReportType type, CFIndex id, const uint8_t *report,
                              CFIndex length) {
    return standin::feature_transfer(ref, type, id, report, length, [&](padsim::pad &pad) {
        return pad.set_feature(report, static_cast<size_t>(length));
    });
}

IOReturn IOHIDDeviceGetReport(IOHIDDeviceRef ref, IOHIDReportType type, CFIndex id, uint8_t *report,
                              CFIndex *length) {
    if (!length)
        return kIOReturnBadArgument;
    return standin::feature_transfer(ref, type, id, report, *length, [&](padsim::pad &pad) {
        return pad.get_feature(report, static_cast<size_t>(*length));
    });
}

}  // extern "C"
