// SPDX-License-Identifier: Apache-2.0
// What the parts of vantix-bridge share: its settings, the protocol's
// version and error codes, and the one thing the pad service knows of a
// WebSocket connection (a client it sends messages to).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace bridge {

using json = nlohmann::json;

// The protocol version of docs/bridge-protocol.md; a change that breaks
// clients raises it.
constexpr int protocol_version = 1;
// The fixed default address (docs/bridge-protocol.md, vantix-bridge.1).
constexpr const char *default_listen = "127.0.0.1:9421";

struct config {
    std::string listen = default_listen;
    bool allow_remote = false;
    std::vector<std::string> allow_origins;  // beyond the service's own
    bool sim = false;
    std::size_t max_message = 64 * 1024;  // larger: error too_large
    std::size_t max_frame = 256 * 1024;   // larger: the connection is closed (1009); 4 x max_message
    double max_rate = 200;                // messages a second per connection
    std::size_t max_connections = 16;
    std::size_t event_queue = 4096;             // pen samples and buttons waiting for one client
    std::size_t send_queue = 16 * 1024 * 1024;  // bytes waiting to go to one client
    bool verbose = false;
};

// The wall clock in microseconds, as events and sim.done carry it ("t", "sent").
inline std::uint64_t now_us() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::system_clock::now().time_since_epoch())
                                          .count());
}

// A request refused: code (docs/bridge-protocol.md), a message, and for
// library failures the library's last-error text.
class protocol_error : public std::runtime_error {
public:
    protocol_error(std::string code, const std::string &message, std::string detail = {})
        : std::runtime_error(message), code_(std::move(code)), detail_(std::move(detail)) {}
    const std::string &code() const { return code_; }
    const std::string &detail() const { return detail_; }

private:
    std::string code_;
    std::string detail_;
};

// {"type":"error","code":...,"message":...[,"detail":...][,"id":...]}
json error_message(const std::string &code, const std::string &message, const std::string &detail = {},
                   const json *id = nullptr);

class event_stream;
class client;

// Sends `body` to `to` as the answer to request `id` (none when null).
void reply(client &to, const json &id, json body);

// One WebSocket connection as the pad service sees it. Every member may be
// called from any thread.
class client {
public:
    virtual ~client() = default;
    virtual std::uint64_t id() const = 0;
    // Queues a message for the client.
    virtual void send(std::string text) = 0;
    // Has the connection's thread take what `stream` holds (at most one such
    // hand-over is pending per stream).
    virtual void drain(std::shared_ptr<event_stream> stream) = 0;
};

// Pen samples and button events of one open pad on their way from the
// library's read thread to the owner: a bounded queue, so a client that
// reads slowly costs memory up to the bound and then loses events (counted
// and reported as an "overflow" event), never the service.
class event_stream : public std::enable_shared_from_this<event_stream> {
public:
    event_stream(std::weak_ptr<client> target, std::size_t bound)
        : target_(std::move(target)), bound_(bound) {}
    // Any thread.
    void push(std::string event);
    // The connection's thread: everything queued, in order (an overflow
    // report first when events were lost).
    std::vector<std::string> take();

private:
    std::weak_ptr<client> target_;
    const std::size_t bound_;
    std::mutex lock_;
    std::deque<std::string> queue_;
    std::uint64_t dropped_ = 0;
    bool handed_over_ = false;  // a drain is pending on the connection's thread
};

}  // namespace bridge
