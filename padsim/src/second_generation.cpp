// SPDX-License-Identifier: Apache-2.0
// Report 230 of second-generation pad firmware.
#include "second_generation.hpp"

#include <algorithm>

#include "padsim/transfer.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

constexpr std::uint8_t tune = 'T', product = 0xCD, hardware_id = 'u';
constexpr std::uint8_t tune_start = '+', tune_abort = '-', tune_status = '5';
constexpr std::size_t guid_at = 4;

const refusal unknown{pad_error::bad_value, "Unknown diagnostics command.\n"};

}  // namespace

second_generation::second_generation(const model &m)
    : tuning_(m.tuning_gain),
      product_id_(m.product_id),
      configuration_(m.hardware_configuration),
      guid_(m.hardware_guid) {}

outcome second_generation::command(const wire::bytes &report) {
    switch (report.at(1)) {
    case tune: return tuning_command(report);
    case product: return product_command(report);
    case hardware_id: return guid_command(report);
    default: return unknown;
    }
}

outcome second_generation::tuning_command(const wire::bytes &report) {
    if (report.at(2) != tune)
        return unknown;
    switch (report.at(3)) {
    case tune_start: tuning_.start(); break;
    case tune_abort: tuning_.abort(); break;
    case tune_status: asked_ = question::tuning_status; return std::nullopt;
    default: return unknown;
    }
    asked_ = question::none;
    return std::nullopt;
}

// Bytes 2-4 are zero in both forms; a product ID of 0 is the query.
outcome second_generation::product_command(const wire::bytes &report) {
    if (report.at(2) || report.at(3) || report.at(4))
        return unknown;
    if (const std::uint16_t id = wire::get16(report, 5)) {
        product_id_ = id;
        asked_ = question::none;
    } else {
        asked_ = question::configuration;
    }
    return std::nullopt;
}

// "u" alone asks for the GUID, "uID" and 16 bytes write it.
outcome second_generation::guid_command(const wire::bytes &report) {
    if (report.at(2) == 'I' && report.at(3) == 'D') {
        std::copy_n(report.begin() + guid_at, guid_.size(), guid_.begin());
        asked_ = question::none;
    } else if (report.at(2) == 0 && report.at(3) == 0) {
        asked_ = question::guid;
    } else {
        return unknown;
    }
    return std::nullopt;
}

wire::bytes second_generation::answer() const {
    wire::bytes r = wire::blank(VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS,
                                VANTIX_FEATURE_GENII_CONFIGURATION_AND_DIAGNOSTICS_SIZE);
    switch (asked_) {
    case question::none: break;
    case question::tuning_status:
        r[1] = tune;
        r[2] = tuning_.status();
        r[3] = tuning_.progress().gain;
        break;
    case question::configuration:
        r[1] = product;
        r[2] = configuration_;
        break;
    case question::guid:
        r[1] = hardware_id;
        std::copy(guid_.begin(), guid_.end(), r.begin() + guid_at);
        break;
    }
    return r;
}

}  // namespace padsim
