// What the in-VM tests share: three virtual pads plugged in as USB gadgets
// on the three dummy_hcd controllers (the maker's pad, a foreign vendor's
// device and the maker's excluded product 0x1001), and small waiting
// helpers. Set up once per boot by main().
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "padsim/pad.hpp"
#include "padsim/usb_gadget.hpp"

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
// The number of hidraw nodes the kernel has.
inline int hidraw_count() { return entry_count("/sys/class/hidraw"); }

}  // namespace vm
