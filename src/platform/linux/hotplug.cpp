// SPDX-License-Identifier: Apache-2.0
// Driver start/stop and the hotplug thread that reports hidraw devices
// coming and going.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>

#include "core/failure.hpp"
#include "core/hotplug_callbacks.hpp"
#include "debug/log.hpp"
#include "platform/linux/linux_driver.hpp"
#include "platform/linux/udev_ptr.hpp"
#include "support/stoppable_thread.hpp"

namespace {

// The eventfd written to end the thread's wait. The thread and its wake-up
// share it, so a thread that had to be let go (a callback stopped the
// library) keeps its own even if the library starts again.
struct wake_event {
    explicit wake_event(int descriptor) : fd(descriptor) {}
    ~wake_event() { close(fd); }
    wake_event(const wake_event &) = delete;
    wake_event &operator=(const wake_event &) = delete;

    void signal() const {
        const uint64_t one = 1;
        // One write cannot overflow the eventfd counter; a failure here would
        // only mean the thread is already gone.
        [[maybe_unused]] const ssize_t written = write(fd, &one, sizeof one);
    }

    const int fd;
};

// How long a process that exits without vantix_destroy waits for the thread
// before leaving it behind: a callback blocked on the exiting thread must
// not hang the exit.
constexpr std::chrono::milliseconds exit_patience{200};

// The driver's process-wide state. `control` serialises start and stop; the
// thread is stopped at exit() by its handle's destructor.
struct hotplug_state {
    std::mutex control;
    vantix::support::stoppable_thread thread{exit_patience};
};

hotplug_state &hotplug() {
    static hotplug_state state;
    return state;
}

void notify(const vantix::support::stop_signal &stop, vantix_hotplug_type type, const char *node) {
    for (vantix_hotplug_callback callback : vantix::hotplug_callbacks_snapshot()) {
        callback(type, node);
        // A callback may have stopped the library: nothing is called after that.
        if (stop.stop_requested())
            break;
    }
}

void handle_event(const vantix::support::stop_signal &stop, udev_monitor *monitor) {
    vantix::linux_udev::device event(udev_monitor_receive_device(monitor));
    if (!event)
        return;
    const char *node = udev_device_get_devnode(event.get());
    const char *action = udev_device_get_action(event.get());
    const char *subsystem = udev_device_get_subsystem(event.get());
    if (!node || !action || !subsystem || std::strcmp(subsystem, "hidraw") != 0)
        return;
    vantix_hotplug_type type;
    if (std::strcmp(action, "add") == 0)
        type = VANTIX_HOTPLUG_ATTACHED;
    else if (std::strcmp(action, "remove") == 0)
        type = VANTIX_HOTPLUG_DETACHED;
    else
        return;
    VANTIX_LOG_INFO("Detected hotplug event: path: %s, type: %s, subsystem: %s", node, action, subsystem);
    notify(stop, type, node);
}

void vantix_hotplug_thread(const vantix::support::stop_signal &stop, const wake_event &wake) {
    VANTIX_TRACE_CALL();
    vantix::linux_udev::context udev(udev_new());
    vantix::linux_udev::monitor monitor(udev ? udev_monitor_new_from_netlink(udev.get(), "udev") : nullptr);
    if (monitor) {
        udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr);
        if (udev_monitor_enable_receiving(monitor.get()) < 0)
            monitor.reset();
    }
    // Without a monitor no events arrive, but the thread still waits for
    // its stop request so that start and stop stay symmetric.
    pollfd fds[2] = {{wake.fd, POLLIN, 0}, {monitor ? udev_monitor_get_fd(monitor.get()) : -1, POLLIN, 0}};
    while (!stop.stop_requested()) {
        fds[0].revents = fds[1].revents = 0;
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents || stop.stop_requested())
            break;
        if (fds[1].revents & (POLLHUP | POLLNVAL))
            fds[1].fd = -1;  // the monitor is gone: wait for the stop alone
        else if (fds[1].revents)
            // Also on POLLERR alone (a receive buffer overrun): the receive
            // clears the error, which would otherwise wake every poll at once.
            handle_event(stop, monitor.get());
    }
}

}  // namespace

extern "C" {

vantix_error_code vantix_real_driver_init(void) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    if (state.thread.started())
        return VANTIX_CODE_SUCCESS;  // already started: keep the thread and its list

    const int wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd < 0) {
        const int error = errno;
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    auto wake = std::make_shared<const wake_event>(wake_fd);
    vantix::ensure_hotplug_callbacks();
    try {
        state.thread.start(
            [wake](const vantix::support::stop_signal &stop) { vantix_hotplug_thread(stop, *wake); },
            [wake] { wake->signal(); });
    } catch (const std::system_error &e) {
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", e.code().value(), e.what());
        return VANTIX_CODE_ERROR;
    }
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_real_driver_destroy(vantix_device_driver * /*driver*/) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    // Joined; let go when a hotplug callback stops the library from the
    // thread itself.
    state.thread.stop();
    vantix::release_hotplug_callbacks();
    return VANTIX_CODE_SUCCESS;
}

uint8_t vantix_real_thread_running(void) {
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    return state.thread.started() && !state.thread.stop_requested() ? 1 : 0;
}

// Waits for the thread without holding the driver's lock, so a stop from
// another thread is never blocked by a waiter.
void vantix_real_thread_wait(void) { hotplug().thread.wait_finished(); }

}  // extern "C"
