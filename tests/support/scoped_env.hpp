// SPDX-License-Identifier: Apache-2.0
// Test helpers: environment variables set for one scope, a private temporary
// directory, and reading a whole file.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace vantix::test {

// Sets or clears variables and restores their previous values on exit.
class scoped_env {
public:
    scoped_env &set(const std::string &name, const std::string &value) {
        remember(name);
        ::setenv(name.c_str(), value.c_str(), 1);
        return *this;
    }
    scoped_env &unset(const std::string &name) {
        remember(name);
        ::unsetenv(name.c_str());
        return *this;
    }
    ~scoped_env() {
        for (const auto &[name, value] : saved_)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

private:
    void remember(const std::string &name) {
        if (saved_.count(name))
            return;
        const char *old = ::getenv(name.c_str());
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

class temp_dir {
public:
    temp_dir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantix-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~temp_dir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void write_file(const std::string &path, const std::string &content) {
    std::ofstream(path, std::ios::binary) << content;
}

}  // namespace vantix::test
