// SPDX-License-Identifier: Apache-2.0
// Time vantix_close_device and vantix_device_read_done take while the pad's
// read thread waits for input, on the hidraw driver with a pipe standing in
// for the pad's node.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/device_flags.hpp"
#include "platform/linux/reader_wake.hpp"
#include "vantix-zelnar.h"

namespace {

using clock_type = std::chrono::steady_clock;

template <typename Stop>
void close_while_reading(benchmark::State &state, Stop stop) {
    for (auto _ : state) {
        int ends[2];
        vantix_device pad{};
        if (pipe(ends) != 0 || !vantix::linux_driver::create_reader_wake(&pad)) {
            state.SkipWithError("no pipe or eventfd");
            return;
        }
        pad.parameters.handle = ends[0];
        pad.driver = &vantix_real_driver;
        vantix::set_open(&pad, true);
        vantix_device_read_until_done(&pad);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));  // into its wait
        const auto start = clock_type::now();
        stop(&pad);
        state.SetIterationTime(std::chrono::duration<double>(clock_type::now() - start).count());
        close(ends[1]);
    }
}

void BM_CloseWhileReadThreadWaits(benchmark::State &state) {
    close_while_reading(state, [](vantix_device *pad) { vantix_close_device(pad); });
}
BENCHMARK(BM_CloseWhileReadThreadWaits)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_ReadDoneWhileReadThreadWaits(benchmark::State &state) {
    close_while_reading(state, vantix_device_read_done);
}
BENCHMARK(BM_ReadDoneWhileReadThreadWaits)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
