// SPDX-License-Identifier: Apache-2.0
// The display path: packing a full 240 x 64 screen at each depth, the
// transfers a full-screen paint makes, and measuring and drawing a
// 40-character line on a pad. The pad is a driver table that answers at
// once and counts, so the figures are the library's own; heap allocations
// are counted by wrapping the C allocator (operator new goes through it).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "allocation_count.hpp"
#include "display/chunk_packing.hpp"
#include "vantix-zelnar.h"

namespace {

unsigned long status_polls = 0, chunks = 0, other_transfers = 0;

// A pad that is never busy and takes every report.
vantix_error_code get_report(vantix_device *, unsigned char *buffer, unsigned int length) {
    if (buffer[0] == VANTIX_FEATURE_DEVICE_STATUS)
        ++status_polls;
    else
        ++other_transfers;
    std::memset(buffer + 1, 0, length - 1);
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code set_report(vantix_device *, unsigned char *buffer, unsigned int) {
    (buffer[0] == VANTIX_FEATURE_UPDATEDISPLAYCHUNK ? chunks : other_transfers)++;
    return VANTIX_CODE_SUCCESS;
}

vantix_device_driver counting_driver() {
    vantix_device_driver driver{};
    driver.get_feature_report = get_report;
    driver.set_feature_report = set_report;
    return driver;
}

struct counting_pad {
    vantix_device_driver driver = counting_driver();
    vantix_device device{};
    counting_pad() {
        device.driver = &driver;
        device.open = 1;
        device.display_info = {VANTIX_FEATURE_DISPLAYINFO, 240, 64, 4, 40, 8, 8, 20};
        device.font = const_cast<vantix_enhanced_font *>(&vantix_default);
        status_polls = chunks = other_transfers = 0;
    }
};

struct screen_bitmap {
    std::vector<unsigned char> buffer = std::vector<unsigned char>(54 + 240 * 3 * 64);
    vantix_bitmap bmp{};
    screen_bitmap() {
        vantix_bitmap_init(&bmp, buffer.data(), 240, 64);
        for (int32_t y = 0; y < 64; ++y)
            for (int32_t x = 0; x < 240; ++x)
                vantix_set_pixel(&bmp, x, y, static_cast<vantix_gcolor>((x ^ y) * 0x01010100u | 0xFF));
    }
};

void BM_PackScreen(benchmark::State &state) {
    const int depth = static_cast<int>(state.range(0));
    const screen_bitmap screen;
    const vantix::display::chunk_size size = vantix::display::plan_chunks(240, 64, depth);
    uint8_t payload[VANTIX_DISPLAY_CHUNK_PAYLOAD];
    for (auto _ : state)
        for (uint32_t x0 = 0; x0 < 240; x0 += size.width)
            for (uint32_t y0 = 0; y0 < 64; y0 += size.height) {
                std::memset(payload, 0, sizeof payload);
                vantix::display::pack_rectangle(screen.bmp, x0, y0, std::min(size.width, 240 - x0),
                                                std::min(size.height, 64 - y0), depth, payload);
                benchmark::DoNotOptimize(payload);
            }
    state.SetLabel("one full screen per iteration");
}
BENCHMARK(BM_PackScreen)->Arg(1)->Arg(4)->Arg(8)->Arg(24);

// A full-screen paint must cost its chunks and one interlock poll before
// each, and nothing else.
void BM_PaintScreen(benchmark::State &state) {
    const int depth = static_cast<int>(state.range(0));
    screen_bitmap screen;
    counting_pad pad;
    const unsigned long before = allocations.load();
    for (auto _ : state)
        if (vantix_transfer_bitmap_to_device(&pad.device, &screen.bmp, 0, 0, depth) != VANTIX_CODE_SUCCESS)
            state.SkipWithError(vantix_get_last_error());
    const double paints = static_cast<double>(state.iterations());
    state.counters["chunks"] = static_cast<double>(chunks) / paints;
    state.counters["polls"] = static_cast<double>(status_polls) / paints;
    state.counters["transfers"] = static_cast<double>(chunks + status_polls + other_transfers) / paints;
    state.counters["allocs"] = static_cast<double>(allocations.load() - before) / paints;
    if (other_transfers != 0 || status_polls != chunks)
        state.SkipWithError("a paint made transfers other than its chunks and their polls");
}
BENCHMARK(BM_PaintScreen)->Arg(1)->Arg(4)->Arg(8)->Arg(24);

const char forty[] = "Signed by Jane Q. Example, 2026-12-08 ok";

void BM_MeasureTextOnPad(benchmark::State &state) {
    counting_pad pad;
    const unsigned long before = allocations.load();
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantix_measure_text_width(&pad.device, forty));
        benchmark::DoNotOptimize(vantix_measure_text_height(&pad.device, forty));
    }
    state.counters["allocs"] =
        static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_MeasureTextOnPad);

void BM_DrawTextOnPad(benchmark::State &state) {
    counting_pad pad;
    const unsigned long before = allocations.load();
    for (auto _ : state)
        if (vantix_device_draw_text(&pad.device, forty, 0, 0, VANTIX_ALIGN_LEFT, 0) != VANTIX_CODE_SUCCESS)
            state.SkipWithError(vantix_get_last_error());
    const double draws = static_cast<double>(state.iterations());
    state.counters["allocs"] = static_cast<double>(allocations.load() - before) / draws;
    state.counters["transfers"] = static_cast<double>(chunks + status_polls + other_transfers) / draws;
    state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_DrawTextOnPad);

}  // namespace

BENCHMARK_MAIN();
