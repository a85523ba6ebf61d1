// SPDX-License-Identifier: Apache-2.0
// Listing the maker's pads among the HID devices, and keeping the paths of
// the last two listings for the hotplug thread to compare.
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "build_config.hpp"
#include "debug/log.hpp"
#include "platform/mac/device_set.hpp"

namespace vantix::mac {
namespace {

constexpr int32_t excluded_product_id = 0x1001;
// Usages of the pads' top-level collections; other collections of the same
// USB device are not pads.
constexpr int32_t pad_usages[] = {0, 6};

// Listings come from application threads and the hotplug thread alike.
struct path_history {
    std::mutex lock;
    listing_paths paths;
};

path_history &history() {
    static path_history instance;
    return instance;
}

bool is_pad(IOHIDDeviceRef device) {
    const int32_t usage = int_property(device, kIOHIDPrimaryUsageKey);
    return int_property(device, kIOHIDVendorIDKey) == VANTIX_VENDOR_ID_VALUE &&
           int_property(device, kIOHIDProductIDKey) != excluded_product_id &&
           (usage == pad_usages[0] || usage == pad_usages[1]);
}

// Missing texts become empty ones: every record carries all three.
char *text_copy(const std::optional<std::string> &text) { return strdup(text ? text->c_str() : ""); }

vantix_device *make_record(vantix_device_driver *driver, IOHIDDeviceRef device, const std::string &path) {
    auto *record = static_cast<vantix_device *>(std::calloc(1, sizeof(vantix_device)));
    if (!record)
        return nullptr;
    record->path = strdup(path.c_str());
    record->vendor_id = static_cast<uint16_t>(int_property(device, kIOHIDVendorIDKey));
    record->product_id = static_cast<uint16_t>(int_property(device, kIOHIDProductIDKey));
    record->manufacturer = text_copy(string_property(device, kIOHIDManufacturerKey));
    record->model = text_copy(string_property(device, kIOHIDProductKey));
    record->driver = driver;
    record->parameters.handle = -1;  // no node: the pad is reached through IOKit
    if (!record->path || !record->manufacturer || !record->model) {
        vantix_real_free_device(record);
        return nullptr;
    }
    return record;
}

}  // namespace

vantix_error_code list_pads(vantix_device_driver *driver, vantix_device **start, listing_paths *paths) {
    std::optional<device_set> present = device_set::take(__func__, __FILE__, __LINE__);
    if (!present)
        return VANTIX_CODE_ERROR;
    vantix_device *head = nullptr;
    vantix_device **tail = &head;
    std::vector<std::string> latest;
    for (IOHIDDeviceRef device : present->devices()) {
        if (!is_pad(device))
            continue;
        const std::string path = device_path(device);
        vantix_device *record = make_record(driver, device, path);
        if (!record)
            continue;
        latest.push_back(path);
        *tail = record;
        tail = &record->next;
    }
    {
        // The rotation is one step, so a listing on another thread cannot
        // interleave with this one's paths.
        std::lock_guard lock(history().lock);
        history().paths.previous = std::move(history().paths.latest);
        history().paths.latest = std::move(latest);
        if (paths)
            *paths = history().paths;
    }
    if (start)
        *start = head;
    else
        while (head) {
            vantix_device *next = head->next;
            vantix_real_free_device(head);
            head = next;
        }
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code list_devices(vantix_device_driver *driver, vantix_device **start) {
    VANTIX_TRACE_CALL();
    return list_pads(driver, start, nullptr);
}

}  // namespace vantix::mac
