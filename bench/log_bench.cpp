// SPDX-License-Identifier: Apache-2.0
// Cost of a log report that is dropped by the level check, and of one that
// is formatted and written to the log file.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "debug/log.hpp"
#include "vantix-zelnar.h"

namespace {

void start_log(const char *enabled, const char *level) {
    setenv("VANTIX_DEBUG", enabled, 1);
    setenv("VANTIX_DEBUG_LEVEL", level, 1);
    setenv("VANTIX_DEBUG_LOCATION", "/tmp", 1);
    setenv("VANTIX_DEBUG_FILE", "vantix-bench-${pid}.log", 1);
    unsetenv("VANTIX_TRACE");
    vantix_debug_init("bench");
}

void stop_log() {
    vantix_debug_destroy();
    unlink(("/tmp/vantix-bench-" + std::to_string(getpid()) + ".log").c_str());
}

void BM_ReportBelowLevel(benchmark::State &state) {
    start_log("1", "INFO");
    for (auto _ : state)
        VANTIX_LOG(VANTIX_DEBUG_LEVEL_FINEST, "==> Entering Function");
    stop_log();
}
BENCHMARK(BM_ReportBelowLevel);

void BM_ReportBelowLevelThroughExportedEntry(benchmark::State &state) {
    start_log("1", "INFO");
    for (auto _ : state)
        vantix_debug_report_message(__func__, __FILE__, __LINE__, VANTIX_DEBUG_LEVEL_FINEST, "%s", "dropped");
    stop_log();
}
BENCHMARK(BM_ReportBelowLevelThroughExportedEntry);

void BM_ReportPublishedToFile(benchmark::State &state) {
    start_log("1", "ALL");
    int n = 0;
    for (auto _ : state)
        VANTIX_LOG(VANTIX_DEBUG_LEVEL_INFO, "sample %d reached the callback", ++n);
    stop_log();
}
BENCHMARK(BM_ReportPublishedToFile);

}  // namespace

BENCHMARK_MAIN();
