// SPDX-License-Identifier: Apache-2.0
// The driver the fixtures reach their virtual pads through. A test program
// links one implementation: padsim's SIM table (sim_pad_driver.cpp), or the
// macOS driver over the IOKit stand-in (mac/mac_pad_driver.cpp), so the
// same tests run against both.
#pragma once

#include "vantix-zelnar.h"

namespace vantix::test {

// Registers and starts the driver for padsim's pads (adding one when there
// is none) after vantix_init; returns its table.
vantix_device_driver *start_pad_driver();
// Lets `device` exchange feature reports before the library opens it, as
// the tests do with a listed record (the SIM table routes them anyway).
void prepare_listed_device(vantix_device *device);
// Takes the pads away from the driver before they are reset.
void stop_pad_driver(vantix_device *device);

}  // namespace vantix::test
