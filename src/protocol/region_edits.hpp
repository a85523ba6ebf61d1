// SPDX-License-Identifier: Apache-2.0
// Dropping uncommitted region edits before a command that must not mix
// with them: through the store where the pad has one, else through the
// legacy edit-complete report.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::protocol {

// Whether one of the two discards was taken.
inline bool discard_region_edits(vantix_device *device) {
    return vantix_set_screen_region_commit(device, VANTIX_SCREEN_REGION_DISCARD_CHANGES) ==
               VANTIX_CODE_SUCCESS ||
           vantix_set_region_commit(device, VANTIX_REGION_DISCARD_CHANGES) == VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::protocol
