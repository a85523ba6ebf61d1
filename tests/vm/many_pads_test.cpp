// SPDX-License-Identifier: Apache-2.0
// Sixteen pads on uhid, each sending 200 pen samples a second to its own
// read thread through hidraw: every sample arrives once and in order. The
// guest has one emulated CPU, so the run is short; the CPU time per
// pad-second is printed as a PERF figure.
#include <array>
#include <cstdlib>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "padsim/uhid.hpp"
#include "scenario.hpp"
#include "support/sample_sequence.hpp"

namespace vm {
namespace {

constexpr int pads = 16, seconds = 5;
constexpr auto sample_period = std::chrono::milliseconds(5);

std::array<vantix::test::sample_sequence, pads> deliveries;

void on_sample(vantix_device *device, vantix_input_report *, uint8_t, unsigned char *report,
               unsigned int len) {
    // The record's parameters hold nothing of ours: the pad's index is its
    // place in the array of records.
    deliveries[static_cast<std::size_t>(device->vendor_id)].saw(report, len);
}

// A record for a uhid node, as an application builds one (the listing
// finds only pads with a USB parent).
struct uhid_record {
    vantix_device *device;
    uhid_record(const std::string &node, int index) : device(record_for_node(node)) {
        if (device)
            device->vendor_id = static_cast<std::uint16_t>(index);
    }
    ~uhid_record() {
        if (device && device->open)
            vantix_close_device(device);  // stops its read thread first
        vantix_real_free_device(device);
    }
    uhid_record(const uhid_record &) = delete;
    uhid_record &operator=(const uhid_record &) = delete;
};

TEST(VmManyPads, SixteenUhidPadsAtTwoHundredSamplesASecondLoseNothing) {
    vantix_init();
    padsim::model quick;  // no status report: opens at once
    quick.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
    std::vector<std::unique_ptr<padsim::pad>> models;
    std::vector<std::unique_ptr<padsim::uhid_device>> plugged;
    std::vector<std::unique_ptr<uhid_record>> records;
    for (int i = 0; i < pads; ++i) {
        const std::set<std::string> before = hidraw_nodes();
        models.push_back(std::make_unique<padsim::pad>(quick));
        plugged.push_back(std::make_unique<padsim::uhid_device>(*models.back()));
        const std::string node = new_hidraw_node(before);
        ASSERT_FALSE(node.empty());
        records.push_back(std::make_unique<uhid_record>(node, i));
        vantix_device *device = records.back()->device;
        ASSERT_NE(device, nullptr);
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << vantix_get_last_error();
        vantix_register_input_callback(device, on_sample);
        vantix_device_read_until_done(device);
    }

    constexpr int samples = seconds * 1000 / static_cast<int>(sample_period.count());
    const double cpu = vantix::test::feed_numbered_samples(
        deliveries, samples, sample_period, [&](std::size_t pad, std::vector<std::uint8_t> sample) {
            models[pad]->queue_input(std::move(sample));
        });
    for (auto &record : records)
        vantix_device_read_done(record->device);
    vantix::test::expect_every_sample_once_in_order(deliveries, samples);
    std::printf("PERF vm_many_pads_cpu_ms_per_pad_second %.2f\n", cpu * 1000 / (pads * seconds));
    records.clear();
    plugged.clear();
    vantix_destroy();
}

}  // namespace
}  // namespace vm
