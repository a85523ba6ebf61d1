// SPDX-License-Identifier: Apache-2.0
// Reading input: IOKit delivers reports into the pad's queue while the
// reading thread runs the pad's private run-loop mode; the read then
// dispatches everything queued. Closing the pad stops the run loop a read
// waits in, so the read returns at once.
#include "core/close_request.hpp"
#include "core/device_flags.hpp"
#include "core/failure.hpp"
#include "core/reader_wakers.hpp"
#include "debug/log.hpp"
#include "input/delivery.hpp"
#include "platform/mac/pad_state.hpp"

namespace vantix::mac {
namespace {

constexpr CFTimeInterval read_period_seconds = 1.0;

// Binds the pad to the calling thread's run loop and marks the read as
// waiting; false, binding nothing, once the pad was woken for its close. A
// pad first read on one thread and later on another (the application's
// loop, then a read thread) moves to the new thread; reports not yet
// dispatched stay queued for it.
bool begin_wait(pad_state &pad) {
    CFRunLoopRef here = CFRunLoopGetCurrent();
    std::lock_guard lock(pad.lock);
    if (pad.woken)
        return false;
    pad.waiting = true;
    if (pad.scheduled_on.get() == here)
        return true;
    if (pad.scheduled_on) {
        VANTIX_LOG_FINE("Moving device to the run loop of the reading thread: path: %s", pad.record->path);
        IOHIDDeviceUnscheduleFromRunLoop(pad.hid.get(), pad.scheduled_on.get(), pad.mode.get());
    }
    IOHIDDeviceScheduleWithRunLoop(pad.hid.get(), here, pad.mode.get());
    pad.scheduled_on = cf_ref<CFRunLoopRef>::retain(here);
    return true;
}

void end_wait(pad_state &pad) {
    std::lock_guard lock(pad.lock);
    pad.waiting = false;
}

bool next_report(pad_state &pad, std::vector<uint8_t> &report) {
    std::lock_guard lock(pad.lock);
    if (pad.queue.empty())
        return false;
    report = std::move(pad.queue.front());
    pad.queue.pop_front();
    return true;
}

// One read may dispatch several reports; a callback that closes the pad
// ends the dispatch, since close empties the queue.
void dispatch_queued(pad_state &pad) {
    std::vector<uint8_t> report;
    while (is_open(pad.record) && next_report(pad, report))
        input::deliver_input(pad.record, report.data(), static_cast<unsigned int>(report.size()));
}

vantix_error_code not_open(const vantix_device *device, const char *text, const char *function, int line) {
    report_failure(function, __FILE__, line, "%s", text);
    if (debug::wanted(VANTIX_DEBUG_LEVEL_INFO))
        vantix_debug_report_message(function, __FILE__, line, VANTIX_DEBUG_LEVEL_INFO,
                                    "%s: open: %hhu, path: %s", text,
                                    static_cast<uint8_t>(device && is_open(device)),
                                    device && device->path ? device->path : "(none)");
    return VANTIX_CODE_ERROR;
}

}  // namespace

void on_input(void *context, IOReturn result, void *, IOHIDReportType, uint32_t, uint8_t *, CFIndex length) {
    auto *pad = static_cast<pad_state *>(context);
    if (!pad || result != kIOReturnSuccess || length <= 0)
        return;
    const size_t kept = length < input_buffer_size ? static_cast<size_t>(length) : size_t{input_buffer_size};
    std::lock_guard lock(pad->lock);
    pad->queue.emplace_back(pad->input_buffer, pad->input_buffer + kept);
}

void on_removal(void *context, IOReturn, void *) {
    auto *pad = static_cast<pad_state *>(context);
    if (!pad)
        return;
    pad->unplugged.store(true);
    vantix_device *device = pad->record;
    // Closing drops the registry's share; the read that runs this callback
    // holds another, so `pad` stays valid until it returns.
    if (is_open(device))
        core::close_device(device);
    vantix_device_notify_close(device);
}

// A stop sent between begin_wait and the run is kept by the run loop and
// ends that run at once. Only a loop a read runs is stopped: any other
// thread's loop is left alone.
void wake(pad_state &pad) {
    std::lock_guard lock(pad.lock);
    pad.woken = true;
    if (pad.waiting && pad.scheduled_on)
        CFRunLoopStop(pad.scheduled_on.get());
}

void wake_reader(vantix_device *record) {
    if (std::shared_ptr<pad_state> pad = pad_of(record))
        wake(*pad);
}

namespace {

[[maybe_unused]] const bool waker_registered = set_reader_waker(&VANTIX_MAC_DRIVER_TABLE, wake_reader);

}  // namespace

vantix_error_code device_read(vantix_device *device) {
    VANTIX_TRACE_CALL();
    std::shared_ptr<pad_state> pad = device && is_open(device) ? pad_of(device) : nullptr;
    if (!pad)
        return not_open(device, "Device is not open", __func__, __LINE__);
    if (begin_wait(*pad)) {
        CFRunLoopRunInMode(pad->mode.get(), read_period_seconds, true);
        end_wait(*pad);
    }
    dispatch_queued(*pad);
    if (!is_open(device))
        return not_open(device, "Device is not open after read", __func__, __LINE__);
    return VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::mac
