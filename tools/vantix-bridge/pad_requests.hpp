// SPDX-License-Identifier: Apache-2.0
// The requests that act on a connection's open pad (display, capture,
// virtual pen), each run on the pad's own thread with the pad open for the
// sender. The service (pads.cpp) decides who owns which pad and hands them
// here by name.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge.hpp"
#include "open_pad.hpp"
#include "pad_slot.hpp"
#include "render.hpp"
#include "seal_policy.hpp"

namespace bridge {

// What the handlers share with the service.
struct pad_context {
    const config &cfg;
    std::shared_ptr<service_load> load;
    std::shared_ptr<answer_gate> gate;
    std::shared_ptr<seal_settings> seal;
};

struct pad_request {
    const pad_context &service;
    pad_slot &slot;
    open_pad &pad;
    const std::shared_ptr<client> &from;
    const json &id;
    const json &message;
};

// The answer, or nothing when it comes later (sim.stroke, capture.finish).
// Throws protocol_error for a refusal.
using pad_handler = std::optional<json> (*)(const pad_request &r);

// What capture.finish needs of a pad's capture, also once the pad is gone
// (unplugged while capturing: the capture stays for capture.finish).
struct finished_capture {
    capture_ptr capture;
    std::string prompt;
    json identity;
};
finished_capture capture_of(const open_pad &p);

// capture.finish: checks `message` (bad_field, seal_only, busy, ...) and
// renders the capture on a thread of its own, which answers `from`.
void finish_capture(const pad_context &service, const finished_capture &what, const std::shared_ptr<client> &from,
                    const json &id, const json &message);

// The handler of a request type; null for the types the service handles
// itself (pads.list, pad.open, pad.close) and for unknown ones.
pad_handler find_pad_handler(std::string_view type);

}  // namespace bridge
