// SPDX-License-Identifier: Apache-2.0
// One pad path's thread and what the service knows of it.
#pragma once

#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "open_pad.hpp"

namespace bridge {

namespace asio = boost::asio;

// One pad path's own thread: every library call for the pad open there
// (open, prompt, capture, virtual pen, close) runs on it, in the order the
// owner sent them, so pads never wait for each other. It lives while the
// path is owned or has work queued.
struct pad_slot {
    explicit pad_slot(std::string p) : path(std::move(p)) {}
    ~pad_slot() { stop(); }
    pad_slot(const pad_slot &) = delete;
    pad_slot &operator=(const pad_slot &) = delete;

    // Lets the current task end, then closes the pad and ends the thread.
    void stop() {
        work.reset();
        io.stop();
        if (thread.joinable())
            thread.join();
    }

    const std::string path;
    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> work{io.get_executor()};
    std::thread thread;

    // The service's thread only:
    std::uint64_t owner = 0;    // the connection it is open for; 0: free
    std::uint64_t session = 0;  // which opening of the path
    std::size_t posted = 0;     // tasks handed to the pad's thread
    std::atomic<std::size_t> done{0};

    // The pad's thread only:
    std::unique_ptr<open_pad> pad;
    std::uint64_t pad_session = 0;
};

inline bool open_for(const pad_slot &slot, std::uint64_t session) {
    return slot.pad && slot.pad_session == session;
}

}  // namespace bridge
