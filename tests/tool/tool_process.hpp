// SPDX-License-Identifier: Apache-2.0
// vantix-tool run as a process, for the tests that drive it as scripts do.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tool_test {

struct outcome {
    int code;
    std::string output;  // standard output and error together
};

// Runs the tool (or, with `program` "", a shell command) in `dir` with
// standard input closed.
inline outcome run(const std::string &args, const std::filesystem::path &dir = ::testing::TempDir(),
                   const std::string &program = "'" VANTIX_TOOL_PATH "' ") {
    const std::string command = "cd '" + dir.string() + "' && " + program + args + " 2>&1 </dev/null";
    outcome o{-1, {}};
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return o;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        o.output.append(chunk, n);
    const int status = pclose(pipe);
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
}

// An empty directory of its own for a test's files.
inline std::filesystem::path fresh_dir(const char *name) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline bool has(const outcome &o, const std::string &text) {
    return o.output.find(text) != std::string::npos;
}

}  // namespace tool_test
