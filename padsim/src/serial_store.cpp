// SPDX-License-Identifier: Apache-2.0
// The serial-number area of the pad firmware.
#include "serial_store.hpp"

#include <algorithm>

#include "vantix-zelnar.h"

namespace padsim {

serial_store::serial_store(const model &m) : key_(m.serial_write_key) {
    if (m.serial_erased)
        area_.fill(0xFF);  // flash that was never programmed
    else
        set(m.serial_number);
}

wire::bytes serial_store::read() const {
    wire::bytes report = wire::blank(VANTIX_FEATURE_SERIALNUMBER, VANTIX_FEATURE_SERIALNUMBER_SIZE);
    std::copy(area_.begin(), area_.end(), report.begin() + 1);
    return report;
}

bool serial_store::write(const wire::bytes &report) {
    if (report.size() < key_at + 2 || key_.size() != 2 ||
        report[key_at] != static_cast<std::uint8_t>(key_[0]) ||
        report[key_at + 1] != static_cast<std::uint8_t>(key_[1]))
        return false;
    std::copy(report.begin() + 1, report.begin() + key_at, area_.begin());
    return true;
}

void serial_store::set(const std::string &serial) {
    area_.fill(0);
    std::copy_n(serial.begin(), std::min(serial.size(), area_.size()), area_.begin());
}

}  // namespace padsim
