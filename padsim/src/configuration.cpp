// SPDX-License-Identifier: Apache-2.0
// Output and peripheral configuration of the pad firmware.
#include "configuration.hpp"

#include <algorithm>
#include <utility>

#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::uint8_t save_as_default = 0x01, load_factory_settings = 0x80;

wire::bytes factory_output(const model &m) {
    wire::bytes r = wire::blank(VANTIX_FEATURE_OUTPUTCONFIGURATION, VANTIX_FEATURE_OUTPUTCONFIGURATION_SIZE);
    wire::put32(r, 1, m.output_report);
    r[5] = m.output_mode;
    r[6] = m.compression;
    wire::put16(r, 7, m.packets_per_second);
    return r;
}

wire::bytes factory_peripheral(const model &m) {
    wire::bytes r =
        wire::blank(VANTIX_FEATURE_PERIPHERAL_CONFIGURATION, VANTIX_FEATURE_PERIPHERAL_CONFIGURATION_SIZE);
    r[1] = m.mag_card_output;
    return r;
}

}  // namespace

settings_report::settings_report(wire::bytes factory)
    : factory_(factory), power_up_(factory), current_(std::move(factory)) {}

void settings_report::accept(const wire::bytes &report) {
    // A lenient pad may be sent more than the report; only its own bytes count.
    const std::uint8_t flags = report.at(current_.size() - 1);
    if (flags & load_factory_settings) {
        current_ = power_up_ = factory_;
        return;
    }
    std::copy_n(report.begin(), current_.size() - 1, current_.begin());
    if (flags & save_as_default)
        power_up_ = current_;
}

configuration::configuration(const model &m) : output(factory_output(m)), peripheral(factory_peripheral(m)) {}

settings_report *configuration::find(std::uint8_t id) {
    return const_cast<settings_report *>(std::as_const(*this).find(id));
}

const settings_report *configuration::find(std::uint8_t id) const {
    switch (id) {
    case VANTIX_FEATURE_OUTPUTCONFIGURATION: return &output;
    case VANTIX_FEATURE_PERIPHERAL_CONFIGURATION: return &peripheral;
    default: return nullptr;
    }
}

}  // namespace padsim
