// SPDX-License-Identifier: Apache-2.0
// One thread that can be asked to stop, and the one way the library's
// long-running threads (hotplug, pad reading) start, sleep, stop and end.
//
// The handle owns the stop flag and the thread's lifecycle; the caller plugs
// in the wake-up its thread needs (an eventfd written, a run loop stopped),
// called on every stop request. The flag and the wake-up live in state the
// thread shares, so a thread that had to be let go (detached) keeps its own
// even when the handle starts another.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vantix::support {

// What a stoppable thread's body sees of its handle.
class stop_signal {
public:
    bool stop_requested() const noexcept { return stop_.load(std::memory_order_acquire); }
    // Sleeps up to `period`, returning early when a stop is requested; true
    // when one was.
    bool wait_for(std::chrono::milliseconds period) const;

private:
    friend class stoppable_thread;

    // Waits until the body returned (true) or `deadline`, if any, passed.
    bool await_finished(const std::chrono::steady_clock::time_point *deadline) const;

    std::atomic<bool> stop_{false};
    mutable std::mutex lock_;
    mutable std::condition_variable changed_;  // stop requested, or the body returned
    bool finished_ = false;
    std::function<void()> wake_;  // set before the thread starts, then only read
    std::chrono::milliseconds rewake_{0};
};

class stoppable_thread {
public:
    using body = std::function<void(const stop_signal &stop)>;
    using wake_up = std::function<void()>;

    // `exit_patience` bounds the wait of the destructor, which for a handle
    // in static storage is what runs at exit(): a thread still running is
    // asked to stop, given that long, then let go, so that an exit never
    // hangs on a thread (nor ends in std::terminate, as a joinable
    // std::thread would). Destroyed by the thread itself, the handle only
    // lets it go.
    explicit stoppable_thread(std::chrono::milliseconds exit_patience) noexcept;
    ~stoppable_thread();
    stoppable_thread(const stoppable_thread &) = delete;
    stoppable_thread &operator=(const stoppable_thread &) = delete;

    // Runs `run` on a new thread. `wake` (may be empty) ends the thread's
    // waits; it is called on the first stop request, and again every
    // `rewake` (when nonzero) while a stop waits for the thread: for a
    // wake-up that is lost when it comes before the thread waits. Call only
    // when not started; throws std::system_error when no thread can be made.
    void start(body run, wake_up wake = {}, std::chrono::milliseconds rewake = {});

    // From start until the thread is joined or let go.
    bool started() const;
    // A stop was requested of the running thread (false when none runs).
    bool stop_requested() const;
    // The calling thread is the started one.
    bool is_current() const;
    std::thread::native_handle_type native_handle() const;

    // Sets the flag, ends the body's wait_for and, on the first request,
    // calls the wake-up, also from the thread itself: it may be in a
    // callback of the wait the wake-up ends (a run loop), which must not
    // resume.
    void request_stop();
    // Waits until the body has returned; at once when no thread runs or
    // the caller is the thread. Leaves the thread to join.
    void wait_finished() const;
    bool wait_finished_for(std::chrono::milliseconds limit) const;

    // Waits for the thread's end and joins it. From the thread itself it
    // lets the thread go instead: a thread cannot wait for its own end.
    // Several threads may join at once.
    void join();
    // As join, but a thread still running at `deadline` is let go (detached)
    // and false returned. A thread let go runs on with its own state; the
    // caller says so in the log where it can (the destructor does not: at
    // exit the log may be gone).
    bool join_until(std::chrono::steady_clock::time_point deadline);
    bool join_for(std::chrono::milliseconds patience) {
        return join_until(std::chrono::steady_clock::now() + patience);
    }

    void stop() {
        request_stop();
        join();
    }
    bool stop_for(std::chrono::milliseconds patience) {
        request_stop();
        return join_for(patience);
    }

private:
    std::shared_ptr<stop_signal> current() const;
    // Joins or lets go of the thread of `run`, if it is still this handle's.
    void release(const std::shared_ptr<stop_signal> &run, bool join);

    const std::chrono::milliseconds exit_patience_;
    mutable std::mutex lock_;  // guards the members below
    std::thread thread_;
    std::shared_ptr<stop_signal> run_;
    std::thread::id id_;
    std::thread::native_handle_type native_{};
};

}  // namespace vantix::support
