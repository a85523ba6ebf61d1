// SPDX-License-Identifier: Apache-2.0
// How a front-end's service threads wait for the kernel and are told to
// end: a flag plus an eventfd that wakes a thread blocked in poll().
#pragma once

#include <atomic>

namespace padsim::frontend {

class stopper {
public:
    stopper();  // throws std::system_error when no eventfd can be had
    ~stopper();
    stopper(const stopper &) = delete;
    stopper &operator=(const stopper &) = delete;

    void stop();
    bool stopping() const { return stopping_.load(); }
    // Blocks until `fd` is readable (true) or stop() is called (false).
    bool wait_readable(int fd) const;

private:
    int wake_;
    std::atomic<bool> stopping_{false};
};

}  // namespace padsim::frontend
