// SPDX-License-Identifier: Apache-2.0
// Signature capture and export: the cost of one fed sample (the capture's
// lock and its growing point array, amortised over a signature), and the
// time to export a 2,000-point signature to each format, and a zig-zag drawn
// into a large picture, where each segment spans the whole picture.
#include <benchmark/benchmark.h>

#include <cmath>

#include "allocation_count.hpp"
#include "vantix-signature.h"

namespace {

vantix_signature_capture *sim_capture() {
    vantix_signature_pad_info info{};
    info.x_max = 4095, info.y_max = 1091;
    info.active_x_min = 100, info.active_x_max = 3995, info.active_y_min = 50, info.active_y_max = 1041;
    info.display_width = 240, info.display_height = 64;
    return vantix_signature_capture_new_with_info(&info);
}

// A signature-like pen path: 2,000 samples in 20 strokes of 100.
void add_signature(vantix_signature_capture *capture, int points) {
    for (int i = 0; i < points; ++i) {
        const double t = i * 0.05;
        const auto x = static_cast<uint16_t>(200 + i * 1.8 + 150 * std::sin(t * 3));
        const auto y = static_cast<uint16_t>(550 + 350 * std::sin(t * 7) * std::cos(t));
        vantix_signature_add_point(capture, x, y, 0.5f + 0.4f * static_cast<float>(std::sin(t)),
                                   i % 100 != 99, static_cast<uint64_t>(i) * 5000);
    }
}

// Samples are fed in signatures of 2,000 and the capture cleared between
// them, as an application does; clearing keeps the array's capacity.
void BM_FeedSample(benchmark::State &state) {
    vantix_signature_capture *capture = sim_capture();
    vantix_input_report report{};
    report.coordinate.report_id = VANTIX_INPUT_COORDINATE;
    report.coordinate.sample_info.common.down = 1;
    const unsigned long before = allocations.load();
    unsigned n = 0;
    for (auto _ : state) {
        report.coordinate.x = static_cast<uint16_t>(n & 0xfff);
        report.coordinate.y = static_cast<uint16_t>(n & 0x3ff);
        vantix_signature_feed(capture, &report, VANTIX_INPUT_COORDINATE);
        if (++n % 2000 == 0)
            vantix_signature_clear(capture);
    }
    state.counters["allocs/sample"] =
        static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations());
    vantix_signature_capture_free(capture);
}
BENCHMARK(BM_FeedSample);

using buffer_exporter = vantix_error_code (*)(const vantix_signature_capture *,
                                              const vantix_signature_export_options *, unsigned char **,
                                              size_t *);

void export_2000(benchmark::State &state, buffer_exporter write) {
    vantix_signature_capture *capture = sim_capture();
    add_signature(capture, 2000);
    size_t bytes = 0;
    for (auto _ : state) {
        unsigned char *data = nullptr;
        if (!write(capture, nullptr, &data, &bytes))
            state.SkipWithError(vantix_signature_last_error());
        vantix_signature_free_buffer(data);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    vantix_signature_capture_free(capture);
}
BENCHMARK_CAPTURE(export_2000, svg, vantix_signature_export_svg_buffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(export_2000, png, vantix_signature_export_png_buffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(export_2000, inkml, vantix_signature_export_inkml_buffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(export_2000, json, vantix_signature_export_json_buffer)->Unit(benchmark::kMicrosecond);

// Forty points from corner to corner of the calibrated area, exported at
// the width of the argument (the display's aspect kept): each segment's
// bounding box is the whole picture, the ink it lays a thin band.
void BM_ExportPngZigZag(benchmark::State &state) {
    vantix_signature_capture *capture = sim_capture();
    const uint16_t corners[][2] = {{100, 50}, {3995, 1041}, {3995, 50}, {100, 1041}};
    for (int i = 0; i < 40; ++i)
        vantix_signature_add_point(capture, corners[i % 4][0], corners[i % 4][1], 1.0f, 1, 0);
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    options.width = static_cast<uint32_t>(state.range(0));
    options.height = options.width * 64 / 240;
    for (auto _ : state) {
        unsigned char *data = nullptr;
        size_t bytes = 0;
        if (!vantix_signature_export_png_buffer(capture, &options, &data, &bytes))
            state.SkipWithError(vantix_signature_last_error());
        vantix_signature_free_buffer(data);
    }
    vantix_signature_capture_free(capture);
}
BENCHMARK(BM_ExportPngZigZag)->Arg(2048)->Arg(8192)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
