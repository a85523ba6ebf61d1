// SPDX-License-Identifier: Apache-2.0
#include "session.hpp"

#include <algorithm>

#include "padsim/replay.hpp"
#include "padsim/sim_driver.hpp"
#include "text.hpp"
#include "vantix-padsim.h"

namespace tool {

session::session(const common_options &common) : common_(common) {
    if (common.sim && !common.replay.empty())
        padsim::add_pad();  // sim:0, the replayed pads after it
    for (const std::string &file : common.replay) {
        const std::size_t index =
            padsim::add_replay(padsim::load_recording(file),
                               common.replay_paced ? padsim::pacing::recorded : padsim::pacing::fast);
        replayed_paths_.push_back("sim:" + std::to_string(index));
    }
    if (common.sim || !common.replay.empty())
        vantix_padsim_register();
    if (common.sim && common.sim_hostile)
        padsim::pad_at(0).turn_hostile(*common.sim_hostile);
    pads_.emplace();
}

bool session::simulated(const vantix::zelnar::device_view &d) const {
    return d.driver_name() == "SIM" &&
           std::find(replayed_paths_.begin(), replayed_paths_.end(), d.path()) == replayed_paths_.end();
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
    if (!replayed_paths_.empty()) {
        if (auto replayed = pads_->find_path(replayed_paths_.front()))
            return *replayed;
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
