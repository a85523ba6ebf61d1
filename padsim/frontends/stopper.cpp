// SPDX-License-Identifier: Apache-2.0
#include "stopper.hpp"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace padsim::frontend {

stopper::stopper() : wake_(eventfd(0, EFD_CLOEXEC)) {
    if (wake_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
}

stopper::~stopper() { close(wake_); }

void stopper::stop() {
    stopping_ = true;
    const std::uint64_t one = 1;
    (void)!write(wake_, &one, sizeof one);
}

bool stopper::wait_readable(int fd) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake_, POLLIN, 0}};
    while (!stopping()) {
        if (poll(fds, 2, -1) >= 0)
            return !fds[1].revents && !stopping();
        if (errno != EINTR)
            return false;
    }
    return false;
}

}  // namespace padsim::frontend
