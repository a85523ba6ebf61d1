// SPDX-License-Identifier: Apache-2.0
// Recording a pad, real or virtual, for replay (vantix-tool record). The
// recorder stands in the record's driver table: a copy of the pad's own
// table whose feature-read and input entries write what passes to the
// recording before handing it on, and whose write entries refuse, so a
// recording can never change the pad. One recorder at a time (the table's
// entries carry no context).
#pragma once

#include <chrono>
#include <mutex>
#include <vector>

#include "padsim/recording.hpp"
#include "vantix-zelnar.h"

namespace padsim {

class recorder {
public:
    // Takes the record's table over until destroyed; throws when another
    // recorder is active.
    recorder(vantix_device &device, recording_writer &writer);
    ~recorder();
    recorder(const recorder &) = delete;
    recorder &operator=(const recorder &) = delete;

    void set_phase(recording_phase phase);
    std::size_t inputs_seen() const;

private:
    static vantix_error_code get_feature(vantix_device *device, unsigned char *buffer, unsigned int length);
    static vantix_error_code refuse_write(vantix_device *device, unsigned char *buffer, unsigned int length);
    static void input(vantix_device *device, unsigned char *buffer, unsigned int length);
    std::uint64_t now_us() const;

    vantix_device &device_;
    vantix_device_driver *original_;
    vantix_device_driver table_;
    recording_writer &writer_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    mutable std::mutex mutex_;  // input comes on the read thread
    recording_phase phase_ = recording_phase::open;
    std::size_t inputs_ = 0;
};

// The pad's HID report descriptor: the virtual pad's own, or a hidraw
// node's from sysfs. Throws when it cannot be had.
std::vector<std::uint8_t> report_descriptor(const vantix_device &device);

// Reads every feature report the open pad declares and the catalogue says
// can be read, in ID order, through the library's raw read (so through a
// recorder on it). Failed reads are recorded too; nothing is written.
void sweep_readable_reports(vantix_device &device);

}  // namespace padsim
