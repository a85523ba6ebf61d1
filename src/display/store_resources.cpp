// SPDX-License-Identifier: Apache-2.0
// Resources of the store: the resource index, information about the
// selected resource, its pieces, deleting, and free space.
#include "display/store_io.hpp"
#include "display/store_wire.hpp"

namespace store = vantix::display::store;

extern "C" {

VANTIX_STORE_NUMBER(resource_idx, VANTIX_FEATURE_RESOURCE_IDX, store::no_wait)
VANTIX_STORE_READERS(resource_info, vantix_hid_feature_resource_info, VANTIX_FEATURE_RESOURCE_INFO,
                     VANTIX_FEATURE_RESOURCE_INFO_SIZE, vantix::display::decode_resource_info, store::no_wait)
VANTIX_STORE_READERS(resource, vantix_hid_feature_resource, VANTIX_FEATURE_RESOURCE,
                     VANTIX_FEATURE_RESOURCE_SIZE, vantix::display::decode_resource, store::no_wait)
VANTIX_STORE_READERS(resource_availability, vantix_hid_feature_resource_availability,
                     VANTIX_FEATURE_RESOURCE_AVAILABILITY, VANTIX_FEATURE_RESOURCE_AVAILABILITY_SIZE,
                     vantix::display::decode_resource_availability, store::no_wait)

// One piece per call; size and CRC are the caller's and pass unchanged.
VANTIX_STORE_WRITER(vantix_set_resource, vantix_hid_feature_resource, VANTIX_FEATURE_RESOURCE,
                    VANTIX_FEATURE_RESOURCE_SIZE, vantix::display::encode_resource,
                    store::region_and_screen_wait)

vantix_error_code vantix_delete_resource(vantix_device *device, uint8_t resource_index) {
    VANTIX_TRACE_CALL();
    return store::write_number(device, VANTIX_FEATURE_DELETE_RESOURCE, resource_index,
                               store::region_and_screen_wait, VANTIX_HERE);
}

}  // extern "C"
