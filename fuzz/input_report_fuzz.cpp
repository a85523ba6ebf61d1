// SPDX-License-Identifier: Apache-2.0
// Input reports from a pad: decode and dispatch, with button events
// synthesised against a legacy region list that comes from the input too.
// Each input: region count, caption length, the region list report, then
// input reports, each preceded by its length.
#include <vector>

#include "fuzz_bytes.hpp"
#include "vantix-zelnar.h"

namespace {

void on_input(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    vantix::fuzz::bytes in(data, size);
    const unsigned count = in.take() % 17;
    const unsigned caption = in.take() % 65;
    std::vector<unsigned char> list = in.take(count * (caption + 29) + 1);
    list.resize(count * (caption + 29) + 1);
    std::vector<vantix_device_region_info> regions(count ? count : 1);
    vantix_parse_regions(list.data(), regions.data(), count, caption);

    vantix_device device{};
    device.open = 1;
    device.display_info.region_count = static_cast<uint8_t>(count);
    device.regions = regions.data();
    device.input_callbacks = vantix_create_list();
    vantix_register_input_callback(&device, on_input);
    while (!in.empty()) {
        std::vector<unsigned char> report = in.take(in.take());
        vantix_get_driver_input_report(&device, report.data(), static_cast<unsigned>(report.size()));
    }
    vantix_list_free(device.input_callbacks);
    return 0;
}
