// SPDX-License-Identifier: Apache-2.0
#include "session.hpp"

#include "padsim/sim_driver.hpp"
#include "text.hpp"
#include "vantix-padsim.h"

namespace tool {

session::session(const common_options &common) : common_(common) {
    if (common.sim)
        vantix_padsim_register();
    pads_.emplace();
}

std::string uuid_hex(const vantix::zelnar::pad &p) {
    const auto uuid = p.uuid();
    return uuid ? hex_of(uuid->data(), uuid->size()) : std::string();
}

std::string version_text(const std::uint8_t (&v)[3]) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]);
}

vantix::zelnar::device_view session::choose() const {
    if (!common_.device.empty()) {
        if (auto found = pads_->find_path(common_.device))
            return *found;
        throw no_pad("no pad at " + common_.device);
    }
    if (auto real = pads_->first_of_driver("REAL"))
        return *real;
    if (auto sim = pads_->first_of_driver("SIM"))
        return *sim;
    throw no_pad("no pad attached");
}

vantix::zelnar::pad session::open() const {
    vantix::zelnar::device_view chosen = choose();
    vantix::zelnar::pad opened(chosen);
    note(common_, "opened " + std::string(chosen.path()));
    if (!common_.sim_fail.empty()) {
        auto virtual_pad = padsim::pad_for(&chosen.record());
        if (!virtual_pad)
            throw std::runtime_error("--sim-fail works on the virtual pad only");
        for (int id : common_.sim_fail)
            virtual_pad->fail_transfers(static_cast<std::uint8_t>(id), padsim::always);
    }
    return opened;
}

}  // namespace tool
