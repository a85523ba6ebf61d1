// SPDX-License-Identifier: Apache-2.0
// Latency from a virtual-pad input report to the input callback through the
// read thread, reported as median and 99th percentile.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "padsim/sim_driver.hpp"
#include "vantix-zelnar.h"

namespace {

using clock_type = std::chrono::steady_clock;
std::atomic<int64_t> arrived_ns{0};

void on_input(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {
    arrived_ns = clock_type::now().time_since_epoch().count();
}

void BM_InputToCallbackThroughReadThread(benchmark::State &state) {
    vantix_init();
    padsim::reset();
    padsim::model quick;
    quick.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
    padsim::add_pad(quick);
    padsim::register_sim_driver();
    vantix_device *devices = nullptr, *pad = nullptr;
    vantix_list_devices(&devices);
    for (vantix_device *d = devices; d; d = d->next)
        if (d->driver == padsim::sim_driver())
            pad = d;
    if (!pad || vantix_open_device(pad) != VANTIX_CODE_SUCCESS) {
        state.SkipWithError("no virtual pad");
        return;
    }
    vantix_register_input_callback(pad, on_input);
    vantix_device_read_until_done(pad);

    std::vector<double> latencies;
    for (auto _ : state) {
        arrived_ns = 0;
        const auto sent = clock_type::now();
        padsim::pad_at(0).queue_input({VANTIX_INPUT_COORDINATE, 1, 1, 0, 2, 0});
        while (arrived_ns.load() == 0)
            std::this_thread::yield();
        const double ns = static_cast<double>(arrived_ns.load() - sent.time_since_epoch().count());
        latencies.push_back(ns);
        state.SetIterationTime(ns / 1e9);
    }
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        state.counters["median_us"] = latencies[latencies.size() / 2] / 1000.0;
        state.counters["p99_us"] = latencies[latencies.size() * 99 / 100] / 1000.0;
    }
    vantix_device_read_done(pad);
    vantix_free_device_list(devices);
    padsim::reset();
    vantix_destroy();
}
BENCHMARK(BM_InputToCallbackThroughReadThread)->UseManualTime()->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
