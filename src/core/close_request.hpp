// SPDX-License-Identifier: Apache-2.0
// Closing a pad releases what opening it read through the layers above the
// core (regions, UUID), so vantix_close_device lives in the top layer. A
// driver that finds its pad gone (a failed read, a removal notice) closes it
// through here; the top layer installs its close when the library loads.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::core {

using close_function = vantix_error_code (*)(vantix_device *device);

void set_close_function(close_function close);

// Closes `device` as vantix_close_device does; VANTIX_CODE_ERROR when no
// close is installed (a program without the top layer opened no pad).
vantix_error_code close_device(vantix_device *device);

}  // namespace vantix::core
