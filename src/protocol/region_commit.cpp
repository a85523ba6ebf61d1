// SPDX-License-Identifier: Apache-2.0
// Ending a series of region edits: keep or drop what the pad holds unsaved.
#include "protocol/region_commit.hpp"

#include "protocol/report_io.hpp"

namespace vantix::protocol {
namespace {

constexpr int store_polls_before = 2101;
constexpr int store_polls_after = 2100;

}  // namespace

// Both commits log their entry and exit under the exported name wherever
// they are called from, as the log has always shown a discard.
vantix_error_code commit_region_edits(vantix_device *device, vantix_region_save_changes commit) {
    const debug::call_trace trace("vantix_set_region_commit", __FILE__, __LINE__);
    return write_byte_report(device,
                             {VANTIX_FEATURE_REGIONEDITCOMPLETE, VANTIX_FEATURE_REGIONEDITCOMPLETE_SIZE},
                             enum_byte(commit), {}, VANTIX_HERE);
}

vantix_error_code commit_screen_region_edits(vantix_device *device,
                                             vantix_screen_region_save_changes commit) {
    const debug::call_trace trace("vantix_set_screen_region_commit", __FILE__, __LINE__);
    if (!wait_for_interlock(device, store_polls_before, INTERLOCK_REGION | INTERLOCK_SCREEN))
        return VANTIX_CODE_ERROR;
    if (write_byte_report(
            device, {VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD, VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD_SIZE},
            enum_byte(commit), {}, VANTIX_HERE) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    if (!wait_for_interlock(device, store_polls_after, INTERLOCK_REGION | INTERLOCK_SCREEN))
        return VANTIX_CODE_ERROR;
    return VANTIX_CODE_SUCCESS;
}

bool discard_region_edits(vantix_device *device) {
    return commit_screen_region_edits(device, VANTIX_SCREEN_REGION_DISCARD_CHANGES) == VANTIX_CODE_SUCCESS ||
           commit_region_edits(device, VANTIX_REGION_DISCARD_CHANGES) == VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::protocol

extern "C" {

vantix_error_code vantix_set_region_commit(vantix_device *device, vantix_region_save_changes commit) {
    return vantix::protocol::commit_region_edits(device, commit);
}

vantix_error_code vantix_set_screen_region_commit(vantix_device *device,
                                                  vantix_screen_region_save_changes commit) {
    return vantix::protocol::commit_screen_region_edits(device, commit);
}

}  // extern "C"
