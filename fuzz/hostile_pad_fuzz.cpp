// SPDX-License-Identifier: Apache-2.0
// A hostile pad end to end: a driver table answers every feature report
// with the next bytes of the input (or fails it), through
// vantix_open_device and a whole session (identity, regions, the store's
// records, pixels, drawing, input reads). The polling pauses are made
// instant, so a pad that stays busy costs no time.
#include <cstring>
#include <vector>

#include "core/pause.hpp"
#include "fuzz_bytes.hpp"
#include "support/whole_session.hpp"
#include "vantix-zelnar.h"

namespace {

vantix::fuzz::bytes *pad_bytes = nullptr;

// The first byte of an answer: 0xFF fails the transfer, an odd value keeps
// the requested ID in byte 0, anything else lets the pad's bytes stand.
vantix_error_code answer(vantix_device *, unsigned char *buffer, unsigned int length) {
    const uint8_t mode = pad_bytes->take();
    if (mode == 0xFF)
        return VANTIX_CODE_ERROR;
    const unsigned char id = buffer[0];
    const std::vector<unsigned char> reply = pad_bytes->take(length);
    if (!reply.empty())
        std::memcpy(buffer, reply.data(), reply.size());
    if (mode & 1)
        buffer[0] = id;
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code accept(vantix_device *, unsigned char *, unsigned int) {
    return pad_bytes->take() == 0xFF ? VANTIX_CODE_ERROR : VANTIX_CODE_SUCCESS;
}

vantix_error_code opened(vantix_device *) { return VANTIX_CODE_SUCCESS; }

vantix_error_code read_report(vantix_device *device) {
    std::vector<unsigned char> report = pad_bytes->take(pad_bytes->take());
    vantix_get_driver_input_report(device, report.data(), static_cast<unsigned int>(report.size()));
    return VANTIX_CODE_SUCCESS;
}

const char *name() { return "HOSTILE"; }

vantix_device_driver hostile = {
    .open_device = opened,
    .close_device = opened,
    .device_read = read_report,
    .set_output_report = accept,
    .set_feature_report = accept,
    .get_feature_report = answer,
    .get_name = name,
};

void on_input(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {}

void no_pause(unsigned int) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // The session prints the records it reads.
    static vantix::testing::quiet_stdout quiet;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    vantix::set_pause_function(no_pause);
    vantix::fuzz::bytes in(data, size);
    pad_bytes = &in;
    char path[] = "hostile:0";
    vantix_device device{};
    device.path = path;
    device.driver = &hostile;
    if (vantix_open_device(&device) == VANTIX_CODE_SUCCESS) {
        vantix_register_input_callback(&device, on_input);
        vantix::testing::run_whole_session(&device, 4);
        vantix_close_device(&device);
    }
    pad_bytes = nullptr;
    return 0;
}
