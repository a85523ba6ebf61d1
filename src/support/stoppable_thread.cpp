// SPDX-License-Identifier: Apache-2.0
// The stoppable thread.
#include "support/stoppable_thread.hpp"

#include <algorithm>
#include <utility>

namespace vantix::support {

using clock = std::chrono::steady_clock;

bool stop_signal::wait_for(std::chrono::milliseconds period) const {
    std::unique_lock lock(lock_);
    changed_.wait_for(lock, period, [this] { return stop_requested(); });
    return stop_requested();
}

bool stop_signal::await_finished(const clock::time_point *deadline) const {
    std::unique_lock lock(lock_);
    while (!finished_) {
        // A stop pending on a thread whose wake-up can be lost is repeated.
        const bool repeat = rewake_.count() > 0 && wake_ && stop_requested();
        clock::time_point until = deadline ? *deadline : clock::time_point::max();
        if (repeat)
            until = std::min(until, clock::now() + rewake_);
        if (until == clock::time_point::max()) {
            changed_.wait(lock);
            continue;
        }
        if (changed_.wait_until(lock, until) == std::cv_status::no_timeout || finished_)
            continue;
        if (deadline && clock::now() >= *deadline)
            return false;
        if (repeat) {
            lock.unlock();
            wake_();
            lock.lock();
        }
    }
    return true;
}

stoppable_thread::stoppable_thread(std::chrono::milliseconds exit_patience) noexcept
    : exit_patience_(exit_patience) {}

stoppable_thread::~stoppable_thread() {
    const std::shared_ptr<stop_signal> run = current();
    if (!run)
        return;
    if (is_current()) {
        // The thread dropped its own handle on its way out: it is ending
        // anyway, and a wake-up now could reach a newer user of what it
        // watched (a pad opened again).
        release(run, false);
        return;
    }
    request_stop();
    join_for(exit_patience_);
}

void stoppable_thread::start(body run, wake_up wake, std::chrono::milliseconds rewake) {
    auto state = std::make_shared<stop_signal>();
    state->wake_ = std::move(wake);
    state->rewake_ = rewake;
    std::lock_guard lock(lock_);
    thread_ = std::thread([state, run = std::move(run)]() mutable {
        run(*state);
        run = nullptr;  // what the body holds is released before its end is announced
        {
            std::lock_guard end(state->lock_);
            state->finished_ = true;
        }
        state->changed_.notify_all();
    });
    id_ = thread_.get_id();
    native_ = thread_.native_handle();
    run_ = std::move(state);
}

std::shared_ptr<stop_signal> stoppable_thread::current() const {
    std::lock_guard lock(lock_);
    return run_;
}

bool stoppable_thread::started() const { return current() != nullptr; }

bool stoppable_thread::stop_requested() const {
    const std::shared_ptr<stop_signal> run = current();
    return run && run->stop_requested();
}

bool stoppable_thread::is_current() const {
    std::lock_guard lock(lock_);
    return run_ && id_ == std::this_thread::get_id();
}

std::thread::native_handle_type stoppable_thread::native_handle() const {
    std::lock_guard lock(lock_);
    return native_;
}

void stoppable_thread::request_stop() {
    const std::shared_ptr<stop_signal> run = current();
    if (!run)
        return;
    bool first = false;
    {
        std::lock_guard lock(run->lock_);
        first = !run->stop_.exchange(true, std::memory_order_acq_rel);
    }
    run->changed_.notify_all();
    // Woken once; a wake-up that can be lost is repeated by the waits.
    if (first && run->wake_)
        run->wake_();
}

void stoppable_thread::wait_finished() const {
    const std::shared_ptr<stop_signal> run = current();
    if (run && !is_current())
        run->await_finished(nullptr);
}

bool stoppable_thread::wait_finished_for(std::chrono::milliseconds limit) const {
    const std::shared_ptr<stop_signal> run = current();
    if (!run || is_current())
        return !run;
    const clock::time_point deadline = clock::now() + limit;
    return run->await_finished(&deadline);
}

void stoppable_thread::join() {
    const std::shared_ptr<stop_signal> run = current();
    if (!run)
        return;
    const bool self = is_current();
    if (!self)
        run->await_finished(nullptr);
    release(run, !self);
}

bool stoppable_thread::join_until(clock::time_point deadline) {
    const std::shared_ptr<stop_signal> run = current();
    if (!run)
        return true;
    const bool ended = !is_current() && run->await_finished(&deadline);
    release(run, ended);
    return ended;
}

void stoppable_thread::release(const std::shared_ptr<stop_signal> &run, bool join) {
    std::lock_guard lock(lock_);
    if (run_ != run)
        return;  // another caller released it first
    if (join)
        thread_.join();  // its body has returned: this waits only for the thread's last steps
    else
        thread_.detach();
    run_.reset();
}

}  // namespace vantix::support
