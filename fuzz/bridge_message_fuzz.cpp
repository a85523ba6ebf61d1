// SPDX-License-Identifier: Apache-2.0
// vantix-bridge's message handling: any bytes as one text message of a
// connection that has the virtual pad open, through the connection's
// dispatcher and the pad service, without a network. Every message the
// connection receives must be a JSON object with a string "type", and the
// connection must go on being served: after each input a pad.identity is
// answered (the pad is opened again when the input closed it).
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "dispatcher.hpp"
#include "padsim/sim_driver.hpp"

namespace {

using bridge::json;

// A connection that checks what it receives and lets the fuzzer wait for
// the answer to one request.
class checking_client final : public bridge::client {
public:
    std::uint64_t id() const override { return 1; }
    void send(std::string text) override { take(text); }
    void answer(std::string text) override { take(text); }
    void drain(std::shared_ptr<bridge::event_stream> stream) override {
        for (const std::string &event : stream->take())
            take(event);
    }

    // Sends `request` (with id `id`) and returns its answer; aborts when
    // none comes: the service stopped serving the connection.
    json ask(bridge::dispatcher &to, const std::shared_ptr<client> &self, const std::string &request,
             const std::string &id) {
        {
            std::lock_guard guard(lock_);
            waiting_for_ = id;
            got_.reset();
        }
        to.text(self, request);
        std::unique_lock guard(lock_);
        if (!arrived_.wait_for(guard, std::chrono::seconds(30), [this] { return got_.has_value(); })) {
            std::fprintf(stderr, "bridge_message_fuzz: no answer to %s\n", request.c_str());
            std::abort();
        }
        return *got_;
    }

private:
    void take(const std::string &text) {
        const json message = json::parse(text, nullptr, false);
        if (message.is_discarded() || !message.is_object() || !message.contains("type") ||
            !message["type"].is_string()) {
            std::fprintf(stderr, "bridge_message_fuzz: not a protocol message: %s\n", text.c_str());
            std::abort();
        }
        std::lock_guard guard(lock_);
        if (!waiting_for_.empty() && message.contains("id") && message["id"] == waiting_for_) {
            got_ = message;
            arrived_.notify_all();
        }
    }

    std::mutex lock_;
    std::condition_variable arrived_;
    std::string waiting_for_;
    std::optional<json> got_;
};

struct service {
    bridge::config cfg;
    std::unique_ptr<bridge::pad_service> pads;
    std::unique_ptr<bridge::dispatcher> dispatcher;
    std::shared_ptr<checking_client> client = std::make_shared<checking_client>();
    unsigned long checks = 0;

    service() {
        cfg.sim = true;
        cfg.max_rate = 1e9;  // the rate limit is not what is fuzzed
        // The virtual pad without a status report opens at once (the
        // default model polls it for 100 ms).
        padsim::model quick;
        quick.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
        padsim::add_pad(quick);
        pads = std::make_unique<bridge::pad_service>(cfg, [](std::string) {});
        dispatcher = std::make_unique<bridge::dispatcher>(cfg, *pads);
        open();
    }

    void open() {
        json opened = client->ask(*dispatcher, client,
                                  R"({"type": "pad.open", "path": "sim:0", "id": "fuzz-open"})", "fuzz-open");
        if (opened["type"] == "error" && opened["code"] == "no_pad") {
            // The input unplugged it (sim.unplug): plugged in again.
            client->ask(*dispatcher, client, R"({"type": "sim.replug", "id": "fuzz-replug"})", "fuzz-replug");
            opened = client->ask(*dispatcher, client, R"({"type": "pad.open", "path": "sim:0", "id": "fuzz-open"})",
                                 "fuzz-open");
        }
        if (opened["type"] != "opened") {
            std::fprintf(stderr, "bridge_message_fuzz: the virtual pad does not open: %s\n", opened.dump().c_str());
            std::abort();
        }
    }

    void check() {
        const std::string id = "fuzz-check-" + std::to_string(++checks);
        const json reply =
            client->ask(*dispatcher, client, R"({"type": "pad.identity", "id": ")" + id + "\"}", id);
        if (reply["type"] == "error" && reply["code"] == "not_open")
            return open();  // the input closed it
        if (reply["type"] != "identity") {
            std::fprintf(stderr, "bridge_message_fuzz: pad.identity answered %s\n", reply.dump().c_str());
            std::abort();
        }
    }
};

service *the_service = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    the_service = new service;
    // Registered after the statics the service uses were made, so it runs
    // before they go: the pads' threads end, renders answer no more.
    std::atexit([] { the_service->pads->shutdown(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    service &s = *the_service;
    s.dispatcher->text(s.client, std::string_view(reinterpret_cast<const char *>(data), size));
    s.check();
    return 0;
}
