// SPDX-License-Identifier: Apache-2.0
// The hidraw transport: opening a pad's node, learning its report IDs and
// moving feature reports through the hidraw ioctls.
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/failure.hpp"
#include "debug/log.hpp"
#include "platform/hid/report_map.hpp"
#include "platform/linux/linux_driver.hpp"
#include "platform/linux/reader_wake.hpp"

namespace {

using vantix::platform::report_map_size;
// The hidraw feature ioctls carry the length in a 14-bit field.
constexpr unsigned int max_feature_length = (1u << _IOC_SIZEBITS) - 1;

enum class direction { set, get };

vantix_error_code feature_transfer(vantix_device *device, unsigned char *buffer, unsigned int length,
                                   direction dir, const char *function) {
    if (!vantix::platform::feature_request_allowed(device, buffer, length, max_feature_length, function,
                                                   __FILE__, __LINE__))
        return VANTIX_CODE_ERROR;
    const unsigned char id = buffer[0];
    const int result = dir == direction::set
                           ? ioctl(device->parameters.handle, HIDIOCSFEATURE(length), buffer)
                           : ioctl(device->parameters.handle, HIDIOCGFEATURE(length), buffer);
    if (result < 0) {
        const int error = errno;
        vantix::report_failure(function, __FILE__, __LINE__,
                               dir == direction::set ? "Problem sending HID report %hhu (%i): %s\n"
                                                     : "Problem getting HID report %hhu (%i): %s\n",
                               id, error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    return VANTIX_CODE_SUCCESS;
}

}  // namespace

extern "C" {

vantix_error_code vantix_real_open_device(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!device || !device->path) {
        VANTIX_FAIL("Problem opening device (%i): %s\n", ENOENT, strerror(ENOENT));
        return VANTIX_CODE_ERROR;
    }
    device->parameters.handle = open(device->path, O_RDWR | O_CLOEXEC);
    if (device->parameters.handle < 0) {
        const int error = errno;
        VANTIX_FAIL("Problem opening device (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    if (fill_hid_report_map(device) != VANTIX_CODE_SUCCESS) {
        // Keep the node's descriptor from leaking; the map's message stays.
        close(device->parameters.handle);
        device->parameters.handle = -1;
        return VANTIX_CODE_ERROR;
    }
    if (!vantix::linux_driver::create_reader_wake(device)) {
        const int error = errno;
        close(device->parameters.handle);
        device->parameters.handle = -1;
        VANTIX_FAIL("Problem opening device (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    device->parameters.readUntilDoneThread = pthread_t{};
    device->parameters.interrupted = 0;
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code fill_hid_report_map(vantix_device *device) {
    hidraw_report_descriptor descriptor;
    std::memset(&descriptor, 0, sizeof descriptor);
    std::memset(device->parameters.hid_report_map, 0, report_map_size);
    int size = 0;
    if (ioctl(device->parameters.handle, HIDIOCGRDESCSIZE, &size) < 0) {
        const int error = errno;
        VANTIX_FAIL("Unable to get HID report descriptor size (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    // The kernel never reports more than its buffer holds; do not trust it.
    if (size < 0)
        size = 0;
    if (size > HID_MAX_DESCRIPTOR_SIZE)
        size = HID_MAX_DESCRIPTOR_SIZE;
    descriptor.size = static_cast<uint32_t>(size);
    if (ioctl(device->parameters.handle, HIDIOCGRDESC, &descriptor) < 0) {
        const int error = errno;
        VANTIX_FAIL("Unable to get HID report descriptor(%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    parse_hid_descriptor(descriptor.value, descriptor.size, device->parameters.hid_report_map);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_real_close_device(vantix_device *device) {
    VANTIX_TRACE_CALL();
    const int handle = device ? device->parameters.handle : -1;
    if (device) {
        device->parameters.handle = -1;
        vantix::linux_driver::release_reader_wake(device);
    }
    if (close(handle) < 0) {
        const int error = errno;
        VANTIX_FAIL("Problem closing device (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_real_hid_set_feature_report(vantix_device *device, unsigned char *buffer,
                                                     unsigned int length) {
    VANTIX_TRACE_CALL();
    return feature_transfer(device, buffer, length, direction::set, __func__);
}

vantix_error_code vantix_real_hid_get_feature_report(vantix_device *device, unsigned char *buffer,
                                                     unsigned int length) {
    VANTIX_TRACE_CALL();
    return feature_transfer(device, buffer, length, direction::get, __func__);
}

// Pads take no output reports over hidraw; the entry exists for drivers
// that do.
vantix_error_code vantix_real_hid_set_output_report(vantix_device *, unsigned char *, unsigned int) {
    VANTIX_TRACE_CALL();
    return VANTIX_CODE_SUCCESS;
}

void vantix_device_notify_close(vantix_device *) { VANTIX_TRACE_CALL(); }

}  // extern "C"
