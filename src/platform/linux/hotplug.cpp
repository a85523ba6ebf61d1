// SPDX-License-Identifier: Apache-2.0
// Driver start/stop and the hotplug thread that reports hidraw devices
// coming and going.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/failure.hpp"
#include "core/hotplug_callbacks.hpp"
#include "debug/log.hpp"
#include "platform/linux/linux_driver.hpp"
#include "platform/linux/udev_ptr.hpp"

namespace {

// One run of the hotplug thread. The thread shares it with the driver, so a
// thread that had to be detached (a callback stopped the library) keeps its
// own flag and wake-up descriptor even if the library starts again.
struct session {
    explicit session(int fd) : wake_fd(fd) {}
    ~session() { close(wake_fd); }
    session(const session &) = delete;
    session &operator=(const session &) = delete;

    void mark_finished() {
        std::lock_guard lock(state_lock);
        finished = true;
        ended.notify_all();
    }
    void wait_finished() {
        std::unique_lock lock(state_lock);
        ended.wait(lock, [this] { return finished; });
    }
    bool wait_finished_for(std::chrono::milliseconds patience) {
        std::unique_lock lock(state_lock);
        return ended.wait_for(lock, patience, [this] { return finished; });
    }
    void request_stop() {
        running.store(false);
        const uint64_t one = 1;
        // One write cannot overflow the eventfd counter; a failure here would
        // only mean the thread is already gone.
        [[maybe_unused]] const ssize_t written = write(wake_fd, &one, sizeof one);
    }

    std::atomic<bool> running{true};
    const int wake_fd;  // eventfd written to end the thread's wait

private:
    std::mutex state_lock;
    std::condition_variable ended;
    bool finished = false;
};

// How long a process that exits without vantix_destroy waits for the thread
// before leaving it behind: a callback blocked on the exiting thread must
// not hang the exit.
constexpr std::chrono::milliseconds exit_patience{200};

// The driver's process-wide state. `control` serialises start and stop.
struct hotplug_state {
    hotplug_state() = default;
    hotplug_state(const hotplug_state &) = delete;
    hotplug_state &operator=(const hotplug_state &) = delete;
    // Runs at exit(): a still-joinable std::thread would call std::terminate.
    ~hotplug_state() {
        std::lock_guard lock(control);
        stop(exit_patience);
    }

    // Ends the current run and lets go of its thread: joined when it ends
    // (within `patience`, if given), detached when the caller is the thread
    // itself (a hotplug callback that stops the library) or it overstays.
    void stop(std::optional<std::chrono::milliseconds> patience) {
        if (current)
            current->request_stop();
        if (thread.joinable()) {
            const bool self = thread.get_id() == std::this_thread::get_id();
            if (self || (patience && current && !current->wait_finished_for(*patience)))
                thread.detach();
            else
                thread.join();
        }
        current.reset();
    }

    std::mutex control;
    std::thread thread;
    std::shared_ptr<session> current;
};

hotplug_state &hotplug() {
    static hotplug_state state;
    return state;
}

void notify(const session &run, vantix_hotplug_type type, const char *node) {
    for (vantix_hotplug_callback callback : vantix::hotplug_callbacks_snapshot()) {
        callback(type, node);
        // A callback may have stopped the library: nothing is called after that.
        if (!run.running.load())
            break;
    }
}

void handle_event(const session &run, udev_monitor *monitor) {
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
    notify(run, type, node);
}

void vantix_hotplug_thread(std::shared_ptr<session> run) {
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
    pollfd fds[2] = {{run->wake_fd, POLLIN, 0},
                     {monitor ? udev_monitor_get_fd(monitor.get()) : -1, POLLIN, 0}};
    while (run->running.load()) {
        fds[0].revents = fds[1].revents = 0;
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents || !run->running.load())
            break;
        if (fds[1].revents & POLLIN)
            handle_event(*run, monitor.get());
    }
    run->mark_finished();
}

}  // namespace

extern "C" {

vantix_error_code vantix_real_driver_init(void) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    if (state.thread.joinable())
        return VANTIX_CODE_SUCCESS;  // already started: keep the thread and its list

    const int wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd < 0) {
        const int error = errno;
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", error, strerror(error));
        return VANTIX_CODE_ERROR;
    }
    auto run = std::make_shared<session>(wake_fd);
    {
        std::lock_guard callbacks(vantix::hotplug_callbacks_lock());
        if (!vantix_get_device_callbacks())
            vantix_set_device_callbacks(vantix_create_list());
    }
    try {
        state.thread = std::thread(vantix_hotplug_thread, run);
    } catch (const std::system_error &e) {
        VANTIX_FAIL("Unable to start the hotplug thread (%i): %s\n", e.code().value(), e.what());
        return VANTIX_CODE_ERROR;
    }
    state.current = std::move(run);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_real_driver_destroy(vantix_device_driver * /*driver*/) {
    VANTIX_TRACE_CALL();
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    state.stop(std::nullopt);
    // A detached thread still running a callback works from its own copy.
    std::lock_guard callbacks(vantix::hotplug_callbacks_lock());
    vantix_list_free(vantix_get_device_callbacks());
    vantix_set_device_callbacks(nullptr);
    return VANTIX_CODE_SUCCESS;
}

uint8_t vantix_real_thread_running(void) {
    hotplug_state &state = hotplug();
    std::lock_guard lock(state.control);
    return state.current && state.current->running.load() ? 1 : 0;
}

// Waits for the thread without holding the driver's lock, so a stop from
// another thread is never blocked by a waiter.
void vantix_real_thread_wait(void) {
    std::shared_ptr<session> run;
    {
        hotplug_state &state = hotplug();
        std::lock_guard lock(state.control);
        if (!state.thread.joinable() || state.thread.get_id() == std::this_thread::get_id())
            return;
        run = state.current;
    }
    if (run)
        run->wait_finished();
}

}  // extern "C"
