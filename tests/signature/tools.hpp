// SPDX-License-Identifier: Apache-2.0
// Helpers of the signature tests: a capture of a known pad, running the
// independent readers, and reading back a picture's grey levels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vantix-signature.h"

namespace vantix::test {

struct capture_deleter {
    void operator()(vantix_signature_capture *c) const { vantix_signature_capture_free(c); }
};
using capture_ptr = std::unique_ptr<vantix_signature_capture, capture_deleter>;

// The virtual pad's geometry: 240 x 64 display, calibrated area 100..3995 x 50..1041.
vantix_signature_pad_info sim_pad_info();
capture_ptr new_capture();

// Exit status and standard output of a shell command.
struct command_result {
    int status;
    std::string out;
};
command_result run(const std::string &command);
bool have_tool(const std::string &name);

// A unique scratch path under the temporary directory, removed by the test.
std::string scratch(const std::string &suffix);

struct grey_picture {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    std::uint8_t at(std::uint32_t x, std::uint32_t y) const { return pixels.at(std::size_t{y} * width + x); }
};
// Empty pixels when the file is no readable PNG.
grey_picture read_png(const std::string &path);
grey_picture read_png(const unsigned char *data, std::size_t size);

}  // namespace vantix::test
