// SPDX-License-Identifier: Apache-2.0
// Handing rendered bytes out: to a file, or to a buffer the caller releases
// with vantix_signature_free_buffer.
#pragma once

#include <string>
#include <string_view>

#include "vantix-signature.h"

namespace vantix::signature {

vantix_error_code write_file(const std::string &bytes, const char *path);
vantix_error_code hand_out(std::string_view bytes, unsigned char **data, std::size_t *size);

}  // namespace vantix::signature
