// SPDX-License-Identifier: Apache-2.0
#include "hid_requests.hpp"

#include <algorithm>

#include "ffs_descriptors.hpp"
#include "padsim/pad.hpp"

namespace padsim::frontend {
namespace {

constexpr std::uint8_t dir_in = 0x80;
constexpr std::uint8_t type_mask = 0x60, type_standard = 0x00, type_class = 0x20;
constexpr std::uint8_t get_descriptor = 0x06;
constexpr std::uint8_t get_report = 0x01, set_report = 0x09, set_idle = 0x0A, set_protocol = 0x0B;
constexpr std::uint8_t feature_report_type = 3;

ep0_reply stall() { return {ep0_action::stall, {}}; }

ep0_reply send(std::vector<std::uint8_t> data, std::uint16_t limit) {
    if (data.size() > limit)
        data.resize(limit);
    return {ep0_action::send, std::move(data)};
}

}  // namespace

hid_requests::hid_requests(pad &p) : pad_(p), lengths_(p.descriptor()) {}

ep0_reply hid_requests::answer(const setup_packet &setup) {
    const bool in = setup.request_type & dir_in;
    const std::uint8_t kind = setup.request_type & type_mask;
    const std::uint8_t report_type = setup.value >> 8;
    const std::uint8_t report_id = setup.value & 0xFF;

    if (kind == type_standard && in && setup.request == get_descriptor) {
        const auto &descriptor = pad_.descriptor();
        if (report_type == 0x22)
            return send(descriptor, setup.length);
        if (report_type == 0x21)
            return send(hid_class_descriptor(static_cast<std::uint16_t>(descriptor.size())), setup.length);
        return stall();
    }
    if (kind != type_class)
        return stall();

    switch (setup.request) {
    case get_report: {
        const unsigned length = lengths_.of(report_id);
        if (!in || report_type != feature_report_type || length == 0)
            return stall();
        // The pad answers with the report's own length, whatever the host
        // asked for, as firmware does; a refused transfer stalls.
        std::vector<std::uint8_t> reply(length);
        reply[0] = report_id;
        if (!pad_.get_feature(reply.data(), reply.size()).ok)
            return stall();
        return send(std::move(reply), setup.length);
    }
    case set_report:
        // Only declared feature reports are taken. Refusals the pad decides
        // after seeing the data cannot stall any more (the data stage has
        // been acknowledged); the pad keeps them in its device status.
        if (in || report_type != feature_report_type || lengths_.of(report_id) == 0 || setup.length == 0)
            return stall();
        return {ep0_action::receive, {}};
    case set_idle:
    case set_protocol: return in ? stall() : ep0_reply{ep0_action::ack, {}};
    default: return stall();
    }
}

void hid_requests::take_report(std::span<const std::uint8_t> data) {
    if (!data.empty())
        pad_.set_feature(data.data(), data.size());
}

}  // namespace padsim::frontend
