// The C entry points of the virtual pad.
#include <exception>

#include "padsim/sim_driver.hpp"
#include "vantix-padsim.h"

extern "C" {

vantix_device_driver *vantix_padsim_driver(void) { return padsim::sim_driver(); }

void vantix_padsim_register(void) { padsim::register_sim_driver(); }

int vantix_padsim_add_pad(void) { return static_cast<int>(padsim::add_pad()); }

int vantix_padsim_pad_count(void) { return static_cast<int>(padsim::pad_count()); }

int vantix_padsim_queue_input(int index, const unsigned char *report, unsigned int length) {
    if (index < 0 || static_cast<std::size_t>(index) >= padsim::pad_count() || !report)
        return 0;
    padsim::pad_at(static_cast<std::size_t>(index))
        .queue_input(std::vector<std::uint8_t>(report, report + length));
    return 1;
}

void vantix_padsim_reset(void) { padsim::reset(); }

}  // extern "C"
