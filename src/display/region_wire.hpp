// The wire form of one legacy region record (caption length L: L + 29 bytes).
#pragma once

#include "protocol/byte_order.hpp"
#include "vantix-zelnar.h"

namespace vantix::display {

constexpr size_t region_record_overhead = 29;

inline size_t region_record_size(unsigned int caption_length) {
    return caption_length + region_record_overhead;
}

// Decodes the record that starts at `at` in `r` into `region`.
void decode_region(protocol::report_view r, size_t at, unsigned int caption_length,
                   vantix_device_region_info &region);

// Encodes `region` at `at` in `r`; bytes it does not set stay as they are
// (callers pass zeroed buffers).
void encode_region(const vantix_device_region_info &region, unsigned int caption_length,
                   protocol::report_view r, size_t at);

}  // namespace vantix::display
