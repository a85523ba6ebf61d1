// SPDX-License-Identifier: Apache-2.0
// The store's region record and its report bytes (report 152). The decoder
// fills a zeroed record and sets its report ID; the encoder leaves bytes it
// does not own as they are (callers pass zeroed buffers).
#pragma once

#include "support/byte_order.hpp"
#include "vantix-zelnar.h"

namespace vantix::display {

// Report 152 for a pad with captions of up to `caption_length` bytes.
inline size_t store_region_size(unsigned int caption_length) { return caption_length + 34u; }

void decode_store_region(support::report_view r, unsigned int caption_length, vantix_hid_feature_region &out);
void encode_store_region(const vantix_hid_feature_region &in, unsigned int caption_length,
                         support::report_view r);

}  // namespace vantix::display
