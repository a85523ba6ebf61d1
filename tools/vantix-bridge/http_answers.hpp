// SPDX-License-Identifier: Apache-2.0
// The plain HTTP answers of vantix-bridge that depend on the request alone:
// text replies, CORS for the allowed origins (the headers of a GET, the
// preflights) and the status any page may read. With `verbose`, every
// refusal is logged with the request's origin, host and the reason.
#pragma once

#include <boost/beast/http.hpp>
#include <string>
#include <string_view>

#include "bridge.hpp"

namespace bridge {

namespace http = boost::beast::http;
using request = http::request<http::string_body>;
using response = http::response<http::string_body>;

// A short text answer.
response plain(http::status status, unsigned version, bool keep_alive, std::string text);

// Vary: Origin, and Access-Control-Allow-Origin when the origin is allowed.
void allow_origin(response &res, const request &req, bool origin_allowed, bool verbose);

// OPTIONS: GET and HEAD with the headers asked for (and the browser's
// private or local network check passed) for allowed origins, and for the
// status from any origin; 403 and 405 otherwise.
response preflight(const request &req, std::string_view path, bool origin_allowed, bool verbose);

// GET /status: {"service", "origin_allowed"}, and the protocol and version
// for allowed origins.
response status_answer(const request &req, bool origin_allowed, bool verbose);

// "vantix-bridge: refused METHOD TARGET: origin O, host H: REASON" on
// standard error, with -v.
void log_refusal(bool verbose, const request &req, const char *reason);

}  // namespace bridge
