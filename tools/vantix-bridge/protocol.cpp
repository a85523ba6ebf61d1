// SPDX-License-Identifier: Apache-2.0
#include "protocol.hpp"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace bridge {

json error_message(const std::string &code, const std::string &message, const std::string &detail,
                   const json *id) {
    json out = {{"type", "error"}, {"code", code}, {"message", message}};
    std::string trimmed = detail;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == ' '))
        trimmed.pop_back();
    if (!trimmed.empty())
        out["detail"] = trimmed;
    if (id && !id->is_null())
        out["id"] = *id;
    return out;
}

json error_message(const protocol_error &e, const json *id) {
    json out = error_message(e.code(), e.what(), e.detail(), id);
    if (e.fields().is_object())
        for (const auto &[key, value] : e.fields().items())
            if (!out.contains(key))
                out[key] = value;
    return out;
}

void reply(client &to, const json &id, json body) {
    if (!id.is_null())
        body["id"] = id;
    to.answer(to_text(body));
}

std::string cut_text(std::string_view text, std::size_t max_bytes) {
    if (text.size() <= max_bytes)
        return std::string(text);
    std::size_t end = max_bytes;
    // Back over continuation bytes (10xxxxxx) to the start of the character
    // the cut falls in, which is then left out whole.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

std::uint64_t event_time_us(std::uint64_t steady) {
    static const std::uint64_t dated_wall =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                       std::chrono::system_clock::now().time_since_epoch())
                                       .count());
    static const std::uint64_t dated_steady = steady_us();
    return dated_wall + (steady - dated_steady);
}

std::string to_text(const json &message) {
    return message.dump(-1, ' ', false, json::error_handler_t::replace);
}

// --- event_stream ------------------------------------------------------------------

void event_stream::push(std::string event) {
    std::shared_ptr<client> wake;
    {
        std::lock_guard guard(lock_);
        if (queue_.size() >= bound_) {
            ++dropped_;
        } else {
            queue_.push_back(std::move(event));
        }
        if (!handed_over_) {
            handed_over_ = true;
            wake = target_.lock();
            if (!wake)
                handed_over_ = false;
        }
    }
    if (wake)
        wake->drain(shared_from_this());
}

std::vector<std::string> event_stream::take() {
    std::lock_guard guard(lock_);
    std::vector<std::string> out;
    out.reserve(queue_.size() + 1);
    if (dropped_) {
        out.push_back(json{{"type", "overflow"}, {"dropped", dropped_}}.dump());
        dropped_ = 0;
    }
    for (std::string &event : queue_)
        out.push_back(std::move(event));
    queue_.clear();
    handed_over_ = false;
    return out;
}

// --- Requests ----------------------------------------------------------------------

namespace {

// Counts a message's values and depth without building anything, and stops
// at the first value past a limit.
class json_budget final : public nlohmann::json_sax<json> {
public:
    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t &) override { return value(); }
    bool string(string_t &) override { return value(); }
    bool binary(binary_t &) override { return value(); }
    bool start_object(std::size_t) override { return value() && deeper(); }
    bool key(string_t &) override { return true; }
    bool end_object() override { return shallower(); }
    bool start_array(std::size_t) override { return value() && deeper(); }
    bool end_array() override { return shallower(); }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override {
        return false;
    }

    std::size_t values = 0;
    bool over = false;  // a limit was passed (else a stop is a syntax error)

private:
    bool value() {
        if (++values <= limits::json_values)
            return true;
        over = true;
        return false;
    }
    bool deeper() {
        if (++depth_ <= limits::json_depth)
            return true;
        over = true;
        return false;
    }
    bool shallower() {
        --depth_;
        return true;
    }
    std::size_t depth_ = 0;
};

}  // namespace

parsed_request parse_request(std::string_view text) {
    json_budget budget;
    if (!json::sax_parse(text, &budget)) {
        if (budget.over)
            throw protocol_error("too_large", "a message may hold at most " +
                                                  std::to_string(limits::json_values) +
                                                  " JSON values, nested at most " +
                                                  std::to_string(limits::json_depth) + " deep");
        throw protocol_error("bad_json", "the message is not valid JSON");
    }
    json message = json::parse(text, nullptr, false);
    if (message.is_discarded())
        throw protocol_error("bad_json", "the message is not valid JSON");
    if (!message.is_object())
        throw protocol_error("bad_message", "a message must be a JSON object");
    auto type = message.find("type");
    if (type == message.end())
        throw protocol_error("bad_message", "the message has no \"type\"");
    if (!type->is_string())
        throw protocol_error("bad_field", "field 'type' must be a string");
    auto id = message.find("id");
    if (id != message.end() && !id->is_number() && !id->is_string() && !id->is_null())
        throw protocol_error("bad_field", "field 'id' must be a number or a string");
    if (id != message.end() && id->is_string() && id->get_ref<const std::string &>().size() > 128)
        throw protocol_error("bad_field", "field 'id' is longer than 128 bytes");
    return {std::move(message), budget.values};
}

rate_limiter::rate_limiter(double rate)
    : rate_(rate),
      capacity_(std::max(rate, 10.0)),
      tokens_(capacity_),
      last_(std::chrono::steady_clock::now()) {}

bool rate_limiter::allow(std::chrono::steady_clock::time_point now) {
    const double elapsed = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    tokens_ = std::min(capacity_, tokens_ + elapsed * rate_);
    if (tokens_ < 1)
        return false;
    tokens_ -= 1;
    return true;
}

// --- Addresses ---------------------------------------------------------------------

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::optional<unsigned> parse_port(std::string_view text) {
    unsigned port = 0;
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc() || end != text.data() + text.size() || port > 65535)
        return std::nullopt;
    return port;
}

// The canonical text of an IP literal (so ::0001 and ::1 compare equal).
std::optional<std::string> canonical_ip(const std::string &host) {
    unsigned char buffer[16];
    char text[INET6_ADDRSTRLEN];
    if (inet_pton(AF_INET, host.c_str(), buffer) == 1 && inet_ntop(AF_INET, buffer, text, sizeof text))
        return std::string(text);
    if (inet_pton(AF_INET6, host.c_str(), buffer) == 1 && inet_ntop(AF_INET6, buffer, text, sizeof text))
        return std::string(text);
    return std::nullopt;
}

}  // namespace

std::optional<endpoint> parse_endpoint(std::string_view text, unsigned default_port) {
    endpoint out;
    std::string_view rest;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        out.host = std::string(text.substr(1, close - 1));
        rest = text.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':'))
            return std::nullopt;
    } else {
        const auto colon = text.rfind(':');
        if (colon != std::string_view::npos && text.find(':') != colon)
            return std::nullopt;  // a bare v6 literal needs brackets
        out.host = std::string(text.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
    }
    if (rest.empty()) {
        out.port = default_port;
    } else {
        auto port = parse_port(rest.substr(1));
        if (!port)
            return std::nullopt;
        out.port = *port;
    }
    if (out.host.empty())
        return std::nullopt;
    return out;
}

std::optional<std::string> canonical_origin(std::string_view text) {
    const std::string origin = lower(text);
    std::string_view rest(origin);
    std::string scheme;
    for (const char *known : {"http", "https"})
        if (rest.starts_with(std::string(known) + "://"))
            scheme = known;
    if (scheme.empty())
        return std::nullopt;
    rest.remove_prefix(scheme.size() + 3);
    auto where = parse_endpoint(rest, 0);
    if (!where)
        return std::nullopt;
    const std::string &host = where->host;
    if (host.find(':') != std::string::npos) {  // IPv6: only bracketed, as parse_endpoint took it
        unsigned char address[16];
        if (inet_pton(AF_INET6, host.c_str(), address) != 1)
            return std::nullopt;
    } else {
        // A DNS name (or an IPv4 address): labels of letters, digits and
        // hyphens, not starting or ending with one.
        if (host.size() > 253)
            return std::nullopt;
        std::size_t label = 0;
        for (std::size_t i = 0; i <= host.size(); ++i) {
            const char c = i < host.size() ? host[i] : '.';
            if (c == '.') {
                if (label == 0 || label > 63 || host[i - 1] == '-' || host[i - label] == '-')
                    return std::nullopt;
                label = 0;
            } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '-') {
                ++label;
            } else {
                return std::nullopt;
            }
        }
    }
    const bool has_port =
        rest.find(':', rest.starts_with('[') ? rest.find(']') : 0) != std::string_view::npos;
    if (has_port && where->port == 0)
        return std::nullopt;
    const unsigned default_port = scheme == "https" ? 443 : 80;
    std::string out = scheme + "://" + url_host(host);
    if (has_port && where->port != default_port)
        out += ":" + std::to_string(where->port);
    return out;
}

bool is_ip_literal(const std::string &host) { return canonical_ip(host).has_value(); }

std::string url_host(const std::string &host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

bool listen_identity::host_allowed(std::string_view host_header) const {
    auto parsed = parse_endpoint(host_header, 80);
    if (!parsed || parsed->port != port)
        return false;
    const std::string name = lower(parsed->host);
    if (name == "localhost")
        return loopback;
    const auto literal = canonical_ip(name);
    if (!literal)
        return false;  // a DNS name: what a rebinding attack uses
    if (unspecified)
        return true;
    return literal == canonical_ip(address);
}

std::vector<std::string> listen_identity::own_origins() const {
    const std::string suffix = ":" + std::to_string(port);
    std::vector<std::string> out;
    if (!unspecified)
        out.push_back("http://" + url_host(address) + suffix);
    if (loopback) {
        out.push_back("http://localhost" + suffix);
        out.push_back("http://127.0.0.1" + suffix);
        out.push_back("http://[::1]" + suffix);
    }
    return out;
}

bool listen_identity::origin_allowed(std::string_view origin) const {
    if (origin.empty())
        return true;
    const std::optional<std::string> wanted = canonical_origin(origin);
    if (!wanted)
        return false;  // "null" (a sandboxed page, a file) or malformed
    for (const std::string &own : own_origins())
        if (*wanted == own)
            return true;
    for (const std::string &extra : extra_origins)
        if (*wanted == extra)
            return true;
    return false;
}

std::string listen_identity::url() const {
    return "http://" +
           url_host(unspecified ? std::string(address.find(':') != std::string::npos ? "::1" : "127.0.0.1")
                                : address) +
           ":" + std::to_string(port) + "/";
}

}  // namespace bridge
