// SPDX-License-Identifier: Apache-2.0
// The virtual pad as a kernel HID device through /dev/uhid. The kernel makes
// a hidraw node of it and forwards feature report requests here; input
// reports the pad queues are sent to the kernel as they come.
//
// A uhid device has no USB parent in sysfs, so a listing that looks for USB
// devices does not find it; it serves transport and hotplug use and
// machines without a USB device controller. Creating the object plugs the
// device in; destroying it unplugs it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace padsim {

class pad;

struct uhid_options {
    std::string name = "Vantix virtual pad";
    std::string path = "/dev/uhid";
    std::uint16_t bus = 0x03;  // BUS_USB: what a pad on a cable reports
};

class uhid_device {
public:
    // Throws std::system_error when /dev/uhid cannot be opened or the
    // device cannot be created.
    explicit uhid_device(pad &p, uhid_options options = {});
    ~uhid_device();
    uhid_device(const uhid_device &) = delete;
    uhid_device &operator=(const uhid_device &) = delete;

private:
    struct state;
    std::unique_ptr<state> state_;
};

}  // namespace padsim
