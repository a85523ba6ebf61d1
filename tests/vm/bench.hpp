// SPDX-License-Identifier: Apache-2.0
// What the in-VM tests share: three virtual pads plugged in as USB gadgets
// on the three dummy_hcd controllers (the maker's pad, a foreign vendor's
// device and the maker's excluded product 0x1001), and small waiting
// helpers. Set up once per boot by main().
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "padsim/pad.hpp"
#include "padsim/usb_gadget.hpp"
#include "vantix-zelnar.h"

namespace vm {

inline constexpr std::uint16_t foreign_vendor = 0x04d8;
inline constexpr std::uint16_t excluded_product = 0x1001;

struct plugged_pad {
    padsim::pad pad;
    padsim::usb_gadget gadget;
    plugged_pad(const padsim::model &m, const std::string &name, const std::string &udc);
};

struct bench {
    plugged_pad pad, foreign, excluded;
    bench();
};

// Plugs everything in and waits for the three hidraw nodes; throws
// std::runtime_error when they do not appear.
void start_bench();
bench &the_bench();
void stop_bench();

// Polls `done` every few milliseconds until it holds or `limit` passes.
bool wait_until(const std::function<bool()> &done,
                std::chrono::milliseconds limit = std::chrono::milliseconds(10000));
// The number of entries of a directory, without "." and "..".
int entry_count(const char *directory);
// The number of hidraw nodes the kernel has, and their /dev paths.
inline int hidraw_count() { return entry_count("/sys/class/hidraw"); }
std::set<std::string> hidraw_nodes();
// Waits for a hidraw node not in `before` to exist in /dev; "" when none
// comes.
std::string new_hidraw_node(const std::set<std::string> &before);
// The record an application builds for a node the listing cannot find (a
// pad on uhid has no USB parent). Free it with vantix_real_free_device.
vantix_device *record_for_node(const std::string &node);

}  // namespace vm
