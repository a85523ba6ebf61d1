// SPDX-License-Identifier: Apache-2.0
// A HID device of the stand-in: a virtual pad with properties, a run-loop
// source that delivers its input and removal callbacks, and a pump thread
// that moves the pad's input reports to it while the device is open.
#pragma once

#include <IOKit/hid/IOHIDManager.h>

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "objects.hpp"
#include "padsim/pad.hpp"
#include "run_loop.hpp"

namespace standin {

struct hid_device : object {
    hid_device(unsigned int id, std::shared_ptr<padsim::pad> pad);
    ~hid_device() override;

    const unsigned int id;
    const std::shared_ptr<padsim::pad> pad;
    run_loop_source *const source;

    std::mutex lock;  // guards the members below
    std::map<std::string, CFTypeRef> properties;
    std::deque<std::vector<uint8_t>> pending;  // reports not yet delivered
    bool removal_pending = false;
    bool removed = false;
    int open_count = 0;
    IOReturn open_result = kIOReturnSuccess;
    IOReturn report_result = kIOReturnSuccess;
    IOHIDReportCallback input_callback = nullptr;
    void *input_context = nullptr;
    uint8_t *input_buffer = nullptr;
    CFIndex input_buffer_size = 0;
    IOHIDCallback removal_callback = nullptr;
    void *removal_context = nullptr;

    // Under `lock`: starts a pump, or hands the running one over so that it
    // can be stopped and joined without the lock.
    void start_pump();
    struct pump {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> stop;
        void end();
    };
    pump take_pump();

private:
    void deliver();
    pump pump_;
};

// The attached devices, in attach order; each carries a reference of the list.
std::vector<hid_device *> attached_devices();
// Matching notifications for a USB device arriving or leaving.
void usb_published(unsigned int id);
void usb_terminated(unsigned int id);

}  // namespace standin
