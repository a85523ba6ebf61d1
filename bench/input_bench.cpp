// SPDX-License-Identifier: Apache-2.0
// Decoding and dispatching one extended-coordinate report to two callbacks.
#include <benchmark/benchmark.h>

#include "vantix-zelnar.h"

namespace {

int sink = 0;
void count_x(vantix_device *, vantix_input_report *report, uint8_t, unsigned char *, unsigned int) {
    sink += report->extended_coordinate.x;
}
void count_type(vantix_device *, vantix_input_report *, uint8_t type, unsigned char *, unsigned int) {
    sink += type;
}

void BM_DecodeAndDispatchExtendedCoordinate(benchmark::State &state) {
    vantix_device pad{};
    vantix_device_region_info regions[4]{};
    pad.display_info.region_count = 4;
    pad.regions = regions;
    pad.open = 1;
    pad.input_callbacks = vantix_create_list();
    vantix_list_add(pad.input_callbacks, reinterpret_cast<void *>(count_x));
    vantix_list_add(pad.input_callbacks, reinterpret_cast<void *>(count_type));
    unsigned char report[7] = {VANTIX_INPUT_EXTENDEDCOORDINATE, 1, 0x34, 0x12, 0x78, 0x05, 2};
    for (auto _ : state)
        vantix_get_driver_input_report(&pad, report, sizeof report);
    benchmark::DoNotOptimize(sink);
    vantix_list_free(pad.input_callbacks);
}
BENCHMARK(BM_DecodeAndDispatchExtendedCoordinate);

}  // namespace
