// SPDX-License-Identifier: Apache-2.0
// The fixtures' pads through the macOS driver: each of padsim's pads is
// attached to the IOKit stand-in as a HID device.
#include "padsim/sim_driver.hpp"
#include "platform/mac/mac_driver.hpp"
#include "protocol/pad_driver.hpp"
#include "standin.hpp"

namespace vantix::test {

vantix_device_driver *start_pad_driver() {
    if (padsim::pad_count() == 0)
        padsim::add_pad();
    for (std::size_t index = 0; index < padsim::pad_count(); ++index)
        standin::attach(padsim::pad_ptr(index));
    vantix_add_device_driver(&vantix_mac_driver);
    vantix_mac_driver.initialized = vantix_mac_driver.driver_init() == VANTIX_CODE_SUCCESS ? 1 : 0;
    return &vantix_mac_driver;
}

// The HID device is opened at the driver level only: the record stays
// closed for the library, which opens it (keeping this IOKit open) when
// the test does.
void prepare_listed_device(vantix_device *device) {
    if (device)
        vantix_mac_driver.open_device(device);
}

void stop_pad_driver(vantix_device *device) {
    if (device && !device->open)
        vantix_mac_driver.close_device(device);
    standin::unplug_all();
}

}  // namespace vantix::test
