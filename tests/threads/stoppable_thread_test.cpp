// SPDX-License-Identifier: Apache-2.0
// The stoppable thread: stopped from outside and from inside, its wait cut
// short by a stop, and a bounded join of a thread that does not stop.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>

#include "support/stoppable_thread.hpp"

namespace {

using namespace std::chrono_literals;
using vantix::support::stop_signal;
using vantix::support::stoppable_thread;

TEST(stoppable_thread, AStopFromOutsideEndsTheWaitAndJoins) {
    stoppable_thread thread(1s);
    std::atomic<int> wakes{0};
    std::atomic<bool> stopped_wait{false};
    thread.start([&](const stop_signal &stop) { stopped_wait = stop.wait_for(24h); }, [&] { ++wakes; });
    EXPECT_TRUE(thread.started());
    EXPECT_FALSE(thread.is_current());
    thread.stop();  // returns only once the day-long wait was cut short
    EXPECT_TRUE(stopped_wait);
    EXPECT_EQ(wakes, 1);
    EXPECT_FALSE(thread.started());
    EXPECT_FALSE(thread.stop_requested());
}

TEST(stoppable_thread, AStopFromInsideLetsTheThreadGo) {
    stoppable_thread thread(1s);
    std::promise<bool> inside;
    thread.start([&](const stop_signal &stop) {
        thread.stop();  // must not wait for itself
        inside.set_value(stop.stop_requested());
    });
    EXPECT_TRUE(inside.get_future().get());
    EXPECT_FALSE(thread.started());
    thread.join();  // nothing left to join
}

TEST(stoppable_thread, ABoundedJoinLetsGoOfAThreadThatDoesNotStop) {
    stoppable_thread thread(1s);
    auto release = std::make_shared<std::promise<void>>();
    thread.start([blocked = release->get_future().share()](const stop_signal &) { blocked.wait(); });
    thread.request_stop();
    EXPECT_FALSE(thread.join_for(10ms));  // still blocked: let go
    EXPECT_FALSE(thread.started());
    release->set_value();  // the detached thread ends on its own
}

TEST(stoppable_thread, TheHandleCanStartAgainAfterAStop) {
    stoppable_thread thread(1s);
    for (int run = 0; run < 3; ++run) {
        thread.start([](const stop_signal &stop) { stop.wait_for(24h); });
        EXPECT_TRUE(thread.started());
        EXPECT_FALSE(thread.stop_requested());
        thread.stop();
    }
}

TEST(stoppable_thread, TheDestructorStopsARunningThread) {
    std::atomic<bool> ended{false};
    {
        stoppable_thread thread(24h);
        thread.start([&](const stop_signal &stop) {
            stop.wait_for(24h);
            ended = true;
        });
    }
    EXPECT_TRUE(ended);
}

}  // namespace
