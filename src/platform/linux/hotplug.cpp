// Driver start/stop and the hotplug thread that reports hidraw devices
// coming and going.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/failure.hpp"
#include "core/list_range.hpp"
#include "debug/log.hpp"
#include "platform/linux/linux_driver.hpp"
#include "platform/linux/udev_ptr.hpp"

namespace {

// The driver's process-wide state. `control` serialises start and stop.
struct hotplug_state {
    std::mutex control;
    std::thread thread;
    std::atomic<bool> running{false};
    int wake_fd = -1;  // eventfd written to end the thread's wait
};

hotplug_state &hotplug() {
    static hotplug_state state;
    return state;
}

void notify(vantix_hotplug_type type, const char *node) {
    for (auto *callback : vantix::list_range<void>(vantix_get_device_callbacks())) {
        vantix_hotplug_callback fn;
        static_assert(sizeof(fn) == sizeof(callback));
        std::memcpy(&fn, &callback, sizeof(fn));
        fn(type, node);
        // A callback may have stopped the library, which frees this list.
        if (!hotplug().running.load())
            break;
    }
}

void handle_event(udev_monitor *monitor) {
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
    notify(type, node);
}

void vantix_hotplug_thread(int wake_fd) {
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
    pollfd fds[2] = {{wake_fd, POLLIN, 0}, {monitor ? udev_monitor_get_fd(monitor.get()) : -1, POLLIN, 0}};
    while (hotplug().running.load()) {
        fds[0].revents = fds[1].revents = 0;
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents || !hotplug().running.load())
            break;
        if (fds[1].revents & POLLIN)
            handle_event(monitor.get());
    }
}

}  // namespace

extern "C" {

vantix_error_code vantix_real_driver_init(void) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    if (state.thread.joinable())
        return VANTIX_CODE_SUCCESS;  // already started: keep the thread and its list

    state.wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (state.wake_fd < 0) {
        const int error = errno;
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    if (!vantix_get_device_callbacks())
        vantix_set_device_callbacks(vantix_create_list());
    state.running.store(true);
    try {
        state.thread = std::thread(vantix_hotplug_thread, state.wake_fd);
    } catch (const std::system_error &e) {
        state.running.store(false);
        close(state.wake_fd);
        state.wake_fd = -1;
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", e.code().value(), e.what());
        return VANTIX_CODE_ERROR;
    }
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_real_driver_destroy(vantix_device_driver * /*driver*/) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    state.running.store(false);
    if (state.thread.joinable()) {
        const uint64_t one = 1;
        // The eventfd counter cannot overflow from one write; a failure here
        // would only mean the thread is already gone.
        [[maybe_unused]] const ssize_t written = write(state.wake_fd, &one, sizeof one);
        // A hotplug callback that stops the library would wait for itself.
        if (state.thread.get_id() == std::this_thread::get_id())
            state.thread.detach();
        else
            state.thread.join();
    }
    if (state.wake_fd >= 0)
        close(state.wake_fd);
    state.wake_fd = -1;
    // Only now, with the thread gone, is the callback list no longer read.
    vantix_list_free(vantix_get_device_callbacks());
    vantix_set_device_callbacks(nullptr);
    return VANTIX_CODE_SUCCESS;
}

uint8_t vantix_real_thread_running(void) { return hotplug().running.load() ? 1 : 0; }

void vantix_real_thread_wait(void) {
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    if (state.thread.joinable() && state.thread.get_id() != std::this_thread::get_id())
        state.thread.join();
}

}  // extern "C"
