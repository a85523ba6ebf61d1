// SPDX-License-Identifier: Apache-2.0
#include "padsim/recorder.hpp"

#include <array>
#include <fstream>
#include <stdexcept>
#include <string>

#include "padsim/catalogue.hpp"
#include "padsim/model.hpp"
#include "padsim/sim_driver.hpp"

namespace padsim {
namespace {

recorder *active = nullptr;  // guarded by active_mutex
std::mutex active_mutex;

std::string last_error_line() {
    std::string text = vantix_get_last_error();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.empty() ? "the read failed" : text;
}

}  // namespace

recorder::recorder(vantix_device &device, recording_writer &writer)
    : device_(device), original_(device.driver), table_(*device.driver), writer_(writer) {
    std::lock_guard lock(active_mutex);
    if (active)
        throw std::logic_error("one recording at a time");
    active = this;
    table_.get_feature_report = get_feature;
    table_.set_feature_report = refuse_write;
    table_.set_output_report = refuse_write;
    table_.input_report = input;
    device_.driver = &table_;
}

recorder::~recorder() {
    std::lock_guard lock(active_mutex);
    device_.driver = original_;
    active = nullptr;
}

void recorder::set_phase(recording_phase phase) {
    std::lock_guard lock(mutex_);
    phase_ = phase;
}

std::size_t recorder::inputs_seen() const {
    std::lock_guard lock(mutex_);
    return inputs_;
}

std::uint64_t recorder::now_us() const {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_)
            .count());
}

vantix_error_code recorder::get_feature(vantix_device *device, unsigned char *buffer, unsigned int length) {
    recorder &self = *active;
    const std::uint8_t id = length > 0 ? buffer[0] : 0;
    const vantix_error_code outcome = self.original_->get_feature_report(device, buffer, length);
    recorded_feature f;
    f.time_us = self.now_us();
    f.id = id;
    if (outcome == VANTIX_CODE_SUCCESS)
        f.bytes.assign(buffer, buffer + length);
    else
        f.error = last_error_line();
    std::lock_guard lock(self.mutex_);
    f.phase = self.phase_;
    if (length > 0)
        self.writer_.feature(f);
    return outcome;
}

vantix_error_code recorder::refuse_write(vantix_device *, unsigned char *, unsigned int) {
    vantix_report_error_internal("A pad being recorded is never written to.\n");
    return VANTIX_CODE_ERROR;
}

void recorder::input(vantix_device *device, unsigned char *buffer, unsigned int length) {
    recorder &self = *active;
    {
        std::lock_guard lock(self.mutex_);
        self.writer_.input({self.now_us(), std::vector<std::uint8_t>(buffer, buffer + length)});
        ++self.inputs_;
    }
    if (self.original_->input_report)
        self.original_->input_report(device, buffer, length);
    else
        vantix_get_driver_input_report(device, buffer, length);
}

std::vector<std::uint8_t> report_descriptor(const vantix_device &device) {
    if (auto simulated = pad_for(&device))
        return simulated->descriptor();
    const std::string path = device.path ? device.path : "";
    const std::string node_prefix = "/dev/";
    if (path.rfind(node_prefix, 0) == 0) {
        std::ifstream in("/sys/class/hidraw/" + path.substr(node_prefix.size()) + "/device/report_descriptor",
                         std::ios::binary);
        std::vector<std::uint8_t> bytes(max_report_bytes);
        in.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        if (!bytes.empty())
            return bytes;
    }
    throw std::runtime_error("cannot read the report descriptor of " + path);
}

void sweep_readable_reports(vantix_device &device) {
    // Region reports are as long as the pad's regions make them.
    model geometry;
    geometry.region_count = device.display_info.region_count;
    geometry.max_caption_length = device.display_info.max_caption_length;
    std::array<unsigned char, max_report_bytes> buffer;
    for (const feature_info &info : feature_reports()) {
        const unsigned length = feature_length(info, geometry);
        if (!(info.use & use_get) || !device.parameters.hid_report_map[info.id] || length == 0 ||
            length > buffer.size())
            continue;
        buffer.fill(0);
        buffer[0] = info.id;
        vantix_hid_get_feature_report(&device, buffer.data(), length);
    }
}

}  // namespace padsim
