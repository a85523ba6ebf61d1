// SPDX-License-Identifier: Apache-2.0
// How the pad answers the control requests a USB host sends its HID
// interface: GET_REPORT and SET_REPORT of feature reports from the pad
// model, the report and HID descriptors, SET_IDLE and SET_PROTOCOL. Kept
// apart from FunctionFS so the decisions can be tested without a kernel.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "feature_lengths.hpp"

namespace padsim {
class pad;
}

namespace padsim::frontend {

struct setup_packet {
    std::uint8_t request_type, request;
    std::uint16_t value, index, length;
};

enum class ep0_action {
    send,     // IN: send `data` (at most wLength bytes)
    receive,  // OUT: take wLength bytes and hand them to take_report()
    ack,      // OUT without data: acknowledge
    stall,    // refuse: the host sees a stalled pipe (EPIPE)
};

struct ep0_reply {
    ep0_action action;
    std::vector<std::uint8_t> data;
};

class hid_requests {
public:
    explicit hid_requests(pad &p);
    ep0_reply answer(const setup_packet &setup);
    // The data stage of a SET_REPORT answer() accepted.
    void take_report(std::span<const std::uint8_t> data);

private:
    pad &pad_;
    feature_lengths lengths_;
};

}  // namespace padsim::frontend
