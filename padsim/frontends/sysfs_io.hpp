// SPDX-License-Identifier: Apache-2.0
// Small file helpers for configfs and sysfs: both are driven by writing
// short texts to attribute files, and a failure should name the file.
#pragma once

#include <string>

namespace padsim::frontend {

// Writes `text` to an attribute file; throws std::system_error naming it.
void write_attribute(const std::string &path, const std::string &text);
// The first line of a file without its newline; empty when unreadable.
std::string read_line(const std::string &path);
// mkdir that accepts an existing directory; throws naming the path.
void make_dir(const std::string &path);

}  // namespace padsim::frontend
