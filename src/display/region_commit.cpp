// SPDX-License-Identifier: Apache-2.0
// Ending a series of region edits: keep or drop what the pad holds unsaved.
#include "protocol/report_io.hpp"

namespace {

constexpr int store_polls_before = 2101;
constexpr int store_polls_after = 2100;

}  // namespace

extern "C" {

// Sent at once, even while the pad holds the region interlock.
vantix_error_code vantix_set_region_commit(vantix_device *device, vantix_region_save_changes commit) {
    VANTIX_TRACE_CALL();
    return vantix::protocol::write_byte_report(device, VANTIX_FEATURE_REGIONEDITCOMPLETE,
                                               VANTIX_FEATURE_REGIONEDITCOMPLETE_SIZE,
                                               vantix::protocol::enum_byte(commit));
}

vantix_error_code vantix_set_screen_region_commit(vantix_device *device,
                                                  vantix_screen_region_save_changes commit) {
    VANTIX_TRACE_CALL();
    if (!wait_for_interlock(device, store_polls_before, INTERLOCK_REGION | INTERLOCK_SCREEN))
        return VANTIX_CODE_ERROR;
    if (vantix::protocol::write_byte_report(device, VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD,
                                            VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD_SIZE,
                                            vantix::protocol::enum_byte(commit)) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    if (!wait_for_interlock(device, store_polls_after, INTERLOCK_REGION | INTERLOCK_SCREEN))
        return VANTIX_CODE_ERROR;
    return VANTIX_CODE_SUCCESS;
}

}  // extern "C"
