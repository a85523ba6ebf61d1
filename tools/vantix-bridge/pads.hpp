// SPDX-License-Identifier: Apache-2.0
// The pad service: the library, the pads it lists, who owns which open pad,
// and every request that touches a pad. All library calls are made on one
// thread of its own (the library's rule for set-up calls), so a slow pad
// never holds up the network thread; input arrives on the library's read
// threads and goes to the owner through a bounded event_stream.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "bridge.hpp"

namespace bridge {

class pad_service {
public:
    // Starts the library (and with cfg.sim the virtual pad) on its thread;
    // `broadcast` sends a message to every connection (hotplug events) and
    // may be called from the service's thread.
    pad_service(const config &cfg, std::function<void(std::string)> broadcast);
    ~pad_service();
    pad_service(const pad_service &) = delete;
    pad_service &operator=(const pad_service &) = delete;

    // A request of a type this service handles (is_pad_request), already
    // checked to be an object with a string "type". Replies go to `from`.
    void request(std::shared_ptr<client> from, json message);
    // The connection is gone: the pad it owned is closed and free again.
    void disconnected(std::uint64_t client_id);
    // Closes every pad and stops the library; waits for it. Idempotent.
    void shutdown();

    static bool is_pad_request(const std::string &type);

private:
    struct state;
    std::unique_ptr<state> state_;
};

}  // namespace bridge
