// SPDX-License-Identifier: Apache-2.0
// Screens of the store: the screen index, reading, writing, editing and
// deleting a screen, the store's sizes, and the active screen.
#include "display/store_io.hpp"
#include "display/store_wire.hpp"

namespace store = vantix::display::store;

extern "C" {

VANTIX_STORE_NUMBER(screen_idx, VANTIX_FEATURE_SCREEN_IDX, store::no_wait)
VANTIX_STORE_NUMBER(active_screen, VANTIX_FEATURE_ACTIVE_SCREEN, store::screen_wait)
VANTIX_STORE_READERS(screen, vantix_hid_feature_screen, VANTIX_FEATURE_SCREEN, VANTIX_FEATURE_SCREEN_SIZE,
                     vantix::display::decode_screen, store::screen_wait)
VANTIX_STORE_READERS(screen_region_info, vantix_hid_feature_screen_region_info,
                     VANTIX_FEATURE_SCREEN_REGION_INFO, VANTIX_FEATURE_SCREEN_REGION_INFO_SIZE,
                     vantix::display::decode_screen_region_info, store::no_wait)

VANTIX_STORE_WRITER(vantix_set_screen, vantix_hid_feature_screen, VANTIX_FEATURE_SCREEN,
                    VANTIX_FEATURE_SCREEN_SIZE, vantix::display::encode_screen, store::screen_wait)
VANTIX_STORE_WRITER(vantix_set_edit_screen, vantix_hid_feature_edit_screen, VANTIX_FEATURE_MODIFY_SCREEN,
                    VANTIX_FEATURE_MODIFY_SCREEN_SIZE, vantix::display::encode_edit_screen,
                    store::screen_wait)

vantix_error_code vantix_delete_screen(vantix_device *device, uint8_t screen_index) {
    VANTIX_TRACE_CALL();
    return store::write_number(device, VANTIX_FEATURE_DELETE_SCREEN, screen_index, store::screen_wait,
                               VANTIX_HERE);
}

}  // extern "C"
