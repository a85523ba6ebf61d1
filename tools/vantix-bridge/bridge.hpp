// SPDX-License-Identifier: Apache-2.0
// What the parts of vantix-bridge share: its settings, the protocol's
// version and error codes, and the one thing the pad service knows of a
// WebSocket connection (a client it sends messages to).
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace bridge {

using json = nlohmann::json;

// The protocol version of docs/bridge-protocol.md; a change that breaks
// clients raises it.
constexpr int protocol_version = 1;
// The fixed default port (docs/bridge-protocol.md, vantix-bridge.1): that of
// the default address and of a --listen address that names none.
constexpr unsigned default_port = 9421;

struct config {
    std::string listen = "127.0.0.1:" + std::to_string(default_port);
    bool allow_remote = false;
    std::vector<std::string> allow_origins;  // beyond the service's own
    bool sim = false;
    std::size_t max_message = 64 * 1024;  // larger: error too_large
    std::size_t max_frame = 256 * 1024;   // larger: the connection is closed (1009); 4 x max_message
    double max_rate = 200;                // messages a second per connection
    std::size_t max_connections = 16;
    std::size_t event_queue = 4096;             // pen samples and buttons waiting for one client
    std::size_t send_queue = 16 * 1024 * 1024;  // bytes waiting to go to one client
    int sim_pads = 1;                           // virtual pads with --sim (--sim-pads)
    std::vector<std::string> replay;            // recordings served as virtual pads (--replay)
    bool verbose = false;
    std::vector<std::string> seal_to;  // certificate files capture.finish seals to
    bool seal_only = false;            // pen data leaves only sealed
    bool page_recipients = false;      // a page may add recipients of its own
};

// The limits that are no options (docs/bridge-protocol.md, "Limits").
namespace limits {
// A parsed message: at most this many JSON values (a sim.stroke of 10000
// points has 30006), nested at most this deep; past either: too_large,
// found before the tree is built.
constexpr std::size_t json_values = 32768;
constexpr std::size_t json_depth = 16;
// Requests handed to the pad service and not yet answered, and the JSON
// values they hold: per connection and for the whole service; past
// either: busy.
constexpr std::size_t waiting_requests = 32;
constexpr std::size_t waiting_values = 65536;
constexpr std::size_t total_waiting_requests = 512;
constexpr std::size_t total_waiting_values = 262144;
// Signatures being rendered (capture.finish), per connection and in all.
constexpr std::size_t exports = 2;
constexpr std::size_t total_exports = 8;
// The largest reply: a capture.finish estimated (or found) larger is
// refused with reply_too_large, the capture kept. Equal to the unread
// budget (config::send_queue), which a reply never counts against.
constexpr std::size_t reply_bytes = 16 * 1024 * 1024;
// Plain HTTP connections (the page, the module, WebSocket handshakes) at
// once; more are answered 503 and closed. A request must arrive whole
// within http_request_seconds.
constexpr std::size_t http_sessions = 64;
constexpr int http_request_seconds = 5;
}  // namespace limits

// Text cut to at most `max_bytes` bytes, never inside a UTF-8 character
// (the one way the service shortens text it echoes).
std::string cut_text(std::string_view text, std::size_t max_bytes);

// The text of a message to send: invalid UTF-8 (text from a pad or the
// library) is replaced, never a reason to throw.
std::string to_text(const json &message);

// Microseconds on the steady clock, the one the signature library stamps a
// capture's points with (vantix_signature_point.time_us).
inline std::uint64_t steady_us() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

// The time events and sim.done carry ("t", "sent"): microseconds since the
// Unix epoch, counted on the steady clock from one wall-clock reading (the
// first call's). A sample's "t" is then its capture point's time, and
// intervals hold when the wall clock is set meanwhile.
std::uint64_t event_time_us(std::uint64_t steady = steady_us());

// A request refused: code (docs/bridge-protocol.md), a message, for
// library failures the library's last-error text, and fields the error
// message carries besides (reply_too_large: the sizes).
class protocol_error : public std::runtime_error {
public:
    protocol_error(std::string code, const std::string &message, std::string detail = {},
                   json fields = json::object())
        : std::runtime_error(message),
          code_(std::move(code)),
          detail_(std::move(detail)),
          fields_(std::move(fields)) {}
    const std::string &code() const { return code_; }
    const std::string &detail() const { return detail_; }
    const json &fields() const { return fields_; }

private:
    std::string code_;
    std::string detail_;
    json fields_;
};

// {"type":"error","code":...,"message":...[,"detail":...][,"id":...]}
json error_message(const std::string &code, const std::string &message, const std::string &detail = {},
                   const json *id = nullptr);
// The error message of a refusal, with its fields.
json error_message(const protocol_error &e, const json *id = nullptr);

class event_stream;
class client;

// Sends `body` to `to` as the answer to request `id` (none when null).
void reply(client &to, const json &id, json body);

// What one connection has handed to the pad service and not yet had
// answered, and the signatures being rendered for it: the pad service
// counts, a ticket (pads.cpp) gives back.
struct connection_load {
    std::atomic<std::size_t> requests{0};
    std::atomic<std::size_t> values{0};
    std::atomic<std::size_t> exports{0};
};

// One WebSocket connection as the pad service sees it. Every member may be
// called from any thread.
class client {
public:
    virtual ~client() = default;
    virtual std::uint64_t id() const = 0;
    // Queues an event or notice for the client: it counts against the
    // unread budget (config::send_queue), past which the connection closes.
    virtual void send(std::string text) = 0;
    // Queues the answer to a request (at most limits::reply_bytes): never
    // by itself a reason to close the connection.
    virtual void answer(std::string text) = 0;
    // Has the connection's thread take what `stream` holds (at most one such
    // hand-over is pending per stream).
    virtual void drain(std::shared_ptr<event_stream> stream) = 0;
    // What this connection has in flight.
    const std::shared_ptr<connection_load> &load() const { return load_; }

private:
    const std::shared_ptr<connection_load> load_ = std::make_shared<connection_load>();
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
