// SPDX-License-Identifier: Apache-2.0
// The process-wide legacy-firmware switch read by the firmware interlock.
#pragma once

#include <atomic>

namespace vantix {

extern std::atomic<bool> legacy_firmware;

}  // namespace vantix
