// SPDX-License-Identifier: Apache-2.0
// The fixtures' pads through padsim's SIM table.
#include "padsim/sim_driver.hpp"
#include "protocol/pad_driver.hpp"

namespace vantix::test {

vantix_device_driver *start_pad_driver() {
    padsim::register_sim_driver();
    return padsim::sim_driver();
}

void prepare_listed_device(vantix_device *) {}

void stop_pad_driver(vantix_device *) {}

}  // namespace vantix::test
