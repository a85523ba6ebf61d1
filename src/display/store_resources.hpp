// SPDX-License-Identifier: Apache-2.0
// The store's resource records and their report bytes. Decoders fill a
// zeroed record and set its report ID; the encoder leaves bytes it does not
// own as they are (callers pass zeroed buffers).
#pragma once

#include "support/byte_order.hpp"
#include "vantix-zelnar.h"

namespace vantix::display {

void decode_resource_info(support::report_view r, vantix_hid_feature_resource_info &out);
void decode_resource(support::report_view r, vantix_hid_feature_resource &out);
void encode_resource(const vantix_hid_feature_resource &in, support::report_view r);
void decode_resource_availability(support::report_view r, vantix_hid_feature_resource_availability &out);

}  // namespace vantix::display
