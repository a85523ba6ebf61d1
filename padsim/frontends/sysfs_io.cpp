// SPDX-License-Identifier: Apache-2.0
#include "sysfs_io.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <system_error>

namespace padsim::frontend {

void write_attribute(const std::string &path, const std::string &text) {
    // One write() call: configfs and sysfs take an attribute in one piece.
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "open " + path);
    const ssize_t written = write(fd, text.data(), text.size());
    const int error = errno;
    close(fd);
    if (written != static_cast<ssize_t>(text.size()))
        throw std::system_error(written < 0 ? error : EIO, std::generic_category(), "write " + path);
}

std::string read_line(const std::string &path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

void make_dir(const std::string &path) {
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
        throw std::system_error(errno, std::generic_category(), "mkdir " + path);
}

}  // namespace padsim::frontend
