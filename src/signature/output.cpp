// SPDX-License-Identifier: Apache-2.0
#include "output.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "errors.hpp"

namespace vantix::signature {
namespace {

struct file_closer {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

std::string unable(const char *path) {
    return std::string("Unable to write ") + path + ": " + std::strerror(errno);
}

}  // namespace

vantix_error_code write_file(const std::string &bytes, const char *path) {
    if (!path)
        return fail("No path given to write the signature to.");
    std::unique_ptr<std::FILE, file_closer> file(std::fopen(path, "wb"));
    if (!file)
        return fail(unable(path));
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return fail(unable(path));
    // Closing flushes; a full disk shows up only here.
    if (std::fclose(file.release()) != 0)
        return fail(unable(path));
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code hand_out(std::string_view bytes, unsigned char **data, std::size_t *size) {
    if (!data || !size)
        return fail("No buffer given to export the signature to.");
    // One extra byte terminates text formats for callers that print them.
    auto *copy = static_cast<unsigned char *>(std::malloc(bytes.size() + 1));
    if (!copy)
        return fail("Out of memory for the exported signature.");
    std::memcpy(copy, bytes.data(), bytes.size());
    copy[bytes.size()] = 0;
    *data = copy;
    *size = bytes.size();
    return VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::signature
