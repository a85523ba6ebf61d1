// SPDX-License-Identifier: Apache-2.0
#include "pads.hpp"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>

#include "answering.hpp"
#include "open_pad.hpp"
#include "pad_requests.hpp"
#include "pad_slot.hpp"
#include "render.hpp"
#include "request_fields.hpp"
#include "request_load.hpp"
#include "vantix-padsim.h"

namespace bridge {

struct pad_service::state {
    const config cfg;  // a copy: the server's changes when the configuration is read again
    std::function<void(std::string)> broadcast;
    const pad_context context{cfg, std::make_shared<service_load>(), std::make_shared<answer_gate>(),
                              std::make_shared<seal_settings>(load_seal_policy(cfg))};
    // The service's thread: listing, hotplug, who owns which pad. It never
    // waits for a pad.
    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> work{io.get_executor()};
    std::thread thread;
    std::once_flag stopped;

    // Only on the service's thread:
    std::optional<vantix::zelnar::library> library;
    std::optional<vantix::zelnar::hotplug_subscription> hotplug;
    std::map<std::string, std::shared_ptr<pad_slot>> slots;    // by path
    std::map<std::uint64_t, std::shared_ptr<pad_slot>> owned;  // by connection
    std::uint64_t last_session = 0;
    // Captures of pads unplugged while open, kept for their connection's
    // capture.finish until it opens another pad or goes.
    std::map<std::uint64_t, finished_capture> kept;
    // Virtual pads unplugged by sim.unplug: listed and opened no more.
    std::set<std::string> unplugged;

    // The requests the service's thread handles itself.
    static bool own_request(std::string_view type) {
        return type == "pads.list" || type == "pad.open" || type == "pad.close" || type == "sim.unplug" ||
               type == "sim.replug";
    }

    state(const config &c, std::function<void(std::string)> b) : cfg(c), broadcast(std::move(b)) {}

    // --- The pads' threads -------------------------------------------------------

    // Hands `task` to the slot's thread; the service's thread hears when it
    // has run (a free slot with nothing queued then ends). Tasks hold the
    // slot by plain pointer: they run only on its thread, which ends before
    // the slot does, and a task never run goes with the slot's io_context.
    template <class Task>
    void post(const std::shared_ptr<pad_slot> &slot, Task task) {
        ++slot->posted;
        asio::post(slot->io,
                   [this, raw = slot.get(), weak = std::weak_ptr(slot), task = std::move(task)]() mutable {
                       task();
                       raw->done.fetch_add(1);
                       asio::post(io, [this, weak] {
                           if (auto slot = weak.lock())
                               reap(slot);
                       });
                   });
    }

    std::shared_ptr<pad_slot> slot_for(const std::string &path) {
        if (auto found = slots.find(path); found != slots.end())
            return found->second;
        auto made = std::make_shared<pad_slot>(path);
        made->thread = std::thread([this, raw = made.get()] { run_pad(*raw); });
        slots.emplace(path, made);
        return made;
    }

    void run_pad(pad_slot &slot) {
        for (;;) {
            try {
                slot.io.run();
                break;
            } catch (const std::exception &e) {
                internal_error("on a pad's thread", e.what());
            }
        }
        close_pad(slot, slot.pad_session, "shutdown");
    }

    // The service's thread: a slot nobody owns with nothing queued ends.
    void reap(const std::shared_ptr<pad_slot> &slot) {
        if (slot->owner || slot->posted != slot->done.load())
            return;
        auto found = slots.find(slot->path);
        if (found == slots.end() || found->second != slot)
            return;
        slots.erase(found);
        slot->stop();  // idle: returns at once
    }

    // The service's thread: the connection no longer owns the pad.
    void release(pad_slot &slot) {
        owned.erase(slot.owner);
        slot.owner = 0;
    }

    // The pad's thread: stops the reading, drops the prompt's regions,
    // closes the pad; the owner hears of it when `reason` is given.
    void close_pad(pad_slot &slot, std::uint64_t session, const char *reason) {
        if (!open_for(slot, session))
            return;
        std::unique_ptr<open_pad> p = std::move(slot.pad);
        const std::weak_ptr<client> owner = p->owner_client;
        if (reason && std::string_view(reason) == "detached")
            if (auto to = owner.lock())  // kept before the owner hears of it
                asio::post(io, [this, who = to->id(), what = capture_of(*p)] { kept[who] = what; });
        p.reset();
        if (reason)
            if (auto to = owner.lock())
                to->send(to_text(json{{"type", "pad.closed"}, {"path", slot.path}, {"reason", reason}}));
        if (cfg.verbose)
            std::fprintf(stderr, "vantix-bridge: closed %s\n", slot.path.c_str());
    }

    // The service's thread: the owner lets go of the pad (pad.close, gone,
    // detached); its thread closes it after what is queued.
    void let_go(std::shared_ptr<pad_slot> slot, const char *reason) {  // a copy: release() erases map entries
        const std::uint64_t session = slot->session;
        release(*slot);
        post(slot, [this, slot = slot.get(), session, reason] { close_pad(*slot, session, reason); });
    }

    // --- Requests ----------------------------------------------------------------

    // The service's thread.
    void handle(const std::shared_ptr<client> &from, json message, request_ticket ticket) {
        const json id = message.contains("id") ? message["id"] : json();
        answering(*from, id, [&] {
            const std::string type = message["type"].get<std::string>();
            if (type == "pads.list")
                return reply(*from, id, list(from));
            if (type == "pad.open")
                return open(from, id, message, std::move(ticket));
            // request() let only known types through: one of ours or one with a handler.
            const pad_handler handler = find_pad_handler(type);
            if (type.starts_with("sim.") && !cfg.sim)
                throw protocol_error("not_sim", "sim.* messages need vantix-bridge --sim");
            if (type == "sim.unplug" || type == "sim.replug")
                return reply(*from, id, plug(type == "sim.replug", message));
            auto mine = owned.find(from->id());
            if (mine == owned.end()) {
                if (auto left = kept.find(from->id()); left != kept.end() && type == "capture.finish")
                    return finish_capture(context, left->second, from, id, message);
                throw protocol_error("not_open", "this connection has no open pad (pad.open first)");
            }
            const std::shared_ptr<pad_slot> slot = mine->second;
            const std::uint64_t session = slot->session;
            if (type == "pad.close") {
                release(*slot);
                post(slot, [this, slot = slot.get(), session, from, id, ticket = std::move(ticket)] {
                    answering(*from, id, [&] {
                        if (!open_for(*slot, session))
                            throw protocol_error("not_open",
                                                 "this connection has no open pad (pad.open first)");
                        close_pad(*slot, session, nullptr);
                        reply(*from, id, json{{"type", "closed"}});
                    });
                });
                return;
            }
            post(slot, [this, slot = slot.get(), session, from, id, message = std::move(message),
                        ticket = std::move(ticket), handler] {
                answering(*from, id, [&] {
                    if (!open_for(*slot, session))
                        throw protocol_error("not_open", "this connection has no open pad (pad.open first)");
                    if (std::optional<json> body = handler({context, *slot, *slot->pad, from, id, message}))
                        reply(*from, id, std::move(*body));
                });
            });
        });
    }

    // --- Pads --------------------------------------------------------------------

    json list(const std::shared_ptr<client> &from) {
        vantix::zelnar::device_list listed;
        json out = json::array();
        for (vantix::zelnar::device_view d : listed) {
            if (unplugged.count(std::string(d.path())))
                continue;
            auto found = slots.find(std::string(d.path()));
            const bool open = found != slots.end() && found->second->owner != 0;
            out.push_back(list_entry(d, open, open && found->second->owner == from->id()));
        }
        return json{{"type", "pads"}, {"pads", std::move(out)}};
    }

    // The service's thread picks the pad and reserves it; the pad's thread
    // opens it (a pad takes a status poll or more to open).
    void open(const std::shared_ptr<client> &from, const json &id, const json &message,
              request_ticket ticket) {
        const std::uint64_t who = from->id();
        const std::optional<std::string> wanted = opt_string(message, "path");
        if (owned.count(who))
            throw protocol_error("already_open", "this connection already has a pad open (pad.close first)");
        auto listed = std::make_shared<vantix::zelnar::device_list>();
        std::optional<vantix::zelnar::device_view> chosen;
        if (wanted)
            chosen = listed->find_path(*wanted);
        else if (!(chosen = listed->first_of_driver("REAL")))
            chosen = listed->first_of_driver("SIM");
        if (!chosen || unplugged.count(std::string(chosen->path())))
            throw protocol_error("no_pad", wanted ? "no pad at " + *wanted : std::string("no pad attached"));
        const std::string path(chosen->path());
        kept.erase(who);
        auto existing = slots.find(path);
        if (existing != slots.end() && existing->second->owner)
            throw protocol_error("pad_busy", path + " is open on another connection");
        const std::shared_ptr<pad_slot> slot = slot_for(path);
        slot->owner = who;
        slot->session = ++last_session;
        owned[who] = slot;
        post(slot, [this, slot = slot.get(), weak = std::weak_ptr(slot), session = slot->session, listed,
                    path, from, id, ticket = std::move(ticket)] {
            bool opened = false;
            answering(*from, id, [&] {
                reply(*from, id, open_here(*slot, session, listed, path, from));
                opened = true;
            });
            if (!opened)
                asio::post(io, [this, weak, session] {
                    auto slot = weak.lock();
                    if (slot && slot->session == session && slot->owner)
                        release(*slot);
                });
        });
    }

    // The pad's thread.
    json open_here(pad_slot &slot, std::uint64_t session,
                   const std::shared_ptr<vantix::zelnar::device_list> &listed, const std::string &path,
                   const std::shared_ptr<client> &from) {
        const std::optional<vantix::zelnar::device_view> chosen = listed->find_path(path);
        if (!chosen)
            throw protocol_error("no_pad", "no pad at " + path);
        auto p = std::make_unique<open_pad>();
        p->path = path;
        p->owner_client = from;
        p->list = listed;
        p->simulated = chosen->driver_name() == "SIM";
        if (p->simulated) {
            constexpr std::string_view prefix = "sim:";
            p->sim_index = std::atoi(path.c_str() + prefix.size());
        }
        p->pad = std::make_unique<vantix::zelnar::pad>(*chosen);
        capture_ptr first(vantix_signature_capture_new(&p->pad->record()), vantix_signature_capture_free);
        if (!first)
            throw protocol_error("library", "the signature capture cannot start",
                                 vantix_signature_last_error());
        vantix_signature_pad_info info{};
        vantix_signature_get_pad_info(first.get(), &info);
        p->input = std::make_shared<input_state>(info);
        p->input->stream = std::make_shared<event_stream>(from, cfg.event_queue);
        p->capture = first;
        p->input->set_capture(std::move(first));
        p->pad->on_input([input = p->input](const vantix::zelnar::input_event &e) { input->on_input(e); });
        // The library's read thread serves the virtual pad too: its reads
        // end every 10 ms, so closing never waits long for the thread.
        p->pad->start_reading();
        json body = {{"type", "opened"}, {"pad", identity(*p)}};
        slot.pad = std::move(p);
        slot.pad_session = session;
        if (cfg.verbose)
            std::fprintf(stderr, "vantix-bridge: connection %llu opened %s\n",
                         static_cast<unsigned long long>(from->id()), path.c_str());
        return body;
    }

    // --- Hotplug and connections -------------------------------------------------

    void hotplug_event(vantix_hotplug_type type, const std::string &path) {
        const bool attached = type == VANTIX_HOTPLUG_ATTACHED;
        broadcast(to_text(
            json{{"type", "hotplug"}, {"event", attached ? "attached" : "detached"}, {"path", path}}));
        auto found = slots.find(path);
        if (!attached && found != slots.end() && found->second->owner)
            let_go(found->second, "detached");
    }

    // sim.unplug, sim.replug: a virtual pad goes away and comes back as a
    // real one does, through the same hotplug handling.
    json plug(bool attach, const json &message) {
        const std::string path = opt_string(message, "path", 64).value_or("sim:0");
        const vantix::zelnar::device_list listed;
        const std::optional<vantix::zelnar::device_view> pad = listed.find_path(path);
        if (!pad || pad->driver_name() != "SIM")
            throw protocol_error("bad_field", "field 'path' must name a virtual pad (sim:N)");
        if (attach ? !unplugged.erase(path) : !unplugged.insert(path).second)
            throw protocol_error("bad_field", path + (attach ? " is plugged in" : " is unplugged already"));
        hotplug_event(attach ? VANTIX_HOTPLUG_ATTACHED : VANTIX_HOTPLUG_DETACHED, path);
        return json{{"type", attach ? "sim.replugged" : "sim.unplugged"}, {"path", path}};
    }

    void disconnected(std::uint64_t client_id) {
        kept.erase(client_id);
        auto mine = owned.find(client_id);
        if (mine != owned.end())
            let_go(mine->second, nullptr);
    }

    void run(std::promise<void> &started) {
        try {
            library.emplace();
            if (cfg.sim) {
                vantix_padsim_register();
                while (vantix_padsim_pad_count() < cfg.sim_pads)
                    vantix_padsim_add_pad();
            }
            for (const std::string &recording : cfg.replay) {
                if (vantix_padsim_add_replay(recording.c_str(), 1) < 0) {
                    std::string why = vantix_get_last_error();
                    why.erase(why.find_last_not_of('\n') + 1);
                    throw std::runtime_error(why);
                }
                vantix_padsim_register();  // the first time, else nothing
            }
            hotplug.emplace([this](vantix_hotplug_type type, std::string_view path) {
                asio::post(io, [this, type, p = std::string(path)] { hotplug_event(type, p); });
            });
            started.set_value();
        } catch (...) {
            started.set_exception(std::current_exception());
            return;
        }
        for (;;) {
            try {
                io.run();
                break;
            } catch (const std::exception &e) {
                internal_error("on the pad service's thread", e.what());
            }
        }
        // Every pad's thread ends its current task and closes its pad, all
        // at once.
        for (auto &[path, slot] : slots) {
            slot->work.reset();
            slot->io.stop();
        }
        for (auto &[path, slot] : slots)
            slot->stop();
        slots.clear();
        owned.clear();
        hotplug.reset();
        library.reset();
    }
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

void pad_service::request(std::shared_ptr<client> from, json message, std::size_t values) {
    const json id = message.contains("id") ? message["id"] : json();
    answering(*from, id, [&] {
        // The one place a type nobody handles is refused, before it counts.
        const std::string &type = message["type"].get_ref<const std::string &>();
        if (!state::own_request(type) && !find_pad_handler(type))
            throw protocol_error("unknown_type", "unknown message type '" + cut_text(type, 64) + "'");
        const connection_load &mine = *from->load();
        const service_load &all = *state_->context.load;
        if (mine.requests >= limits::waiting_requests || mine.values + values > limits::waiting_values)
            throw protocol_error("busy", "this connection has " + std::to_string(mine.requests.load()) +
                                             " requests waiting to be answered; send more once they are");
        if (all.requests >= limits::total_waiting_requests ||
            all.values + values > limits::total_waiting_values)
            throw protocol_error("busy", "the service has too many requests waiting; ask again shortly");
        request_ticket ticket(from->load(), state_->context.load, values);
        asio::post(state_->io, [s = state_.get(), from, message = std::move(message),
                                ticket = std::move(ticket)]() mutable {
            s->handle(from, std::move(message), std::move(ticket));
        });
    });
}

std::shared_ptr<const seal_policy> pad_service::seal() const { return state_->context.seal->get(); }

void pad_service::reconfigure(std::shared_ptr<const seal_policy> seal) {
    state_->context.seal->set(std::move(seal));
}

void pad_service::disconnected(std::uint64_t client_id) {
    asio::post(state_->io, [s = state_.get(), client_id] { s->disconnected(client_id); });
}

void pad_service::shutdown() {
    std::call_once(state_->stopped, [this] {
        {
            std::lock_guard guard(state_->context.gate->lock);
            state_->context.gate->open = false;
        }
        state_->work.reset();
        state_->io.stop();
        if (state_->thread.joinable())
            state_->thread.join();
    });
}

std::size_t pad_service::renders_running() { return bridge::renders_running(); }

}  // namespace bridge
