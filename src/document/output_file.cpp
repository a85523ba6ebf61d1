// SPDX-License-Identifier: Apache-2.0
#include "output_file.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "errors.hpp"

namespace vantix::document {
namespace {

// The temporary file: closed and removed unless it was renamed into place.
class temporary_file {
public:
    // A new name beside `beside`, created with the mode a new file gets
    // (0666 less the umask; mkstemp would make it 0600).
    explicit temporary_file(const std::string &beside) {
        std::random_device random;
        for (int attempt = 0; fd_ < 0; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
            path_ = beside + suffix;
            fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ < 0 && (errno != EEXIST || attempt == 100))
                throw document_error("Cannot write " + beside + ": " + std::strerror(errno) + ".");
        }
    }
    ~temporary_file() {
        if (fd_ >= 0)
            close(fd_);
        if (!renamed_)
            unlink(path_.c_str());
    }
    temporary_file(const temporary_file &) = delete;
    temporary_file &operator=(const temporary_file &) = delete;

    bool write_all(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    // Flushes, closes and renames to `target`.
    bool commit(const std::string &target) {
        const bool flushed = fsync(fd_) == 0;
        const bool closed = close(fd_) == 0;
        fd_ = -1;
        renamed_ = flushed && closed && std::rename(path_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    std::string path_;
    int fd_ = -1;
    bool renamed_ = false;
};

}  // namespace

void write_whole_file(const std::string &path, std::initializer_list<std::string_view> parts) {
    temporary_file file(path);
    for (std::string_view part : parts)
        if (!file.write_all(part))
            throw document_error("Cannot write " + path + ": " + std::strerror(errno) + ".");
    if (!file.commit(path))
        throw document_error("Cannot write " + path + ": " + std::strerror(errno) + ".");
}

}  // namespace vantix::document
