// SPDX-License-Identifier: Apache-2.0
#include "pads.hpp"

#include <algorithm>
#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

#include "open_pad.hpp"
#include "request_fields.hpp"
#include "signature_export.hpp"
#include "vantix-padsim.h"

namespace bridge {

namespace asio = boost::asio;

// Named, not anonymous: pad_service::state (declared in the header) holds
// these types, which must then have linkage (GCC's -Wsubobject-linkage in
// unity builds).
namespace pad_parts {

// Signature renders running in the process. A trivially destructible
// global: a render that outlives main still counts down safely.
std::atomic<std::size_t> live_renders{0};

void internal_error(const char *where, const char *what) {
    std::fprintf(stderr, "vantix-bridge: internal error %s: %s\n", where, what);
}

// Runs `work`; what it throws becomes the error answer to request `id`
// (internal ones are logged too). Nothing leaves it.
template <class Work>
void answering(client &to, const json &id, Work &&work) noexcept {
    try {
        try {
            work();
        } catch (const protocol_error &e) {
            reply(to, id, error_message(e));
        } catch (const vantix::zelnar::error &e) {
            reply(to, id, error_message("library", e.what(), vantix_get_last_error()));
        } catch (const std::exception &e) {
            internal_error("handling a request", e.what());
            reply(to, id, error_message("internal", e.what()));
        } catch (...) {
            internal_error("handling a request", "unknown exception");
            reply(to, id, error_message("internal", "unknown failure"));
        }
    } catch (...) {
        internal_error("answering a request", "the answer could not be sent");
    }
}

// What the whole service has in flight: the sums of connection_load.
struct service_load {
    std::atomic<std::size_t> requests{0};
    std::atomic<std::size_t> values{0};
    std::atomic<std::size_t> exports{0};
};

// A request's share of the limits, taken when it is accepted and given back
// when the ticket goes: once it is answered, or dropped unrun at shutdown.
class request_ticket {
public:
    request_ticket(std::shared_ptr<connection_load> mine, std::shared_ptr<service_load> all, std::size_t values)
        : mine_(std::move(mine)), all_(std::move(all)), values_(values) {
        mine_->requests += 1;
        mine_->values += values_;
        all_->requests += 1;
        all_->values += values_;
    }
    request_ticket(request_ticket &&) noexcept = default;
    request_ticket &operator=(request_ticket &&) = delete;
    ~request_ticket() {
        if (!mine_)
            return;  // moved from
        mine_->requests -= 1;
        mine_->values -= values_;
        all_->requests -= 1;
        all_->values -= values_;
    }

private:
    std::shared_ptr<connection_load> mine_;
    std::shared_ptr<service_load> all_;
    std::size_t values_;
};

// A render's place among limits::exports and limits::total_exports.
class export_ticket {
public:
    export_ticket(std::shared_ptr<connection_load> mine, std::shared_ptr<service_load> all)
        : mine_(std::move(mine)), all_(std::move(all)) {
        const bool room = mine_->exports.fetch_add(1) < limits::exports;
        if (all_->exports.fetch_add(1) < limits::total_exports && room)
            return;
        release();
        throw protocol_error("busy", room ? "the service renders " + std::to_string(limits::total_exports) +
                                                " signatures already; ask again shortly"
                                          : "this connection has " + std::to_string(limits::exports) +
                                                " signatures being rendered; ask again once one is answered");
    }
    export_ticket(export_ticket &&) noexcept = default;
    export_ticket &operator=(export_ticket &&) = delete;
    ~export_ticket() { release(); }

private:
    void release() {
        if (!mine_)
            return;
        mine_->exports -= 1;
        all_->exports -= 1;
        mine_.reset();
    }
    std::shared_ptr<connection_load> mine_;
    std::shared_ptr<service_load> all_;
};

// Renders end when they end, also after the service stopped: they answer
// only while it runs (closed under the lock before the network goes).
struct answer_gate {
    std::mutex lock;
    bool open = true;
};

struct render_job {
    capture_ptr capture;
    export_plan plan;
    json id;
    std::weak_ptr<client> to;
    std::shared_ptr<answer_gate> gate;
    export_ticket ticket;
};

// On a detached thread of its own: the process joins no render, so neither
// a stop nor the pad's other requests wait for one.
void render(std::unique_ptr<render_job> job) noexcept {
    // Background work: pen input and answers go first on a busy machine.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    std::string text;
    try {
        try {
            text = export_signature(job->capture.get(), job->plan, job->id);
        } catch (const protocol_error &e) {
            text = to_text(error_message(e, &job->id));
        } catch (const std::exception &e) {
            internal_error("rendering a signature", e.what());
            text = to_text(error_message("internal", e.what(), {}, &job->id));
        }
        std::lock_guard guard(job->gate->lock);
        if (job->gate->open)
            if (auto to = job->to.lock())
                to->answer(std::move(text));
    } catch (...) {
        internal_error("rendering a signature", "unknown failure");
    }
    job.reset();
    live_renders.fetch_sub(1);
}

// One pad path's own thread: every library call for the pad open there
// (open, prompt, capture, virtual pen, close) runs on it, in the order the
// owner sent them, so pads never wait for each other. It lives while the
// path is owned or has work queued.
struct pad_slot {
    explicit pad_slot(std::string p) : path(std::move(p)) {}
    ~pad_slot() { stop(); }
    pad_slot(const pad_slot &) = delete;
    pad_slot &operator=(const pad_slot &) = delete;

    // Lets the current task end, then closes the pad and ends the thread.
    void stop() {
        work.reset();
        io.stop();
        if (thread.joinable())
            thread.join();
    }

    const std::string path;
    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> work{io.get_executor()};
    std::thread thread;

    // The service's thread only:
    std::uint64_t owner = 0;    // the connection it is open for; 0: free
    std::uint64_t session = 0;  // which opening of the path
    std::size_t posted = 0;     // tasks handed to the pad's thread
    std::atomic<std::size_t> done{0};

    // The pad's thread only:
    std::unique_ptr<open_pad> pad;
    std::uint64_t pad_session = 0;
};

bool open_for(const pad_slot &slot, std::uint64_t session) { return slot.pad && slot.pad_session == session; }

}  // namespace pad_parts

using namespace pad_parts;

struct pad_service::state {
    const config &cfg;
    std::function<void(std::string)> broadcast;
    const std::shared_ptr<service_load> load = std::make_shared<service_load>();
    const std::shared_ptr<answer_gate> gate = std::make_shared<answer_gate>();
    // The service's thread: listing, hotplug, who owns which pad. It never
    // waits for a pad.
    asio::io_context io;
    asio::executor_work_guard<asio::io_context::executor_type> work{io.get_executor()};
    std::thread thread;
    std::once_flag stopped;

    // Only on the service's thread:
    std::optional<vantix::zelnar::library> library;
    std::optional<vantix::zelnar::hotplug_subscription> hotplug;
    std::map<std::string, std::shared_ptr<pad_slot>> slots;  // by path
    std::map<std::uint64_t, std::shared_ptr<pad_slot>> owned;  // by connection
    std::uint64_t last_session = 0;

    // A request on the pad's thread, with the pad open for the sender. Its
    // answer, or nothing when it comes later (sim.stroke, capture.finish).
    using handler = std::optional<json> (state::*)(pad_slot &slot, open_pad &p,
                                                   const std::shared_ptr<client> &from, const json &id,
                                                   const json &message);
    struct request_type {
        std::string_view name;
        handler handle;  // null: handled on the service's thread
    };
    static const request_type request_types[];
    static const request_type *find_type(std::string_view name) {
        for (const request_type *t = request_types; !t->name.empty(); ++t)
            if (t->name == name)
                return t;
        return nullptr;
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
        asio::post(slot->io, [this, raw = slot.get(), weak = std::weak_ptr(slot), task = std::move(task)]() mutable {
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
            const request_type *t = find_type(type);
            if (!t)
                throw protocol_error("unknown_type", "unknown message type '" + cut_text(type, 64) + "'");
            if (type.starts_with("sim.") && !cfg.sim)
                throw protocol_error("not_sim", "sim.* messages need vantix-bridge --sim");
            auto mine = owned.find(from->id());
            if (mine == owned.end())
                throw protocol_error("not_open", "this connection has no open pad (pad.open first)");
            const std::shared_ptr<pad_slot> slot = mine->second;
            const std::uint64_t session = slot->session;
            if (type == "pad.close") {
                release(*slot);
                post(slot, [this, slot = slot.get(), session, from, id, ticket = std::move(ticket)] {
                    answering(*from, id, [&] {
                        if (!open_for(*slot, session))
                            throw protocol_error("not_open", "this connection has no open pad (pad.open first)");
                        close_pad(*slot, session, nullptr);
                        reply(*from, id, json{{"type", "closed"}});
                    });
                });
                return;
            }
            if (!t->handle)
                throw std::logic_error("no handler for " + type);
            post(slot, [this, slot = slot.get(), session, from, id, message = std::move(message),
                        ticket = std::move(ticket), h = t->handle] {
                answering(*from, id, [&] {
                    if (!open_for(*slot, session))
                        throw protocol_error("not_open", "this connection has no open pad (pad.open first)");
                    if (std::optional<json> body = (this->*h)(*slot, *slot->pad, from, id, message))
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
            auto found = slots.find(std::string(d.path()));
            const bool open = found != slots.end() && found->second->owner != 0;
            out.push_back(list_entry(d, open, open && found->second->owner == from->id()));
        }
        return json{{"type", "pads"}, {"pads", std::move(out)}};
    }

    // The service's thread picks the pad and reserves it; the pad's thread
    // opens it (a pad takes a status poll or more to open).
    void open(const std::shared_ptr<client> &from, const json &id, const json &message, request_ticket ticket) {
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
        if (!chosen)
            throw protocol_error("no_pad", wanted ? "no pad at " + *wanted : std::string("no pad attached"));
        const std::string path(chosen->path());
        auto existing = slots.find(path);
        if (existing != slots.end() && existing->second->owner)
            throw protocol_error("pad_busy", path + " is open on another connection");
        const std::shared_ptr<pad_slot> slot = slot_for(path);
        slot->owner = who;
        slot->session = ++last_session;
        owned[who] = slot;
        post(slot, [this, slot = slot.get(), weak = std::weak_ptr(slot), session = slot->session, listed, path, from,
                    id, ticket = std::move(ticket)] {
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
    json open_here(pad_slot &slot, std::uint64_t session, const std::shared_ptr<vantix::zelnar::device_list> &listed,
                   const std::string &path, const std::shared_ptr<client> &from) {
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
            throw protocol_error("library", "the signature capture cannot start", vantix_signature_last_error());
        p->input = std::make_shared<input_state>();
        p->input->stream = std::make_shared<event_stream>(from, cfg.event_queue);
        vantix_signature_get_pad_info(first.get(), &p->input->info);
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

    std::optional<json> identify(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                                 const json &) {
        return json{{"type", "identity"}, {"pad", identity(p)}};
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

    std::optional<json> clear(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                              const json &) {
        p.drop_buttons();
        p.pad->clear_screen();
        return json{{"type", "cleared"}};
    }

    std::optional<json> show(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                             const json &message) {
        prompt(p, message);
        return json{{"type", "prompted"}, {"buttons", captions_of(p)}};
    }

    // --- The capture -------------------------------------------------------------
    // capture.start, .clear and .cancel begin a new capture rather than
    // empty the one a render may still be reading.

    std::optional<json> capture_start(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                                      const json &message) {
        if (field(message, "text") || field(message, "buttons"))
            prompt(p, message);
        p.new_capture();
        p.input->capturing = true;
        return json{{"type", "capture.started"}, {"buttons", captions_of(p)}};
    }

    std::optional<json> capture_clear(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                                      const json &) {
        p.new_capture();
        return json{{"type", "capture.cleared"}};
    }

    std::optional<json> capture_cancel(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                                       const json &) {
        p.input->capturing = false;
        p.new_capture();
        return json{{"type", "capture.cancelled"}};
    }

    // Rendered on a thread of its own (limits::exports per connection,
    // limits::total_exports in all; past them: busy); the pad goes on
    // meanwhile.
    std::optional<json> capture_finish(pad_slot &, open_pad &p, const std::shared_ptr<client> &from,
                                       const json &id, const json &message) {
        export_plan plan = plan_export(message);
        auto job = std::make_unique<render_job>(
            render_job{p.capture, std::move(plan), id, from, gate, export_ticket(from->load(), load)});
        // Refused (bad_field, busy): nothing changed. Else the capture ends.
        p.input->capturing = false;
        live_renders.fetch_add(1);
        try {
            std::thread([job = std::move(job)]() mutable { render(std::move(job)); }).detach();
        } catch (...) {
            live_renders.fetch_sub(1);
            throw;
        }
        return std::nullopt;
    }

    // --- The virtual pen ---------------------------------------------------------

    static open_pad &require_sim(open_pad &p) {
        if (!p.simulated)
            throw protocol_error("not_sim", "the open pad is not the virtual pad");
        return p;
    }

    std::optional<json> sim_stroke(pad_slot &slot, open_pad &p, const std::shared_ptr<client> &from,
                                   const json &id, const json &message) {
        require_sim(p);
        std::vector<pen_point> points = stroke_points(p.input->info, message);
        const double rate = stroke_rate(message);
        if (p.stroke && p.stroke->drawing())
            throw protocol_error("sim_busy", "the virtual pen is still drawing the last stroke");
        p.stroke = pen_stroke::draw(slot.io, p.sim_index, std::move(points), rate, from, id);
        return std::nullopt;  // sim.done when drawn
    }

    std::optional<json> sim_pen(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                                const json &message) {
        require_sim(p);
        const auto [x, y] = pen_point_of(p.input->info, message);
        const std::uint64_t sent = now_us();  // before the read thread can have it
        if (!vantix_padsim_pen_sample(p.sim_index, x, y, opt_bool(message, "down", true) ? 1 : 0))
            throw protocol_error("library", "the virtual pad refused the sample");
        return json{{"type", "sim.done"}, {"samples", 1}, {"sent", {sent}}};
    }

    std::optional<json> sim_tap(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                                const json &message) {
        require_sim(p);
        const auto [x, y] = pen_point_of(p.input->info, message);
        if (!vantix_padsim_tap(p.sim_index, x, y))
            throw protocol_error("library", "the virtual pad refused the tap");
        return json{{"type", "sim.done"}, {"samples", 2}};
    }

    std::optional<json> sim_button(pad_slot &, open_pad &p, const std::shared_ptr<client> &, const json &,
                                   const json &message) {
        require_sim(p);
        const double index = opt_number(message, "index", -1, 0, max_buttons - 1);
        if (index < 0 || static_cast<std::size_t>(index) >= p.buttons.size() || index != std::floor(index))
            throw protocol_error("bad_field", "field 'index' must name a button of the prompt");
        const button &b = p.buttons[static_cast<std::size_t>(index)];
        if (!vantix_padsim_tap_display(p.sim_index, static_cast<int>((b.x1 + b.x2) / 2),
                                       static_cast<int>((b.y1 + b.y2) / 2)))
            throw protocol_error("library", "the virtual pad refused the tap");
        return json{{"type", "sim.done"}, {"samples", 2}};
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

    void disconnected(std::uint64_t client_id) {
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

const pad_service::state::request_type pad_service::state::request_types[] = {
    {"pads.list", nullptr},
    {"pad.open", nullptr},
    {"pad.close", nullptr},
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

bool pad_service::is_pad_request(std::string_view type) { return state::find_type(type) != nullptr; }

void pad_service::request(std::shared_ptr<client> from, json message, std::size_t values) {
    const json id = message.contains("id") ? message["id"] : json();
    answering(*from, id, [&] {
        const connection_load &mine = *from->load();
        const service_load &all = *state_->load;
        if (mine.requests >= limits::waiting_requests || mine.values + values > limits::waiting_values)
            throw protocol_error("busy", "this connection has " + std::to_string(mine.requests.load()) +
                                             " requests waiting to be answered; send more once they are");
        if (all.requests >= limits::total_waiting_requests || all.values + values > limits::total_waiting_values)
            throw protocol_error("busy", "the service has too many requests waiting; ask again shortly");
        request_ticket ticket(from->load(), state_->load, values);
        asio::post(state_->io, [s = state_.get(), from, message = std::move(message),
                                ticket = std::move(ticket)]() mutable {
            s->handle(from, std::move(message), std::move(ticket));
        });
    });
}

void pad_service::disconnected(std::uint64_t client_id) {
    asio::post(state_->io, [s = state_.get(), client_id] { s->disconnected(client_id); });
}

void pad_service::shutdown() {
    std::call_once(state_->stopped, [this] {
        {
            std::lock_guard guard(state_->gate->lock);
            state_->gate->open = false;
        }
        state_->work.reset();
        state_->io.stop();
        if (state_->thread.joinable())
            state_->thread.join();
    });
}

std::size_t pad_service::renders_running() { return live_renders.load(); }

}  // namespace bridge
