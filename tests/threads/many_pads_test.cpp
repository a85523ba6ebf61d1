// SPDX-License-Identifier: Apache-2.0
// Sixteen virtual pads at once, each sending 200 pen samples a second and
// each read by its own read thread: every sample arrives once, in order.
// The run lasts VANTIX_MANY_PADS_SECONDS (30 by default) and prints the CPU
// time the process spent per pad-second of input.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "padsim/sim_driver.hpp"
#include "protocol/pad_driver.hpp"
#include "support/sample_sequence.hpp"
#include "support/scoped_env.hpp"

namespace {

using namespace std::chrono_literals;
constexpr int pads = 16;
constexpr auto sample_period = 5ms;  // 200 samples a second

std::array<vantix::test::sample_sequence, pads> deliveries;

int pad_index(const vantix_device *device) { return std::atoi(device->path + 4); }  // "sim:N"

void on_sample(vantix_device *device, vantix_input_report *, uint8_t, unsigned char *report,
               unsigned int len) {
    deliveries[pad_index(device)].saw(report, len);
}

int run_seconds() {
    const char *set = std::getenv("VANTIX_MANY_PADS_SECONDS");
    const int seconds = set ? std::atoi(set) : 30;
    return seconds > 0 ? seconds : 30;
}

TEST(many_pads, SixteenPadsAtTwoHundredSamplesASecondLoseNothing) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_init();
    padsim::reset();
    padsim::model quick;  // no status report: opens at once
    quick.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
    for (int i = 0; i < pads; ++i)
        padsim::add_pad(quick);
    const vantix_device_driver *sim = vantix::test::start_pad_driver();
    vantix_device *devices = nullptr;
    vantix_list_devices(&devices);
    int opened = 0;
    for (vantix_device *d = devices; d; d = d->next) {
        if (d->driver != sim)
            continue;  // a real pad on the test machine
        ASSERT_EQ(vantix_open_device(d), VANTIX_CODE_SUCCESS) << vantix_get_last_error();
        vantix_register_input_callback(d, on_sample);
        vantix_device_read_until_done(d);
        ++opened;
    }
    ASSERT_EQ(opened, pads);

    const int samples = run_seconds() * 1000 / static_cast<int>(sample_period.count());
    const double cpu = vantix::test::feed_numbered_samples(
        deliveries, samples, sample_period, [](std::size_t pad, std::vector<std::uint8_t> sample) {
            padsim::pad_at(pad).queue_input(std::move(sample));
        });

    for (vantix_device *d = devices; d; d = d->next)
        if (d->driver == sim)
            vantix_device_read_done(d);
    vantix::test::expect_every_sample_once_in_order(deliveries, samples);
    std::printf("PERF many_pads_cpu_ms_per_pad_second %.2f (%d pads, %d samples each)\n",
                cpu * 1000 / (pads * run_seconds()), pads, samples);
    vantix_free_device_list(devices);
    padsim::reset();
    vantix_destroy();
}

}  // namespace
