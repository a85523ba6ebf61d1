// SPDX-License-Identifier: Apache-2.0
// Figures, not assertions: feature report round trips and the delay from a
// pen sample leaving the pad to a callback, through the library's read
// thread and, for comparison, through a thread reading the same node with
// hidapi. The figures are printed as "PERF name value" lines for the build
// log.
#include <hidapi/hidapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "scenario.hpp"

namespace vm {
namespace {

using clock_type = std::chrono::steady_clock;
constexpr int rounds = 41;

// When the last sample reached a callback (0: not yet).
std::atomic<clock_type::rep> delivered{0};

void stamp_delivery() { delivered = clock_type::now().time_since_epoch().count(); }

void on_input(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {
    stamp_delivery();
}

// The q-quantile (0 <= q < 1) of the samples.
double quantile_us(std::vector<double> samples, double q) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * samples.size()))];
}

double median_us(std::vector<double> samples) { return quantile_us(std::move(samples), 0.5); }

double elapsed_us(clock_type::time_point start, clock_type::time_point end) {
    return std::chrono::duration<double, std::micro>(end - start).count();
}

double feature_round_trip_us(vantix_device *device, std::uint8_t id, unsigned length) {
    std::vector<unsigned char> buffer(length);
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        buffer[0] = id;
        const auto start = clock_type::now();
        if (vantix_hid_get_feature_report(device, buffer.data(), length) != VANTIX_CODE_SUCCESS)
            return -1;
        samples.push_back(elapsed_us(start, clock_type::now()));
    }
    return median_us(samples);
}

TEST_F(Vm, PerformanceFiguresOfFeatureReports) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    const double status_us = feature_round_trip_us(device, VANTIX_FEATURE_DEVICE_STATUS, 73);
    const double table_us = feature_round_trip_us(device, VANTIX_FEATURE_ERRORCORRECTION, 2049);
    EXPECT_GT(status_us, 0) << last_error();
    EXPECT_GT(table_us, 0) << last_error();
    std::printf("PERF feature_get_73_median_us %.0f\nPERF feature_get_2049_median_us %.0f\n", status_us,
                table_us);
}

// hidapi read the way an application using it reads a pad: a thread of its
// own that hands each report to a callback.
class hidapi_reader {
public:
    explicit hidapi_reader(const std::string &path) : hid_(hid_open_path(path.c_str())) {
        if (hid_)
            thread_ = std::thread([this] { run(); });
    }
    ~hidapi_reader() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (hid_)
            hid_close(hid_);
    }
    hidapi_reader(const hidapi_reader &) = delete;
    hidapi_reader &operator=(const hidapi_reader &) = delete;
    bool opened() const { return hid_ != nullptr; }

private:
    void run() {
        unsigned char buffer[512];
        while (!stop_) {
            if (hid_read_timeout(hid_, buffer, sizeof buffer, 50) > 0)
                stamp_delivery();
        }
    }
    hid_device *hid_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Sends `count` pen samples, one at a time, and adds the delay of each to
// its callback to `delays`.
void measure_delivery(padsim::pad &pad, int count, std::vector<double> &delays) {
    for (int i = 0; i < count; ++i) {
        delivered = 0;
        const auto start = clock_type::now();
        pad.pen_sample({static_cast<std::uint16_t>(100 + i), 300}, true);
        if (!wait_until([] { return delivered.load() != 0; }, std::chrono::milliseconds(2000)))
            return;
        delays.push_back(elapsed_us(start, clock_type::time_point(clock_type::duration(delivered.load()))));
    }
}

// Both readers in turns of a hundred samples, so a slow patch of the
// machine falls on both.
TEST_F(Vm, PerformanceFiguresOfInputAgainstHidapi) {
    constexpr int turns = 8, per_turn = 100;
    ASSERT_EQ(hid_init(), 0);
    std::vector<double> library, hidapi;
    for (int turn = 0; turn < turns; ++turn) {
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
        vantix_register_input_callback(device, on_input);
        vantix_device_read_until_done(device);
        measure_delivery(pad(), per_turn, library);
        vantix_device_read_done(device);

        hidapi_reader reader(device->path);
        ASSERT_TRUE(reader.opened());
        measure_delivery(pad(), per_turn, hidapi);
    }
    hid_exit();
    EXPECT_EQ(library.size(), static_cast<std::size_t>(turns * per_turn));
    EXPECT_EQ(hidapi.size(), static_cast<std::size_t>(turns * per_turn));
    for (const double q : {0.5, 0.99}) {
        const double ours = quantile_us(library, q), theirs = quantile_us(hidapi, q);
        const int percent = static_cast<int>(q * 100);
        std::printf(
            "PERF input_to_callback_library_p%d_us %.0f\nPERF input_to_callback_hidapi_p%d_us %.0f\n"
            "PERF library_over_hidapi_p%d_ratio %.2f\n",
            percent, ours, percent, theirs, percent, theirs > 0 ? ours / theirs : 0.0);
    }
}

// The time vantix_close_device and vantix_device_read_done take while the
// read thread waits for input.
TEST_F(Vm, PerformanceFiguresOfClosingWhileReading) {
    double close_us[2] = {0, 0};
    for (double &figure : close_us) {
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
        vantix_device_read_until_done(device);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // into its wait
        const auto start = clock_type::now();
        if (&figure == &close_us[0])
            vantix_close_device(device);
        else
            vantix_device_read_done(device);
        figure = elapsed_us(start, clock_type::now());
        EXPECT_FALSE(device->open);
    }
    std::printf("PERF close_while_reading_us %.0f\nPERF read_done_while_reading_us %.0f\n", close_us[0],
                close_us[1]);
}

}  // namespace
}  // namespace vm
