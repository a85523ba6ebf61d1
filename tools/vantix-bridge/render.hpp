// SPDX-License-Identifier: Apache-2.0
// Signatures rendered off the pads' threads: a capture.finish becomes a
// render job on a detached thread of its own, which answers the client
// while the service runs.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>

#include "bridge.hpp"
#include "pad_input.hpp"
#include "request_load.hpp"
#include "signature_export.hpp"

namespace bridge {

// Renders end when they end, also after the service stopped: they answer
// only while it runs (closed under the lock before the network goes).
struct answer_gate {
    std::mutex lock;
    bool open = true;
};

struct render_job {
    capture_ptr capture;
    export_plan plan;
    json id;
    std::weak_ptr<client> to;
    std::shared_ptr<answer_gate> gate;
    export_ticket ticket;
};

// On a detached thread of its own: the process joins no render, so neither
// a stop nor the pad's other requests wait for one. Counts itself in
// renders_running() until it has ended.
void start_render(std::unique_ptr<render_job> job);
// Signature renders running in the process.
std::size_t renders_running();

}  // namespace bridge
