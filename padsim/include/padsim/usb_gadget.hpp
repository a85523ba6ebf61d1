// SPDX-License-Identifier: Apache-2.0
// The virtual pad as a USB device: a configfs gadget with one FunctionFS HID
// interface, bound to a USB device controller (dummy_hcd on a machine
// without one). The kernel's usbhid then makes a hidraw node of it with a
// real USB parent, so the hidraw driver lists, opens and reads it exactly
// as a pad on a cable.
//
// Needs root, configfs mounted at `configfs` and the libcomposite and
// usb_f_fs modules. Construction sets the gadget up unbound; plug() binds it
// (the host enumerates it), unplug() unbinds it (the host sees a real
// unplug). The destructor unplugs and removes everything it created.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace padsim {

class pad;

struct gadget_options {
    std::string name = "vantix-pad";  // configfs gadget and FunctionFS instance
    std::string udc;                  // empty: the first controller in /sys/class/udc
    std::string serial = "VZ0000001";
    std::string configfs = "/sys/kernel/config";
    std::string mount_dir;  // empty: /dev/ffs-<name>
};

class usb_gadget {
public:
    // Throws std::system_error naming the step that failed.
    explicit usb_gadget(pad &p, gadget_options options = {});
    ~usb_gadget();
    usb_gadget(const usb_gadget &) = delete;
    usb_gadget &operator=(const usb_gadget &) = delete;

    void plug();
    void unplug();
    bool plugged() const;
    // The controller this gadget binds to, e.g. "dummy_udc.0".
    const std::string &udc() const;

private:
    struct state;
    std::unique_ptr<state> state_;
};

}  // namespace padsim
