// SPDX-License-Identifier: Apache-2.0
// The parts of the protocol and of the security checks that need no
// network code: reading a request's envelope, the per-connection rate
// limit, and the Host and Origin checks against the address listened on.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge.hpp"

namespace bridge {

// One text message as a request: a JSON object whose "type" is a string and
// whose "id", if present, is a number or a string, of at most
// limits::json_values values nested at most limits::json_depth deep (checked
// before the tree is built). Throws protocol_error (bad_json, bad_message,
// bad_field, too_large).
struct parsed_request {
    json message;
    std::size_t values;  // JSON values in it (its weight while it waits)
};
parsed_request parse_request(std::string_view text);

// A token bucket: `rate` messages a second, bursts of up to `rate` (at
// least 10).
class rate_limiter {
public:
    explicit rate_limiter(double rate);
    bool allow(std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());

private:
    double rate_, capacity_, tokens_;
    std::chrono::steady_clock::time_point last_;
};

// host[:port] or [v6]:port, as --listen takes it; nullopt when malformed.
struct endpoint {
    std::string host;  // without brackets
    unsigned port = 0;
};
std::optional<endpoint> parse_endpoint(std::string_view text, unsigned default_port);

// Whether `host` is an IP address literal (v4 or v6, without brackets).
bool is_ip_literal(const std::string &host);
// "[::1]" for v6 literals, the text itself otherwise.
std::string url_host(const std::string &host);

// An --allow-origin value as browsers send it in Origin: "http" or
// "https", "://", a host (a DNS name, an IPv4 address or a bracketed IPv6
// one) and an optional port, nothing else; lower case, the scheme's
// default port left out. nullopt for anything else (a path, "*", no
// scheme, a user name).
std::optional<std::string> canonical_origin(std::string_view text);

// What the service listens on, once bound, and the names it answers to.
struct listen_identity {
    std::string address;  // the bound address, e.g. 127.0.0.1 or ::1
    unsigned port = 0;
    bool loopback = true;
    bool unspecified = false;  // 0.0.0.0 or :: (only with --allow-remote)
    std::vector<std::string> extra_origins;  // canonical (canonical_origin)

    // Host header check against DNS rebinding: "localhost" (on loopback)
    // or an IP literal the service listens on, with the bound port.
    bool host_allowed(std::string_view host_header) const;
    // The service's own origins (http://127.0.0.1:PORT, http://localhost:PORT
    // ...) and the --allow-origin ones; a request without Origin is no
    // browser's and passes.
    bool origin_allowed(std::string_view origin) const;
    std::vector<std::string> own_origins() const;
    // The address to print and browse to.
    std::string url() const;
};

}  // namespace bridge
