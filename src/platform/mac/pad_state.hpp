// SPDX-License-Identifier: Apache-2.0
// What the driver keeps of an open pad. The record's `parameters` hold only
// what both platforms share (the report map, the read thread); the IOKit
// side lives here, shared between the registry and a read in progress so
// that a pad closed during a read (by its removal, or by a callback) stays
// valid until that read has returned.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/mac/cf_ref.hpp"
#include "platform/mac/mac_driver.hpp"

namespace vantix::mac {

inline constexpr CFIndex input_buffer_size = 512;

struct pad_state {
    pad_state(vantix_device *record, cf_ref<IOHIDDeviceRef> device, cf_ref<CFStringRef> run_mode)
        : record(record), hid(std::move(device)), mode(std::move(run_mode)) {}

    vantix_device *const record;
    const cf_ref<IOHIDDeviceRef> hid;
    // The pad's private run-loop mode: only a read of this pad runs it, so
    // its input is never delivered inside some other run loop's work.
    const cf_ref<CFStringRef> mode;
    std::atomic<bool> unplugged{false};

    std::mutex lock;                         // guards the members below
    std::deque<std::vector<uint8_t>> queue;  // received, not yet dispatched
    cf_ref<CFRunLoopRef> scheduled_on;       // the run loop of the thread that reads
    bool waiting = false;                    // a read runs (or is about to run) that loop
    bool woken = false;                      // closing: no read waits any more
    // Filled by IOKit before each input callback.
    uint8_t input_buffer[input_buffer_size] = {};
};

// The open pads, by record.
void adopt_pad(vantix_device *record, std::shared_ptr<pad_state> pad);
std::shared_ptr<pad_state> pad_of(const vantix_device *record);
// Removes the pad from the registry and hands it over; null when not open.
std::shared_ptr<pad_state> take_pad(const vantix_device *record);

// Ends the wait of a read of the pad at once (stopping the run loop it
// runs), and every later read's wait: the pad is closing.
void wake(pad_state &pad);
// The driver's reader waker: wakes the open pad of `record`, if any.
void wake_reader(vantix_device *record);

// IOKit's callbacks; the context is the pad_state.
void on_input(void *context, IOReturn result, void *sender, IOHIDReportType type, uint32_t report_id,
              uint8_t *report, CFIndex length);
void on_removal(void *context, IOReturn result, void *sender);

}  // namespace vantix::mac
