// SPDX-License-Identifier: Apache-2.0
// The store's records and their report bytes. Decoders fill a zeroed record
// and set its report ID; encoders leave bytes they do not own as they are
// (callers pass zeroed buffers).
#pragma once

#include <initializer_list>

#include "protocol/byte_order.hpp"
#include "vantix-zelnar.h"

namespace vantix::display {

// Report 152 for a pad with captions of up to `caption_length` bytes.
inline size_t store_region_size(unsigned int caption_length) { return caption_length + 34u; }

void decode_store_region(protocol::report_view r, unsigned int caption_length,
                         vantix_hid_feature_region &out);
void encode_store_region(const vantix_hid_feature_region &in, unsigned int caption_length,
                         protocol::report_view r);

void decode_resource_info(protocol::report_view r, vantix_hid_feature_resource_info &out);
void decode_resource(protocol::report_view r, vantix_hid_feature_resource &out);
void encode_resource(const vantix_hid_feature_resource &in, protocol::report_view r);
void decode_resource_availability(protocol::report_view r, vantix_hid_feature_resource_availability &out);

void decode_screen(protocol::report_view r, vantix_hid_feature_screen &out);
void encode_screen(const vantix_hid_feature_screen &in, protocol::report_view r);
void encode_edit_screen(const vantix_hid_feature_edit_screen &in, protocol::report_view r);
void decode_screen_region_info(protocol::report_view r, vantix_hid_feature_screen_region_info &out);

// Runs of one-byte wire fields that records keep in separate members.
template <typename Field>
void get_each(protocol::report_view r, size_t at, std::initializer_list<Field *> fields) {
    for (Field *field : fields)
        *field = r.get1(at++);
}
template <typename Field>
void put_each(protocol::report_view r, size_t at, std::initializer_list<const Field *> fields) {
    for (const Field *field : fields)
        r.put1(at++, static_cast<uint8_t>(*field));
}

}  // namespace vantix::display
