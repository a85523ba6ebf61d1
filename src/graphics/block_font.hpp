// SPDX-License-Identifier: Apache-2.0
// The block font: glyph lookup shared by the text functions.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vantix-zelnar.h"

namespace vantix::graphics {

// The glyph of `code_point` in a table sorted by ascending code point, or
// the glyph of code point 0 when there is none (null if 0 is missing too).
const vantix_block_font_char *find_block_glyph(const vantix_block_font_char *table, size_t count,
                                               int64_t code_point);

}  // namespace vantix::graphics
