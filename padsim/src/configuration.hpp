// SPDX-License-Identifier: Apache-2.0
// Output (91) and peripheral (92) configuration of the pad firmware: the
// settings in use, the power-up defaults and the factory values.
#pragma once

#include <cstdint>

#include "padsim/model.hpp"
#include "padsim/settings.hpp"
#include "wire.hpp"

namespace padsim {

// One configuration report whose last byte carries the flags of a write:
// bit 0 keeps the settings as the power-up defaults, bit 7 restores the
// factory settings (and makes them the defaults again), ignoring the rest.
class settings_report {
public:
    explicit settings_report(wire::bytes factory);

    void accept(const wire::bytes &report);
    // The settings in use, flag byte 0; bytes the pad does not interpret
    // read back as written.
    const wire::bytes &current() const { return current_; }
    const wire::bytes &power_up() const { return power_up_; }
    saved_configuration saved() const { return {current_, power_up_}; }

private:
    wire::bytes factory_, power_up_, current_;
};

struct configuration {
    explicit configuration(const model &m);

    // The report of `id`, or null for other reports.
    settings_report *find(std::uint8_t id);
    const settings_report *find(std::uint8_t id) const;

    settings_report output, peripheral;
};

}  // namespace padsim
