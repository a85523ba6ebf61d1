// SPDX-License-Identifier: Apache-2.0
// The configfs side of a USB gadget: the device identity, one
// configuration and one FunctionFS function in it, and the UDC binding.
#pragma once

#include <cstdint>
#include <string>

namespace padsim::frontend {

struct usb_identity {
    std::uint16_t vendor_id, product_id;
    std::string manufacturer, product, serial;
};

class configfs_gadget {
public:
    // Creates <configfs>/usb_gadget/<name> with function ffs.<name>;
    // throws std::system_error. What was created is removed again on
    // failure and in the destructor.
    configfs_gadget(const std::string &configfs, const std::string &name, const usb_identity &identity);
    ~configfs_gadget();
    configfs_gadget(const configfs_gadget &) = delete;
    configfs_gadget &operator=(const configfs_gadget &) = delete;

    void bind(const std::string &udc);
    void unbind();

private:
    void remove();

    std::string root_;  // <configfs>/usb_gadget/<name>
    std::string function_;
};

}  // namespace padsim::frontend
