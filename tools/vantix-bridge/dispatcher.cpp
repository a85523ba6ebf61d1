// SPDX-License-Identifier: Apache-2.0
#include "dispatcher.hpp"

#include <cstdio>
#include <string>

namespace bridge {
namespace {

void refuse(client &to, const std::string &code, const std::string &message, const json *id = nullptr) {
    to.answer(to_text(error_message(code, message, {}, id)));
}

}  // namespace

dispatcher::dispatcher(const config &cfg, pad_service &pads)
    : cfg_(cfg), pads_(pads), limiter_(cfg.max_rate) {}

void dispatcher::binary(const std::shared_ptr<client> &from) noexcept {
    try {
        refuse(*from, "bad_message", "binary messages are not accepted; send JSON text");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vantix-bridge: internal error answering a binary message: %s\n", e.what());
    }
}

void dispatcher::text(const std::shared_ptr<client> &from, std::string_view text) noexcept {
    json id;  // the request's, once read
    try {
        handle(from, text, id);
        return;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vantix-bridge: internal error handling a message of connection %llu: %s\n",
                     static_cast<unsigned long long>(from->id()), e.what());
    } catch (...) {
        std::fprintf(stderr, "vantix-bridge: internal error handling a message of connection %llu\n",
                     static_cast<unsigned long long>(from->id()));
    }
    try {
        refuse(*from, "internal", "the service failed to handle this message; it goes on serving", &id);
    } catch (...) {
        // Out of memory at worst: this answer is lost, the connection stays.
    }
}

void dispatcher::handle(const std::shared_ptr<client> &from, std::string_view text, json &id) {
    if (!limiter_.allow())
        return refuse(*from, "rate_limited",
                      "more than " + std::to_string(static_cast<long>(cfg_.max_rate)) +
                          " messages a second; this one was dropped");
    if (text.size() > cfg_.max_message)
        return refuse(*from, "too_large",
                      "messages are limited to " + std::to_string(cfg_.max_message) + " bytes");
    parsed_request parsed;
    try {
        parsed = parse_request(text);
    } catch (const protocol_error &e) {
        return refuse(*from, e.code(), e.what());
    }
    json &message = parsed.message;
    if (auto found = message.find("id"); found != message.end())
        id = *found;
    const std::string &type = message["type"].get_ref<const std::string &>();
    if (type == "hello") {
        const json *asked = message.contains("protocol") ? &message["protocol"] : nullptr;
        if (asked && (!asked->is_number_integer() || asked->get<long long>() != protocol_version))
            return refuse(*from, "unsupported_protocol",
                          "this service speaks protocol " + std::to_string(protocol_version), &id);
        json reply = {{"type", "hello"}, {"protocol", protocol_version}};
        if (!id.is_null())
            reply["id"] = id;
        return from->answer(to_text(reply));
    }
    pads_.request(from, std::move(message), parsed.values);
}

}  // namespace bridge
