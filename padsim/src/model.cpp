// SPDX-License-Identifier: Apache-2.0
// Defaults of a pad model that come from the build.
#include "padsim/model.hpp"

#ifndef VANTIX_PADSIM_VENDOR_ID
#error "the build passes the pads' USB vendor ID"
#endif
#ifndef VANTIX_PADSIM_SERIAL_WRITE_KEY
#error "the build passes the serial-number write key"
#endif

namespace padsim {

model::model() : vendor_id(VANTIX_PADSIM_VENDOR_ID), serial_write_key(VANTIX_PADSIM_SERIAL_WRITE_KEY) {}

}  // namespace padsim
