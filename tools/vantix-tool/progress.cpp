// SPDX-License-Identifier: Apache-2.0
#include "progress.hpp"

#include <unistd.h>

namespace tool {

progress_line::progress_line() : terminal_(isatty(STDERR_FILENO) != 0) {}

progress_line::~progress_line() {
    if (shown_)
        std::fputs("\n", stderr);
}

void progress_line::wipe() {
    if (shown_)
        std::fputs("\r\033[K", stderr);
    shown_ = false;
}

void progress_line::show(std::size_t points, std::size_t strokes) {
    if (!terminal_)
        return;
    std::lock_guard guard(lock_);
    wipe();
    std::fprintf(stderr, "%zu points, %zu strokes so far (Ctrl-C stops)", points, strokes);
    std::fflush(stderr);
    shown_ = true;
}

void progress_line::print(std::FILE *out, const std::string &line) {
    std::lock_guard guard(lock_);
    wipe();
    std::fprintf(out, "%s\n", line.c_str());
    std::fflush(out);
}

}  // namespace tool
