// SPDX-License-Identifier: Apache-2.0
// One connection's messages, apart from the network: the rate and size
// limits, reading the request, hello, and handing every other request to
// the pad service (which refuses the types it does not know). Every message is answered (here, or later
// by the pad service) and no exception leaves: a failure in handling one
// message is answered internal and logged, and the connection goes on.
// The WebSocket session drives it; so does the fuzz target, without
// sockets.
#pragma once

#include <memory>
#include <string_view>

#include "bridge.hpp"
#include "pads.hpp"
#include "protocol.hpp"

namespace bridge {

class dispatcher {
public:
    dispatcher(const config &cfg, pad_service &pads);

    // A text message from `from`.
    void text(const std::shared_ptr<client> &from, std::string_view text) noexcept;
    // A binary message (refused).
    void binary(const std::shared_ptr<client> &from) noexcept;

private:
    void handle(const std::shared_ptr<client> &from, std::string_view text, json &id);

    const config &cfg_;
    pad_service &pads_;
    rate_limiter limiter_;
};

}  // namespace bridge
