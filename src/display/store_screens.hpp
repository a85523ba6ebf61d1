// SPDX-License-Identifier: Apache-2.0
// The store's screen records and their report bytes. Decoders fill a zeroed
// record and set its report ID; encoders leave bytes they do not own as
// they are (callers pass zeroed buffers).
#pragma once

#include "support/byte_order.hpp"
#include "vantix-zelnar.h"

namespace vantix::display {

void decode_screen(support::report_view r, vantix_hid_feature_screen &out);
void encode_screen(const vantix_hid_feature_screen &in, support::report_view r);
void encode_edit_screen(const vantix_hid_feature_edit_screen &in, support::report_view r);
void decode_screen_region_info(support::report_view r, vantix_hid_feature_screen_region_info &out);

}  // namespace vantix::display
