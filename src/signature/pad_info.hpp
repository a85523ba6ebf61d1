// SPDX-License-Identifier: Apache-2.0
// What a capture learns about its pad, from an open device or a caller.
#pragma once

#include <optional>
#include <string>

#include "vantix-signature.h"

namespace vantix::signature {

// The pad's description, or the reason it cannot be read.
struct pad_info_result {
    std::optional<vantix_signature_pad_info> info;
    std::string error;
};

pad_info_result read_pad_info(vantix_device *device);
// Empty when the description is usable, else what is wrong with it.
std::string check_pad_info(const vantix_signature_pad_info &info);

}  // namespace vantix::signature
