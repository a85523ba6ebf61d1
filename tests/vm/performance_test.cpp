// Figures, not assertions: feature report round trips and the delay from a
// pen sample leaving the pad to its callback, through the library's read
// thread and, for comparison, through hidapi's read on the same node. The
// figures are printed as "PERF name value" lines for the build log.
#include <hidapi/hidapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "scenario.hpp"

namespace vm {
namespace {

using clock_type = std::chrono::steady_clock;
constexpr int rounds = 41;

std::atomic<long> callback_ns{0};

void on_input(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {
    callback_ns = clock_type::now().time_since_epoch().count();
}

double median_us(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2];
}

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

TEST_F(Vm, PerformanceFiguresOfFeatureReportsAndInput) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << last_error();
    const double status_us = feature_round_trip_us(device, VANTIX_FEATURE_DEVICE_STATUS, 73);
    const double table_us = feature_round_trip_us(device, VANTIX_FEATURE_ERRORCORRECTION, 2049);
    EXPECT_GT(status_us, 0) << last_error();
    EXPECT_GT(table_us, 0) << last_error();
    std::printf("PERF feature_get_73_median_us %.0f\nPERF feature_get_2049_median_us %.0f\n", status_us,
                table_us);

    vantix_register_input_callback(device, on_input);
    vantix_device_read_until_done(device);
    std::vector<double> library;
    for (int i = 0; i < rounds; ++i) {
        callback_ns = 0;
        const auto start = clock_type::now();
        pad().pen_sample({static_cast<std::uint16_t>(100 + i), 300}, true);
        if (!wait_until([] { return callback_ns.load() != 0; }, std::chrono::milliseconds(2000)))
            break;
        library.push_back(
            elapsed_us(start, clock_type::time_point(clock_type::duration(callback_ns.load()))));
    }
    const std::string path = device->path;
    vantix_device_read_done(device);
    EXPECT_EQ(library.size(), static_cast<std::size_t>(rounds));

    ASSERT_EQ(hid_init(), 0);
    hid_device *hid = hid_open_path(path.c_str());
    ASSERT_NE(hid, nullptr);
    std::vector<double> hidapi;
    unsigned char buffer[512];
    for (int i = 0; i < rounds; ++i) {
        const auto start = clock_type::now();
        pad().pen_sample({static_cast<std::uint16_t>(100 + i), 300}, true);
        if (hid_read_timeout(hid, buffer, sizeof buffer, 2000) <= 0)
            break;
        hidapi.push_back(elapsed_us(start, clock_type::now()));
    }
    hid_close(hid);
    hid_exit();
    EXPECT_EQ(hidapi.size(), static_cast<std::size_t>(rounds));
    const double ours = median_us(library), theirs = median_us(hidapi);
    std::printf(
        "PERF input_to_callback_read_thread_median_us %.0f\nPERF input_to_hid_read_timeout_median_us %.0f\n"
        "PERF read_thread_over_hidapi_ratio %.2f\n",
        ours, theirs, theirs > 0 ? ours / theirs : 0.0);
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
