// SPDX-License-Identifier: Apache-2.0
// Writing a file whole or not at all: a temporary file beside it, renamed
// over it once every byte is on disk.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vantix::document {

// Writes the `parts`, in order, to `path`. Throws document_error, leaving
// neither `path` changed nor a temporary file behind.
void write_whole_file(const std::string &path, std::initializer_list<std::string_view> parts);

}  // namespace vantix::document
