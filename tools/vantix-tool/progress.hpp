// SPDX-License-Identifier: Apache-2.0
// The "points and strokes so far" line that monitor and sign keep current
// on a terminal, and event lines printed around it from the read thread.
#pragma once

#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>

namespace tool {

class progress_line {
public:
    progress_line();  // the line shows only when standard error is a terminal
    ~progress_line();
    progress_line(const progress_line &) = delete;
    progress_line &operator=(const progress_line &) = delete;

    void show(std::size_t points, std::size_t strokes);
    // One line to `out`, the progress line wiped first so they do not mix.
    void print(std::FILE *out, const std::string &line);

private:
    void wipe();
    std::mutex lock_;
    bool terminal_;
    bool shown_ = false;
};

}  // namespace tool
