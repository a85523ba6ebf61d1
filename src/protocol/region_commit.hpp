// SPDX-License-Identifier: Apache-2.0
// Ending a series of region edits: keep or drop what the pad holds unsaved.
// Below display so that the report families that must drop pending edits
// (serial number, error correction, calibration) reach it from here.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::protocol {

// The legacy edit-complete report, sent at once even while the pad holds
// the region interlock.
vantix_error_code commit_region_edits(vantix_device *device, vantix_region_save_changes commit);

// The store's save-or-reload report, between two waits for the region and
// screen interlocks.
vantix_error_code commit_screen_region_edits(vantix_device *device, vantix_screen_region_save_changes commit);

// Drops uncommitted region edits before a command that must not mix with
// them: through the store where the pad has one, else through the legacy
// edit-complete report. Whether one of the two discards was taken.
bool discard_region_edits(vantix_device *device);

}  // namespace vantix::protocol
