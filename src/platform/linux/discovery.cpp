// SPDX-License-Identifier: Apache-2.0
// Listing the maker's pads among the hidraw devices udev knows.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "build_config.hpp"
#include "core/failure.hpp"
#include "debug/log.hpp"
#include "platform/linux/linux_driver.hpp"
#include "platform/linux/udev_ptr.hpp"

namespace {

constexpr int excluded_product_id = 0x1001;

// Copies a sysfs attribute; a missing one becomes empty text.
char *attribute_copy(udev_device *device, const char *name) {
    const char *value = udev_device_get_sysattr_value(device, name);
    return strdup(value ? value : "");
}

vantix_device *make_record(vantix_device_driver *driver, const char *node, udev_device *usb, int vendor,
                           int product) {
    auto *record = static_cast<vantix_device *>(std::calloc(1, sizeof(vantix_device)));
    if (!record)
        return nullptr;
    record->path = strdup(node);
    record->vendor_id = static_cast<uint16_t>(vendor);
    record->product_id = static_cast<uint16_t>(product);
    record->manufacturer = attribute_copy(usb, "manufacturer");
    record->model = attribute_copy(usb, "product");
    record->driver = driver;
    record->parameters.handle = -1;
    if (!record->path || !record->manufacturer || !record->model) {
        vantix_real_free_device(record);
        return nullptr;
    }
    return record;
}

void free_chain(vantix_device *head) {
    while (head) {
        vantix_device *next = head->next;
        vantix_real_free_device(head);
        head = next;
    }
}

}  // namespace

extern "C" {

int vantix_hex_to_decimal(const char *str) {
    if (!str)
        return -1;
    long value = 0;
    for (const char *c = str; *c; ++c) {
        int digit;
        if (*c >= '0' && *c <= '9')
            digit = *c - '0';
        else if (*c >= 'a' && *c <= 'f')
            digit = *c - 'a' + 10;
        else
            return -1;
        value = value * 16 + digit;
        if (value > 0xFFFF)
            return -1;  // not a 16-bit ID, and no room to overflow
    }
    return static_cast<int>(value);
}

vantix_error_code vantix_real_list_devices(vantix_device_driver *driver, vantix_device **start) {
    VANTIX_TRACE_CALL();
    vantix::linux_udev::context udev(udev_new());
    if (!udev) {
        const int error = errno;
        VANTIX_FAIL("Problem getting a handle to udev (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    vantix::linux_udev::enumerate enumerate(udev_enumerate_new(udev.get()));
    if (!enumerate) {
        const int error = errno;
        VANTIX_FAIL("Problem getting a handle to udev (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    udev_enumerate_add_match_subsystem(enumerate.get(), "hidraw");
    udev_enumerate_scan_devices(enumerate.get());

    vantix_device *head = nullptr;
    vantix_device *tail = nullptr;
    udev_list_entry *entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        vantix::linux_udev::device hidraw(
            udev_device_new_from_syspath(udev.get(), udev_list_entry_get_name(entry)));
        if (!hidraw)
            continue;  // vanished between the scan and now
        const char *node = udev_device_get_devnode(hidraw.get());
        // Owned by the child object; released with it.
        udev_device *usb = udev_device_get_parent_with_subsystem_devtype(hidraw.get(), "usb", "usb_device");
        if (!usb) {
            // A HID device on another bus (an I2C touchpad, a Bluetooth
            // keyboard) is not a pad; it must not hide the pads that are.
            VANTIX_LOG_FINE("Skipping HID device without a USB parent: %s", node ? node : "(no node)");
            continue;
        }
        const int vendor = vantix_hex_to_decimal(udev_device_get_sysattr_value(usb, "idVendor"));
        const int product = vantix_hex_to_decimal(udev_device_get_sysattr_value(usb, "idProduct"));
        if (!node || vendor != VANTIX_VENDOR_ID_VALUE || product < 0 || product == excluded_product_id)
            continue;
        vantix_device *record = make_record(driver, node, usb, vendor, product);
        if (!record)
            continue;
        if (tail)
            tail->next = record;
        else
            head = record;
        tail = record;
    }
    if (start)
        *start = head;
    else
        free_chain(head);
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
