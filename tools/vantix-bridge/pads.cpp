// SPDX-License-Identifier: Apache-2.0
#include "pads.hpp"

#include <algorithm>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <optional>
#include <string_view>
#include <thread>
#include <utility>

#include "open_pad.hpp"
#include "request_fields.hpp"
#include "signature_export.hpp"
#include "vantix-padsim.h"

namespace bridge {

namespace asio = boost::asio;

struct pad_service::state {
    const config &cfg;
    std::function<void(std::string)> broadcast;
    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> work{io.get_executor()};
    std::thread thread;
    std::once_flag stopped;

    // Only on the service's thread:
    std::optional<vantix::zelnar::library> library;
    std::optional<vantix::zelnar::hotplug_subscription> hotplug;
    std::map<std::string, std::unique_ptr<open_pad>> pads;  // by path

    // A request's answer, or nothing when it comes later (sim.stroke).
    using handler = std::optional<json> (state::*)(const std::shared_ptr<client> &from, const json &id,
                                                   const json &message);
    struct request_type {
        std::string_view name;
        handler handle;
    };
    static const request_type request_types[];
    static const request_type *find_type(std::string_view name) {
        for (const request_type *t = request_types; !t->name.empty(); ++t)
            if (t->name == name)
                return t;
        return nullptr;
    }

    state(const config &c, std::function<void(std::string)> b) : cfg(c), broadcast(std::move(b)) {}

    open_pad *owned_by(std::uint64_t client_id) {
        for (auto &[path, p] : pads)
            if (p->owner == client_id)
                return p.get();
        return nullptr;
    }
    open_pad &require_open(const std::shared_ptr<client> &from) {
        if (open_pad *p = owned_by(from->id()))
            return *p;
        throw protocol_error("not_open", "this connection has no open pad (pad.open first)");
    }
    open_pad &require_sim(const std::shared_ptr<client> &from) {
        if (!cfg.sim)
            throw protocol_error("not_sim", "sim.* messages need vantix-bridge --sim");
        open_pad &p = require_open(from);
        if (!p.simulated)
            throw protocol_error("not_sim", "the open pad is not the virtual pad");
        return p;
    }

    void handle(const std::shared_ptr<client> &from, const json &message) {
        const std::string &type = message["type"].get_ref<const std::string &>();
        const json id = message.contains("id") ? message["id"] : json();
        try {
            const request_type *t = find_type(type);
            if (!t)
                throw protocol_error("unknown_type", "unknown message type '" + type + "'");
            if (std::optional<json> body = (this->*t->handle)(from, id, message))
                reply(*from, id, std::move(*body));
        } catch (const protocol_error &e) {
            reply(*from, id, error_message(e.code(), e.what(), e.detail()));
        } catch (const vantix::zelnar::error &e) {
            reply(*from, id, error_message("library", e.what(), vantix_get_last_error()));
        } catch (const std::exception &e) {
            reply(*from, id, error_message("internal", e.what()));
        }
    }

    // --- Pads --------------------------------------------------------------------

    std::optional<json> list(const std::shared_ptr<client> &from, const json &, const json &) {
        vantix::zelnar::device_list listed;
        json out = json::array();
        for (vantix::zelnar::device_view d : listed) {
            auto found = pads.find(std::string(d.path()));
            const bool open = found != pads.end();
            out.push_back(list_entry(d, open, open && found->second->owner == from->id()));
        }
        return json{{"type", "pads"}, {"pads", std::move(out)}};
    }

    std::optional<json> open(const std::shared_ptr<client> &from, const json &, const json &message) {
        const std::uint64_t who = from->id();
        const std::optional<std::string> wanted = opt_string(message, "path");
        if (owned_by(who))
            throw protocol_error("already_open", "this connection already has a pad open (pad.close first)");
        auto listed = std::make_shared<vantix::zelnar::device_list>();
        std::optional<vantix::zelnar::device_view> chosen;
        if (wanted)
            chosen = listed->find_path(*wanted);
        else if (!(chosen = listed->first_of_driver("REAL")))
            chosen = listed->first_of_driver("SIM");
        if (!chosen)
            throw protocol_error("no_pad", wanted ? "no pad at " + *wanted : std::string("no pad attached"));
        const std::string path(chosen->path());
        if (pads.count(path))
            throw protocol_error("pad_busy", path + " is open on another connection");

        auto p = std::make_unique<open_pad>();
        p->path = path;
        p->owner = who;
        p->owner_client = from;
        p->list = listed;
        p->simulated = chosen->driver_name() == "SIM";
        if (p->simulated) {
            constexpr std::string_view prefix = "sim:";
            p->sim_index = std::atoi(path.c_str() + prefix.size());
        }
        p->pad = std::make_unique<vantix::zelnar::pad>(*chosen);
        p->capture.reset(vantix_signature_capture_new(&p->pad->record()));
        if (!p->capture)
            throw protocol_error("library", "the signature capture cannot start",
                                 vantix_signature_last_error());
        p->input = std::make_shared<input_state>();
        p->input->stream = std::make_shared<event_stream>(from, cfg.event_queue);
        p->input->capture = p->capture.get();
        vantix_signature_get_pad_info(p->capture.get(), &p->input->info);
        p->pad->on_input([input = p->input](const vantix::zelnar::input_event &e) { input->on_input(e); });
        // The library's read thread serves the virtual pad too: its reads
        // end every 10 ms, so closing never waits long for the thread.
        p->pad->start_reading();
        json body = {{"type", "opened"}, {"pad", identity(*p)}};
        pads.emplace(path, std::move(p));
        if (cfg.verbose)
            std::fprintf(stderr, "vantix-bridge: connection %llu opened %s\n",
                         static_cast<unsigned long long>(who), path.c_str());
        return body;
    }

    // Stops the reading, drops the prompt's regions, closes the pad and
    // frees it for others; the owner hears of it unless it asked.
    void close_pad(std::string path, const char *reason) {  // a copy: callers pass keys it erases
        auto found = pads.find(path);
        if (found == pads.end())
            return;
        std::unique_ptr<open_pad> p = std::move(found->second);
        pads.erase(found);
        const std::weak_ptr<client> owner = p->owner_client;
        p.reset();
        if (reason)
            if (auto to = owner.lock())
                to->send(json{{"type", "pad.closed"}, {"path", path}, {"reason", reason}}.dump());
        if (cfg.verbose)
            std::fprintf(stderr, "vantix-bridge: closed %s\n", path.c_str());
    }

    std::optional<json> close(const std::shared_ptr<client> &from, const json &, const json &) {
        close_pad(require_open(from).path, nullptr);
        return json{{"type", "closed"}};
    }

    std::optional<json> identify(const std::shared_ptr<client> &from, const json &, const json &) {
        return json{{"type", "identity"}, {"pad", identity(require_open(from))}};
    }

    // --- The display -------------------------------------------------------------

    static json captions_of(const open_pad &p) {
        json out = json::array();
        for (const button &b : p.buttons)
            out.push_back(b.caption);
        return out;
    }

    static void prompt(open_pad &p, const json &message) {
        const std::string text = opt_string(message, "text", 200).value_or("");
        const unsigned max_caption = std::max<unsigned>(1, p.pad->display().max_caption_length);
        std::vector<std::string> captions =
            opt_strings(message, "buttons", max_buttons, max_caption).value_or(std::vector<std::string>{});
        const auto &display = p.pad->display();
        if (captions.size() + 1 > display.region_count)
            throw protocol_error("bad_field",
                                 "the pad has room for " + std::to_string(button_room(*p.pad)) + " buttons");
        p.drop_buttons();
        const std::vector<button> layout = button_layout(captions, display.width, display.height);
        show_prompt(*p.pad, text, layout);
        p.buttons = layout;
        p.input->set_captions(std::move(captions));
    }

    std::optional<json> clear(const std::shared_ptr<client> &from, const json &, const json &) {
        open_pad &p = require_open(from);
        p.drop_buttons();
        p.pad->clear_screen();
        return json{{"type", "cleared"}};
    }

    std::optional<json> show(const std::shared_ptr<client> &from, const json &, const json &message) {
        open_pad &p = require_open(from);
        prompt(p, message);
        return json{{"type", "prompted"}, {"buttons", captions_of(p)}};
    }

    // --- The capture -------------------------------------------------------------

    std::optional<json> capture_start(const std::shared_ptr<client> &from, const json &,
                                      const json &message) {
        open_pad &p = require_open(from);
        if (field(message, "text") || field(message, "buttons"))
            prompt(p, message);
        vantix_signature_clear(p.capture.get());
        p.input->capturing = true;
        return json{{"type", "capture.started"}, {"buttons", captions_of(p)}};
    }

    std::optional<json> capture_clear(const std::shared_ptr<client> &from, const json &, const json &) {
        vantix_signature_clear(require_open(from).capture.get());
        return json{{"type", "capture.cleared"}};
    }

    std::optional<json> capture_cancel(const std::shared_ptr<client> &from, const json &, const json &) {
        open_pad &p = require_open(from);
        p.input->capturing = false;
        vantix_signature_clear(p.capture.get());
        return json{{"type", "capture.cancelled"}};
    }

    std::optional<json> capture_finish(const std::shared_ptr<client> &from, const json &,
                                       const json &message) {
        open_pad &p = require_open(from);
        p.input->capturing = false;
        return export_signature(p.capture.get(), message);
    }

    // --- The virtual pen ---------------------------------------------------------

    std::optional<json> sim_stroke(const std::shared_ptr<client> &from, const json &id, const json &message) {
        open_pad &p = require_sim(from);
        std::vector<pen_point> points = stroke_points(p.input->info, message);
        const double rate = opt_number(message, "rate", 0, 0, 1000);
        if (p.stroke && p.stroke->drawing())
            throw protocol_error("sim_busy", "the virtual pen is still drawing the last stroke");
        p.stroke = pen_stroke::draw(io, p.sim_index, std::move(points), rate, from, id);
        return std::nullopt;  // sim.done when drawn
    }

    std::optional<json> sim_pen(const std::shared_ptr<client> &from, const json &, const json &message) {
        open_pad &p = require_sim(from);
        const auto [x, y] = pen_point_of(p.input->info, message);
        if (!vantix_padsim_pen_sample(p.sim_index, x, y, opt_bool(message, "down", true) ? 1 : 0))
            throw protocol_error("library", "the virtual pad refused the sample");
        return json{{"type", "sim.done"}, {"samples", 1}, {"sent", {now_us()}}};
    }

    std::optional<json> sim_tap(const std::shared_ptr<client> &from, const json &, const json &message) {
        open_pad &p = require_sim(from);
        const auto [x, y] = pen_point_of(p.input->info, message);
        if (!vantix_padsim_tap(p.sim_index, x, y))
            throw protocol_error("library", "the virtual pad refused the tap");
        return json{{"type", "sim.done"}, {"samples", 2}};
    }

    std::optional<json> sim_button(const std::shared_ptr<client> &from, const json &, const json &message) {
        open_pad &p = require_sim(from);
        const double index = opt_number(message, "index", -1, 0, max_buttons - 1);
        if (index < 0 || static_cast<std::size_t>(index) >= p.buttons.size() || index != std::floor(index))
            throw protocol_error("bad_field", "field 'index' must name a button of the prompt");
        const button &b = p.buttons[static_cast<std::size_t>(index)];
        if (!vantix_padsim_tap_display(p.sim_index, static_cast<int>((b.x1 + b.x2) / 2),
                                       static_cast<int>((b.y1 + b.y2) / 2)))
            throw protocol_error("library", "the virtual pad refused the tap");
        return json{{"type", "sim.done"}, {"samples", 2}};
    }

    // --- Hotplug -----------------------------------------------------------------

    void hotplug_event(vantix_hotplug_type type, const std::string &path) {
        const bool attached = type == VANTIX_HOTPLUG_ATTACHED;
        broadcast(
            json{{"type", "hotplug"}, {"event", attached ? "attached" : "detached"}, {"path", path}}.dump());
        if (!attached)
            close_pad(path, "detached");
    }

    void run(std::promise<void> &started) {
        try {
            library.emplace();
            if (cfg.sim)
                vantix_padsim_register();
            hotplug.emplace([this](vantix_hotplug_type type, std::string_view path) {
                asio::post(io, [this, type, p = std::string(path)] { hotplug_event(type, p); });
            });
            started.set_value();
        } catch (...) {
            started.set_exception(std::current_exception());
            return;
        }
        io.run();
        hotplug.reset();
        while (!pads.empty())
            close_pad(pads.begin()->first, "shutdown");
        library.reset();
    }
};

const pad_service::state::request_type pad_service::state::request_types[] = {
    {"pads.list", &state::list},
    {"pad.open", &state::open},
    {"pad.close", &state::close},
    {"pad.identity", &state::identify},
    {"pad.clear", &state::clear},
    {"pad.prompt", &state::show},
    {"capture.start", &state::capture_start},
    {"capture.clear", &state::capture_clear},
    {"capture.finish", &state::capture_finish},
    {"capture.cancel", &state::capture_cancel},
    {"sim.stroke", &state::sim_stroke},
    {"sim.pen", &state::sim_pen},
    {"sim.tap", &state::sim_tap},
    {"sim.button", &state::sim_button},
    {{}, nullptr},
};

pad_service::pad_service(const config &cfg, std::function<void(std::string)> broadcast)
    : state_(std::make_unique<state>(cfg, std::move(broadcast))) {
    std::promise<void> started;
    std::future<void> ready = started.get_future();
    state_->thread = std::thread([this, &started] { state_->run(started); });
    try {
        ready.get();
    } catch (...) {
        state_->thread.join();
        throw;
    }
}

pad_service::~pad_service() { shutdown(); }

bool pad_service::is_pad_request(const std::string &type) { return state::find_type(type) != nullptr; }

void pad_service::request(std::shared_ptr<client> from, json message) {
    asio::post(state_->io, [s = state_.get(), from = std::move(from), message = std::move(message)] {
        s->handle(from, message);
    });
}

void pad_service::disconnected(std::uint64_t client_id) {
    asio::post(state_->io, [s = state_.get(), client_id] {
        if (open_pad *p = s->owned_by(client_id))
            s->close_pad(p->path, nullptr);
    });
}

void pad_service::shutdown() {
    std::call_once(state_->stopped, [this] {
        state_->work.reset();
        state_->io.stop();
        if (state_->thread.joinable())
            state_->thread.join();
    });
}

}  // namespace bridge
