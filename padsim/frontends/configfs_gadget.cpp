// SPDX-License-Identifier: Apache-2.0
#include "configfs_gadget.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "sysfs_io.hpp"

namespace padsim::frontend {
namespace {

std::string hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", value);
    return text;
}

}  // namespace

configfs_gadget::configfs_gadget(const std::string &configfs, const std::string &name,
                                 const usb_identity &identity)
    : root_(configfs + "/usb_gadget/" + name), function_("ffs." + name) {
    try {
        make_dir(root_);
        write_attribute(root_ + "/idVendor", hex4(identity.vendor_id));
        write_attribute(root_ + "/idProduct", hex4(identity.product_id));
        write_attribute(root_ + "/bcdDevice", "0x0100");
        write_attribute(root_ + "/bcdUSB", "0x0200");
        make_dir(root_ + "/strings/0x409");
        write_attribute(root_ + "/strings/0x409/manufacturer", identity.manufacturer);
        write_attribute(root_ + "/strings/0x409/product", identity.product);
        write_attribute(root_ + "/strings/0x409/serialnumber", identity.serial);
        make_dir(root_ + "/configs/c.1");
        write_attribute(root_ + "/configs/c.1/MaxPower", "100");
        make_dir(root_ + "/functions/" + function_);
        const std::string link = root_ + "/configs/c.1/" + function_;
        if (symlink((root_ + "/functions/" + function_).c_str(), link.c_str()) != 0 && errno != EEXIST)
            throw std::system_error(errno, std::generic_category(), "symlink " + link);
    } catch (...) {
        remove();
        throw;
    }
}

configfs_gadget::~configfs_gadget() { remove(); }

void configfs_gadget::bind(const std::string &udc) { write_attribute(root_ + "/UDC", udc); }

// A lone newline empties the UDC attribute: the host sees a disconnect.
void configfs_gadget::unbind() {
    if (!read_line(root_ + "/UDC").empty())
        write_attribute(root_ + "/UDC", "\n");
}

// configfs removes only empty directories, children first; errors are
// ignored so a half-built tree is torn down as far as it goes.
void configfs_gadget::remove() {
    try {
        unbind();
    } catch (const std::system_error &) {
    }
    unlink((root_ + "/configs/c.1/" + function_).c_str());
    rmdir((root_ + "/configs/c.1").c_str());
    rmdir((root_ + "/functions/" + function_).c_str());
    rmdir((root_ + "/strings/0x409").c_str());
    rmdir(root_.c_str());
}

}  // namespace padsim::frontend
