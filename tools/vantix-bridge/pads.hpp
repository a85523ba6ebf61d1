// SPDX-License-Identifier: Apache-2.0
// The pad service: the library, the pads it lists, who owns which open pad,
// and every request that touches a pad.
//
// Threads: the service's own thread lists pads, follows hotplug and keeps
// who owns what; it never waits for a pad. Each open pad has a thread of
// its own that makes every library call for it (open, prompt, capture,
// virtual pen, close) in the order its owner sent them, so one pad's slow
// open or drawing holds up no other pad and no listing. Signatures are
// rendered on detached threads, which neither the pad nor a stop waits
// for. Input arrives on the library's read threads and goes to the owner
// through a bounded event_stream.
//
// Limits (bridge.hpp, limits::): requests waiting per connection and in all,
// and the JSON values they hold; renders per connection and in all. Past
// them a request is answered busy.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "bridge.hpp"
#include "seal_policy.hpp"

namespace bridge {

class pad_service {
public:
    // Starts the library (and with cfg.sim the virtual pads) on its thread;
    // `broadcast` sends a message to every connection (hotplug events) and
    // may be called from the service's thread. Throws std::invalid_argument
    // for a --seal-to file that holds no certificate.
    pad_service(const config &cfg, std::function<void(std::string)> broadcast);
    ~pad_service();
    pad_service(const pad_service &) = delete;
    pad_service &operator=(const pad_service &) = delete;

    // A request already checked to be an object with a string "type",
    // holding `values` JSON values. Replies go to `from`: a type this
    // service does not handle at once (unknown_type), past the limits too
    // (busy). Never throws. Call from one thread (the network's).
    void request(std::shared_ptr<client> from, json message, std::size_t values);
    // The sealing policy now (any thread).
    std::shared_ptr<const seal_policy> seal() const;
    // Seals with this policy from now on (the configuration was read again).
    void reconfigure(std::shared_ptr<const seal_policy> seal);
    // The connection is gone: the pad it owned is closed and free again.
    void disconnected(std::uint64_t client_id);
    // Closes every pad and stops the library; waits for the pads' threads
    // to end their current task, not for renders, which answer no more.
    // Idempotent.
    void shutdown();

    // Signatures being rendered in the process. A process that ends while
    // one runs must leave without static destructors (std::_Exit).
    static std::size_t renders_running();

private:
    struct state;
    std::unique_ptr<state> state_;
};

}  // namespace bridge
