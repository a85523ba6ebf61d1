// SPDX-License-Identifier: Apache-2.0
// The wire form of one legacy region record (caption length L: L + 29 bytes).
#pragma once

#include "support/byte_order.hpp"
#include "vantix-zelnar.h"

namespace vantix::display {

constexpr size_t region_record_overhead = 29;

inline size_t region_record_size(unsigned int caption_length) {
    return caption_length + region_record_overhead;
}

// Colours travel red, green, blue, alpha; records declare them the other way.
vantix_color get_color(support::report_view r, size_t at);
void put_color(support::report_view r, size_t at, const vantix_color &c);

// A caption of a pad whose maximum is `caption_length` (L) bytes. Reading
// keeps what the 100-byte field holds and always terminates it; writing
// sends the text with its terminator, never more than L bytes nor more than
// the field holds.
void get_caption(support::report_view r, size_t at, unsigned int caption_length,
                 char (&caption)[VANTIX_REGION_CAPTION_SIZE]);
void put_caption(support::report_view r, size_t at, unsigned int caption_length,
                 const char (&caption)[VANTIX_REGION_CAPTION_SIZE]);

// Decodes the record that starts at `at` in `r` into `region`.
void decode_region(support::report_view r, size_t at, unsigned int caption_length,
                   vantix_device_region_info &region);

// Encodes `region` at `at` in `r`; bytes it does not set stay as they are
// (callers pass zeroed buffers).
void encode_region(const vantix_device_region_info &region, unsigned int caption_length,
                   support::report_view r, size_t at);

}  // namespace vantix::display
