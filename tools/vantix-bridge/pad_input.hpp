// SPDX-License-Identifier: Apache-2.0
// Input of one open pad, shared between the service's thread and the
// library's read thread: pen samples go to the signature capture while a
// capture runs and, with button presses, to the owner's event stream. A
// pen reaching a button ends the stroke, in the capture and in the stream.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "bridge.hpp"
#include "vantix-signature.h"
#include "vantix-zelnar.hpp"

namespace bridge {

// A capture is shared: the open pad has the current one, and each
// signature being rendered keeps the one it renders.
using capture_ptr = std::shared_ptr<vantix_signature_capture>;
// A new, empty capture for a pad of this description; throws
// protocol_error (library) when it cannot be had.
capture_ptr new_capture(const vantix_signature_pad_info &info);

// Display pixels of digitizer positions by the signature library's own
// mapping, the one its exports use. Its API places a capture's points, not
// a bare position: a capture of one point is placed and read back. One
// thread at a time.
class display_mapping {
public:
    // Throws protocol_error (library) when the capture cannot be had.
    explicit display_mapping(const vantix_signature_pad_info &info);
    struct position {
        double x, y;
    };
    position operator()(std::uint16_t x, std::uint16_t y) const;

private:
    capture_ptr point_;
};

// The digitizer coordinate the pad inks at a display pixel's centre.
int to_digitizer(double pixel, unsigned active_min, unsigned active_max, unsigned size);

struct input_state {
    explicit input_state(const vantix_signature_pad_info &pad) : info(pad), display(pad) {}

    std::shared_ptr<event_stream> stream;
    const vantix_signature_pad_info info;
    std::atomic<bool> capturing{false};
    std::atomic<std::uint64_t> seq{0};
    std::mutex lock;
    std::vector<std::string> captions;  // under lock: button i is region first_button_region + i

    // On the read thread; must not throw.
    void on_input(const vantix::zelnar::input_event &e) noexcept;
    // On the pad's thread.
    void set_captions(std::vector<std::string> now);
    // The capture pen input goes to (while capturing), swapped for a new one
    // by capture.start, .clear and .cancel: one being rendered stays as it is.
    void set_capture(capture_ptr now);
    capture_ptr current_capture();

private:
    std::mutex capture_lock_;
    capture_ptr capture_;  // under capture_lock_
    // Read thread only: the last sample streamed.
    struct pen_state {
        std::uint16_t x = 0, y = 0;
        bool down = false;
    } pen;
    display_mapping display;  // read thread only
    json sample_event(std::uint16_t x, std::uint16_t y, bool down, std::uint64_t steady);
    void push_button(const vantix_hid_input_button_press &press);
};

}  // namespace bridge
