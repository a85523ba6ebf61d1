// SPDX-License-Identifier: Apache-2.0
// Open, read and close the virtual pad again and again through the shared
// library, as an application does; run under valgrind's memcheck, which
// must find no error and no leak. The number of cycles is VANTIX_CYCLES,
// else the argument, else 1000.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "padsim/sim_driver.hpp"
#include "vantix-zelnar.h"

namespace {

std::atomic<int> samples{0};

void on_input(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) { ++samples; }

// One cycle: open, a read thread taking two pen samples, close.
bool cycle(vantix_device *device, padsim::pad &pad) {
    if (vantix_open_device(device) != VANTIX_CODE_SUCCESS) {
        std::fprintf(stderr, "open failed: %s\n", vantix_get_last_error());
        return false;
    }
    vantix_register_input_callback(device, on_input);
    const int before = samples;
    vantix_device_read_until_done(device);
    pad.pen_sample({400, 400}, true);
    pad.pen_sample({410, 400}, false);
    for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         samples < before + 2 && std::chrono::steady_clock::now() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    vantix_device_read_done(device);
    if (samples < before + 2) {
        std::fprintf(stderr, "the pen samples did not arrive\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    const char *set = std::getenv("VANTIX_CYCLES");
    const int cycles = set ? std::atoi(set) : argc > 1 ? std::atoi(argv[1]) : 1000;
    vantix_init();
    padsim::register_sim_driver();
    vantix_device *devices = nullptr;
    vantix_list_devices(&devices);
    vantix_device *device = devices;
    while (device && device->driver != padsim::sim_driver())
        device = device->next;
    int done = 0;
    if (device) {
        padsim::pad &pad = padsim::pad_at(0);
        while (done < cycles && cycle(device, pad))
            ++done;
    }
    vantix_free_device_list(devices);
    padsim::reset();
    vantix_destroy();
    std::printf("%d of %d open/read/close cycles\n", done, cycles);
    return done == cycles ? 0 : 1;
}
