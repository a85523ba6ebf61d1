// SPDX-License-Identifier: Apache-2.0
// Log handlers added and removed while other threads log: a handler that has
// been removed is never called again, so its owner may free it at once.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "debug/log.hpp"
#include "support/log_capture.hpp"
#include "support/scoped_env.hpp"

namespace {

TEST(log_handlers, RemovedHandlersAreNeverCalledWhileOtherThreadsLog) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_debug_init("handlers");
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        while (!stop.load())
            VANTIX_LOG_WARNING("from the writer thread");
    });
    for (int round = 0; round < 2000; ++round) {
        // Heap-allocated so that a call after removal touches freed memory,
        // which the sanitizer builds report.
        auto capture = std::make_unique<vantix::test::log_capture>(VANTIX_DEBUG_LEVEL_WARNING);
        std::this_thread::yield();
    }
    // The writer was logging all along: a handler that stays sees it.
    vantix::test::log_capture last(VANTIX_DEBUG_LEVEL_WARNING);
    while (last.count(VANTIX_DEBUG_LEVEL_WARNING, "from the writer") == 0)
        std::this_thread::yield();
    stop.store(true);
    writer.join();
    vantix_debug_destroy();
}

}  // namespace
