// SPDX-License-Identifier: Apache-2.0
// The built-in block font: turning text into glyph lists.
#include "debug/log.hpp"
#include "graphics/block_font.hpp"

using vantix::graphics::find_block_glyph;

namespace {

const vantix_block_font_char *block_glyph(int64_t code_point) {
    return find_block_glyph(vantix_block_font, VANTIX_BLOCK_FONT_GLYPH_COUNT, code_point);
}

}  // namespace

extern "C" {

const vantix_block_font_char *vantix_get_font_character(int32_t character) {
    VANTIX_TRACE_CALL();
    return block_glyph(character);
}

void vantix_font_get_from_string(const uint32_t *inChars, const vantix_block_font_char **outChars,
                                 uint32_t len) {
    VANTIX_TRACE_CALL();
    for (uint32_t i = 0; inChars && outChars && i < len; ++i)
        outChars[i] = block_glyph(inChars[i]);
}

// Bytes are code points 0 to 255 whatever the signedness of char.
void vantix_font_get_from_cstring(const char *inChars, const vantix_block_font_char **outChars,
                                  uint32_t len) {
    VANTIX_TRACE_CALL();
    for (uint32_t i = 0; inChars && outChars && i < len; ++i)
        outChars[i] = block_glyph(static_cast<unsigned char>(inChars[i]));
}

}  // extern "C"
