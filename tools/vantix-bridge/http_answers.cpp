// SPDX-License-Identifier: Apache-2.0
#include "http_answers.hpp"

#include <cstdio>

#include "vantix-zelnar.h"

namespace bridge {

response plain(http::status status, unsigned version, bool keep_alive, std::string text) {
    response res{status, version};
    res.set(http::field::server, "vantix-bridge");
    res.set(http::field::content_type, "text/plain; charset=utf-8");
    res.set(http::field::cache_control, "no-store");
    res.keep_alive(keep_alive);
    res.body() = std::move(text) + "\n";
    res.prepare_payload();
    return res;
}

// CORS: a page of an allowed origin may read what the service serves (the
// module, the status); others get no CORS headers, so their browser keeps
// the answer from them. Answers differ by Origin, which caches must know.
void allow_origin(response &res, const request &req, bool origin_allowed, bool verbose) {
    res.set(http::field::vary, "Origin");
    const std::string_view origin = req[http::field::origin];
    if (origin.empty())
        return;
    if (origin_allowed)
        res.set(http::field::access_control_allow_origin, origin);
    else
        log_refusal(verbose, req, "origin not allowed (answered without CORS headers)");
}

// A preflight: for the allowed origins, GET and HEAD with the headers asked
// for, and the browser's local-network checks passed; the status for every
// origin (it tells them no more than that a service answers).
response preflight(const request &req, std::string_view path, bool origin_allowed, bool verbose) {
    const std::string_view origin = req[http::field::origin];
    const std::string_view method = req[http::field::access_control_request_method];
    if (origin.empty() || !(origin_allowed || path == "/status")) {
        log_refusal(verbose, req, "preflight from an origin not allowed");
        auto res =
            plain(http::status::forbidden, req.version(), req.keep_alive(), "forbidden: origin not allowed");
        res.set(http::field::vary, "Origin");
        return res;
    }
    if (method != "GET" && method != "HEAD") {
        log_refusal(verbose, req, "preflight for a method other than GET and HEAD");
        auto res =
            plain(http::status::method_not_allowed, req.version(), req.keep_alive(), "only GET and HEAD");
        res.set(http::field::vary, "Origin");
        return res;
    }
    response res{http::status::no_content, req.version()};
    res.set(http::field::server, "vantix-bridge");
    res.set(http::field::vary, "Origin");
    res.set(http::field::access_control_allow_origin, origin);
    res.set(http::field::access_control_allow_methods, "GET, HEAD");
    if (const std::string_view headers = req[http::field::access_control_request_headers]; !headers.empty())
        res.set(http::field::access_control_allow_headers, headers);
    res.set(http::field::access_control_max_age, "600");
    if (req["Access-Control-Request-Private-Network"] == "true")
        res.set("Access-Control-Allow-Private-Network", "true");
    if (req["Access-Control-Request-Local-Network"] == "true")
        res.set("Access-Control-Allow-Local-Network", "true");
    res.keep_alive(req.keep_alive());
    res.prepare_payload();
    return res;
}

// GET /status: that a vantix-bridge answers, to any page, and whether the
// page's origin may connect; the protocol and version to allowed origins
// only.
response status_answer(const request &req, bool origin_allowed, bool verbose) {
    json body = {{"service", "vantix-bridge"}, {"origin_allowed", origin_allowed}};
    if (origin_allowed) {
        body["protocol"] = protocol_version;
        body["version"] = vantix_get_zelnar_version();
    } else {
        log_refusal(verbose, req, "origin not allowed (told so by the status)");
    }
    response res{http::status::ok, req.version()};
    res.set(http::field::server, "vantix-bridge");
    res.set(http::field::content_type, "application/json");
    res.set(http::field::cache_control, "no-store");
    res.set(http::field::vary, "Origin");
    const std::string_view origin = req[http::field::origin];
    if (!origin.empty())  // no Origin: no browser's request, no CORS
        res.set(http::field::access_control_allow_origin, origin_allowed ? origin : "*");
    res.keep_alive(req.keep_alive());
    if (req.method() == http::verb::get)
        res.body() = to_text(body) + "\n";
    res.prepare_payload();
    return res;
}

void log_refusal(bool verbose, const request &req, const char *reason) {
    if (!verbose)
        return;
    const auto shown = [](std::string_view text) {
        return text.empty() ? std::string("(none)") : cut_text(text, 200);
    };
    std::fprintf(stderr, "vantix-bridge: refused %s %s: origin %s, host %s: %s\n",
                 std::string(req.method_string()).c_str(), shown(req.target()).c_str(),
                 shown(req[http::field::origin]).c_str(), shown(req[http::field::host]).c_str(), reason);
}

}  // namespace bridge
