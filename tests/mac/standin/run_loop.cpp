// SPDX-License-Identifier: Apache-2.0
// Per-thread run loops that block until a source in the running mode is
// signalled, the time is up, or the loop is stopped.
#include "run_loop.hpp"

#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "standin.hpp"

namespace standin {

struct run_loop : object {
    run_loop() : object(kind::run_loop) {}
    ~run_loop() override;

    // Guarded by the run loops' lock.
    std::condition_variable wake;
    bool stopped = false;
    std::vector<std::pair<run_loop_source *, std::string>> sources;
};

namespace {

std::mutex &loops_lock() {
    static auto *lock = new std::mutex;
    return *lock;
}

std::atomic<bool> untimed{false};
// How often an untimed run looks whether it is timed again.
constexpr std::chrono::milliseconds untimed_recheck{10};

// The threads blocked in a run, guarded by the run loops' lock.
std::vector<pthread_t> &waiting_threads() {
    static auto *threads = new std::vector<pthread_t>;
    return *threads;
}

// Blocks until the loop is woken or `deadline` passes (never, while runs
// are untimed); true when the time is up.
bool wait_for_wake(run_loop *loop, std::unique_lock<std::mutex> &lock,
                   std::chrono::steady_clock::time_point deadline) {
    const bool timed = !untimed.load();
    const auto until = timed ? deadline : std::chrono::steady_clock::now() + untimed_recheck;
    std::vector<pthread_t> &waiting = waiting_threads();
    waiting.push_back(pthread_self());
    const bool expired = loop->wake.wait_until(lock, until) == std::cv_status::timeout;
    waiting.erase(std::find_if(waiting.begin(), waiting.end(),
                               [](pthread_t t) { return pthread_equal(t, pthread_self()) != 0; }));
    return timed && expired && std::chrono::steady_clock::now() >= deadline;
}

// The thread's own reference to its run loop, dropped when it ends.
struct thread_loop {
    run_loop *loop = nullptr;
    ~thread_loop() {
        if (loop)
            unhold(loop);
    }
};

run_loop *current_loop() {
    thread_local thread_loop mine;
    if (!mine.loop) {
        mine.loop = track(new run_loop);
        own(mine.loop, 1);
    }
    return mine.loop;
}

run_loop *loop_of(CFRunLoopRef ref) {
    object *o = find(ref);
    return o && o->type == kind::run_loop ? static_cast<run_loop *>(o) : nullptr;
}

run_loop_source *source_of(CFRunLoopSourceRef ref) {
    object *o = find(ref);
    return o && o->type == kind::run_loop_source ? static_cast<run_loop_source *>(o) : nullptr;
}

template <typename Pairs, typename Key>
void erase_pair(Pairs &pairs, const Key &key) {
    pairs.erase(std::remove(pairs.begin(), pairs.end(), key), pairs.end());
}

}  // namespace

run_loop::~run_loop() {
    std::lock_guard lock(loops_lock());
    for (auto &[source, mode] : sources)
        erase_pair(source->added, std::make_pair(this, mode));
}

run_loop_source::~run_loop_source() { detach_everywhere(this); }

void detach_everywhere(run_loop_source *source) {
    std::lock_guard lock(loops_lock());
    for (auto &[loop, mode] : source->added)
        erase_pair(loop->sources, std::make_pair(source, mode));
    source->added.clear();
}

void set_untimed_runs(bool on) { untimed.store(on); }

bool waiting_in_run(pthread_t thread) {
    std::lock_guard lock(loops_lock());
    const std::vector<pthread_t> &waiting = waiting_threads();
    return std::any_of(waiting.begin(), waiting.end(),
                       [&](pthread_t t) { return pthread_equal(t, thread) != 0; });
}

void signal(run_loop_source *source) {
    std::lock_guard lock(loops_lock());
    source->signalled = true;
    for (auto &[loop, mode] : source->added)
        loop->wake.notify_all();
}

}  // namespace standin

using standin::run_loop;
using standin::run_loop_source;

extern "C" {

CFTypeID CFRunLoopGetTypeID(void) { return static_cast<CFTypeID>(standin::kind::run_loop); }

CFRunLoopRef CFRunLoopGetCurrent(void) { return reinterpret_cast<CFRunLoopRef>(standin::current_loop()); }

CFRunLoopRunResult CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds,
                                      Boolean returnAfterSourceHandled) {
    run_loop *loop = standin::current_loop();
    const std::string name = standin::text_of(mode);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(std::clamp(seconds, 0.0, 1.0e6)));
    std::unique_lock lock(standin::loops_lock());
    for (;;) {
        if (loop->stopped) {
            loop->stopped = false;
            return kCFRunLoopRunStopped;
        }
        run_loop_source *ready = nullptr;
        bool any = false;
        for (auto &[source, source_mode] : loop->sources)
            if (source_mode == name) {
                any = true;
                if (source->signalled && !ready)
                    ready = source;
            }
        if (!any)
            return kCFRunLoopRunFinished;
        if (ready) {
            ready->signalled = false;
            // Owner and source stay alive through the perform, even if it
            // closes the device or destroys the port that owns them.
            standin::hold(ready->owner);
            standin::hold(ready);
            lock.unlock();
            ready->perform();
            standin::unhold(ready);
            standin::unhold(ready->owner);
            if (returnAfterSourceHandled)
                return kCFRunLoopRunHandledSource;
            lock.lock();
            continue;
        }
        if (standin::wait_for_wake(loop, lock, deadline))
            return kCFRunLoopRunTimedOut;
    }
}

void CFRunLoopRun(void) {
    CFRunLoopRunResult result;
    do
        result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0e6, false);
    while (result != kCFRunLoopRunStopped && result != kCFRunLoopRunFinished);
}

// A stop that arrives while the loop is not running ends its next run at
// once, as the wake-up it sends is still pending then.
void CFRunLoopStop(CFRunLoopRef ref) {
    run_loop *loop = standin::loop_of(ref);
    if (!loop)
        return;
    std::lock_guard lock(standin::loops_lock());
    loop->stopped = true;
    loop->wake.notify_all();
}

void CFRunLoopAddSource(CFRunLoopRef ref, CFRunLoopSourceRef source_ref, CFRunLoopMode mode) {
    run_loop *loop = standin::loop_of(ref);
    run_loop_source *source = standin::source_of(source_ref);
    if (!loop || !source)
        return;
    const auto entry = std::make_pair(source, standin::text_of(mode));
    std::lock_guard lock(standin::loops_lock());
    if (std::find(loop->sources.begin(), loop->sources.end(), entry) != loop->sources.end())
        return;
    loop->sources.push_back(entry);
    source->added.emplace_back(loop, entry.second);
    if (source->signalled)
        loop->wake.notify_all();
}

void CFRunLoopRemoveSource(CFRunLoopRef ref, CFRunLoopSourceRef source_ref, CFRunLoopMode mode) {
    run_loop *loop = standin::loop_of(ref);
    run_loop_source *source = standin::source_of(source_ref);
    if (!loop || !source)
        return;
    const std::string name = standin::text_of(mode);
    std::lock_guard lock(standin::loops_lock());
    standin::erase_pair(loop->sources, std::make_pair(source, name));
    standin::erase_pair(source->added, std::make_pair(loop, name));
}

}  // extern "C"
