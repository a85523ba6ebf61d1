// SPDX-License-Identifier: Apache-2.0
// The network side of vantix-bridge (Boost.Beast, in server.cpp alone):
// HTTP for the page and the client module, WebSocket for the protocol.
#pragma once

#include <functional>
#include <string_view>

#include "bridge.hpp"

namespace bridge {

// A file the service serves, built into the program (web_files.cpp is
// generated from tools/vantix-bridge/web/).
struct web_file {
    std::string_view path;  // "/", "/vantix-pad.js", ...
    std::string_view content_type;
    std::string_view body;
};
const web_file *find_web_file(std::string_view path);

// Binds, prints "vantix-bridge: listening on http://ADDRESS:PORT/" on
// standard output and serves until SIGINT or SIGTERM; returns the exit
// code. `threads_started` runs once the service's threads are running (the
// caller unblocks the stop signals there). On SIGHUP `reread` gives the
// settings again (it throws for bad ones, which are then reported and not
// used): the allowed origins, the seal recipients and policy and the limits
// take effect for what comes next, and no connection is dropped. Throws
// std::invalid_argument for a bad --listen or --seal-to, std::runtime_error
// when it cannot listen.
int serve(const config &cfg, std::function<config()> reread, const std::function<void()> &threads_started);

}  // namespace bridge
