// SPDX-License-Identifier: Apache-2.0
// Reading input reports from a pad's hidraw node.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/close_request.hpp"
#include "core/device_flags.hpp"
#include "core/failure.hpp"
#include "debug/log.hpp"
#include "input/delivery.hpp"
#include "platform/linux/linux_driver.hpp"
#include "platform/linux/reader_wake.hpp"

namespace {

constexpr size_t read_capacity = 512;
constexpr int read_period_ms = 1000;

}  // namespace

extern "C" {

vantix_error_code vantix_real_device_read(vantix_device *device) {
    VANTIX_TRACE_CALL();
    if (!device || !vantix::is_open(device)) {
        VANTIX_FAIL("Device is not open.\n");
        return VANTIX_CODE_ERROR;
    }
    const int handle = device->parameters.handle;
    if (handle < 0) {
        VANTIX_FAIL("Problem reading from the device (%i): %s\n", EBADF, strerror(EBADF));
        return VANTIX_CODE_ERROR;
    }
    unsigned char buffer[read_capacity] = {0};
    // A pad opened without a wake-up descriptor (-1) is polled alone.
    pollfd fds[2] = {{handle, POLLIN, 0}, {vantix::linux_driver::reader_wake_fd(device), POLLIN, 0}};
    const bool woken = poll(fds, 2, read_period_ms) > 0 && fds[1].revents != 0;
    if (!woken && (fds[0].revents & (POLLIN | POLLERR | POLLHUP))) {
        const ssize_t count = read(handle, buffer, sizeof buffer);
        if (count < 0) {
            const int error = errno;
            VANTIX_FAIL("Problem reading from the device (%i): %s\n", error, strerror(error));
            vantix::core::close_device(device);  // an unplugged pad typically ends here
            return VANTIX_CODE_ERROR;
        }
        vantix::input::deliver_input(device, buffer, static_cast<unsigned int>(count));
    }
    if (device->parameters.interrupted && vantix::is_open(device))
        vantix::core::close_device(device);
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
