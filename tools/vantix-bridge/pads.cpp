#include "pads.hpp"

#include <openssl/evp.h>

#include <algorithm>
#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <future>
#include <map>
#include <optional>
#include <thread>
#include <utility>

#include "vantix-padsim.h"
#include "vantix-signature.h"
#include "vantix-zelnar.hpp"

namespace bridge {
namespace {

namespace asio = boost::asio;
using std::chrono::steady_clock;

std::uint64_t now_us() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::system_clock::now().time_since_epoch())
                                          .count());
}

// --- Fields of a request -----------------------------------------------------

[[noreturn]] void bad_field(const char *name, const char *expected) {
    throw protocol_error("bad_field", std::string("field '") + name + "' must be " + expected);
}

const json *field(const json &message, const char *name) {
    auto it = message.find(name);
    return it == message.end() || it->is_null() ? nullptr : &*it;
}

std::optional<std::string> opt_string(const json &message, const char *name, std::size_t max_length = 256) {
    const json *value = field(message, name);
    if (!value)
        return std::nullopt;
    if (!value->is_string())
        bad_field(name, "a string");
    std::string text = value->get<std::string>();
    if (text.size() > max_length)
        throw protocol_error("bad_field", std::string("field '") + name + "' is longer than " +
                                              std::to_string(max_length) + " bytes");
    return text;
}

double opt_number(const json &message, const char *name, double fallback, double min, double max) {
    const json *value = field(message, name);
    if (!value)
        return fallback;
    if (!value->is_number())
        bad_field(name, "a number");
    const double number = value->get<double>();
    if (!(number >= min && number <= max))
        throw protocol_error("bad_field", std::string("field '") + name + "' must be between " +
                                              std::to_string(min) + " and " + std::to_string(max));
    return number;
}

bool opt_bool(const json &message, const char *name, bool fallback) {
    const json *value = field(message, name);
    if (!value)
        return fallback;
    if (!value->is_boolean())
        bad_field(name, "true or false");
    return value->get<bool>();
}

std::optional<std::vector<std::string>> opt_strings(const json &message, const char *name, std::size_t max_count,
                                                    std::size_t max_length) {
    const json *value = field(message, name);
    if (!value)
        return std::nullopt;
    if (!value->is_array() || value->size() > max_count)
        bad_field(name, ("an array of at most " + std::to_string(max_count) + " strings").c_str());
    std::vector<std::string> out;
    for (const json &item : *value) {
        if (!item.is_string() || item.get_ref<const std::string &>().size() > max_length)
            bad_field(name, ("an array of strings of at most " + std::to_string(max_length) + " bytes").c_str());
        out.push_back(item.get<std::string>());
    }
    return out;
}

std::string base64(const unsigned char *data, std::size_t size) {
    std::string out(4 * ((size + 2) / 3) + 1, '\0');
    const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char *>(out.data()), data, static_cast<int>(size));
    out.resize(static_cast<std::size_t>(std::max(written, 0)));
    return out;
}

std::string hex(const unsigned char *data, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string printable(const char *text) {
    std::string out;
    for (const char *c = text; c && *c; ++c)
        out += (*c >= 0x20 && *c < 0x7f) ? *c : '?';
    return out;
}

// --- The pad's display --------------------------------------------------------

constexpr std::uint8_t first_button_region = 2;
constexpr std::size_t max_buttons = 4;
constexpr vantix_gcolor black = 0x000000FF;

struct button {
    std::string caption;
    std::uint8_t region;
    unsigned x1, y1, x2, y2;
};

std::vector<button> button_layout(const std::vector<std::string> &captions, unsigned width, unsigned height) {
    std::vector<button> out;
    if (captions.empty())
        return out;
    const unsigned strip = height / 4, top = height - strip;
    const unsigned each = width / static_cast<unsigned>(captions.size());
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const unsigned x1 = static_cast<unsigned>(i) * each;
        const unsigned x2 = i + 1 == captions.size() ? width - 1 : x1 + each - 1;
        out.push_back({captions[i], static_cast<std::uint8_t>(first_button_region + i), x1, top, x2, height - 1});
    }
    return out;
}

vantix_device_region_info button_region(const button &b) {
    vantix_device_region_info r{};
    vantix_device_region_common &c = r.common;
    c.region_number = b.region;
    c.region_type = VANTIX_REGION_TYPE_BUTTON;
    c.accept_touch = c.decode = c.visible = c.in_use = c.has_frame = 1;
    c.x1 = static_cast<std::uint16_t>(b.x1);
    c.x2 = static_cast<std::uint16_t>(b.x2);
    c.y1 = static_cast<std::uint16_t>(b.y1);
    c.y2 = static_cast<std::uint16_t>(b.y2);
    c.color_foreground = {255, 0, 0, 0};
    c.color_background = {255, 255, 255, 255};
    r.button.enable = r.button.highlight_on_select = 1;
    std::snprintf(r.button.caption, sizeof r.button.caption, "%s", b.caption.c_str());
    return r;
}

void draw_button(vantix::zelnar::pad &pad, const button &b) {
    vantix::zelnar::bitmap picture(static_cast<std::int32_t>(b.x2 - b.x1 + 1), static_cast<std::int32_t>(b.y2 - b.y1 + 1));
    vantix_bitmap *bmp = picture.get();
    std::vector<std::int32_t> caption(b.caption.begin(), b.caption.end());
    caption.push_back(0);
    vantix_draw_rectangle(bmp, 0, 0, bmp->width - 1, bmp->height - 1, black);
    enhanced_draw_string_aligned(bmp, &vantix_default, caption.data(), 0, 0, bmp->width, bmp->height,
                                 VANTIX_ALIGN_MIDDLE, VANTIX_ALIGN_MIDDLE, black);
    pad.show(picture, b.x1, b.y1, 1);
}

// --- Input, shared with the read thread ----------------------------------------

struct free_capture {
    void operator()(vantix_signature_capture *capture) const { vantix_signature_capture_free(capture); }
};
using capture_ptr = std::unique_ptr<vantix_signature_capture, free_capture>;

// Display position of a digitizer coordinate (vantix-signature.h).
double to_display(unsigned value, unsigned active_min, unsigned active_max, unsigned size) {
    const double span = static_cast<double>(active_max) - active_min + 1;
    const double out = (static_cast<double>(value) - active_min) * size / span;
    return std::clamp(out, 0.0, static_cast<double>(size));
}

int to_digitizer(double pixel, unsigned active_min, unsigned active_max, unsigned size) {
    const double span = static_cast<double>(active_max) - active_min + 1;
    const double out = active_min + (pixel + 0.5) * span / size;
    return static_cast<int>(std::clamp(out, static_cast<double>(active_min), static_cast<double>(active_max)));
}

struct input_state {
    std::shared_ptr<event_stream> stream;
    vantix_signature_capture *capture = nullptr;  // outlives the reading
    vantix_signature_pad_info info{};
    std::atomic<bool> capturing{false};
    std::atomic<std::uint64_t> seq{0};
    std::mutex lock;
    std::vector<std::string> captions;  // button i is region first_button_region + i

    // On the read thread; must not throw.
    void on_input(const vantix::zelnar::input_event &e) noexcept {
        try {
            if (e.type == VANTIX_INPUT_COORDINATE || e.type == VANTIX_INPUT_EXTENDEDCOORDINATE) {
                if (!capturing.load(std::memory_order_acquire))
                    return;
                vantix_signature_feed(capture, &e.report, e.type);
                const bool ext = e.type == VANTIX_INPUT_EXTENDEDCOORDINATE;
                const unsigned x = ext ? e.report.extended_coordinate.x : e.report.coordinate.x;
                const unsigned y = ext ? e.report.extended_coordinate.y : e.report.coordinate.y;
                const bool down = (ext ? e.report.extended_coordinate.sample_info.common.down
                                       : e.report.coordinate.sample_info.common.down) != 0;
                const double dx = to_display(x, info.active_x_min, info.active_x_max, info.display_width);
                const double dy = to_display(y, info.active_y_min, info.active_y_max, info.display_height);
                json event = {{"type", "sample"},
                              {"seq", seq.fetch_add(1)},
                              {"x", x},
                              {"y", y},
                              {"dx", std::round(dx * 100) / 100},
                              {"dy", std::round(dy * 100) / 100},
                              {"down", down},
                              {"t", now_us()}};
                stream->push(event.dump());
            } else if (e.type == VANTIX_INPUT_BUTTONPRESS) {
                const unsigned region =
                    e.report.button_press.region ? e.report.button_press.region->common.region_number : 0;
                json event = {{"type", "button"}, {"region", region}, {"t", now_us()}};
                std::lock_guard guard(lock);
                if (region >= first_button_region && region - first_button_region < captions.size()) {
                    event["index"] = region - first_button_region;
                    event["caption"] = captions[region - first_button_region];
                }
                stream->push(event.dump());
            }
        } catch (...) {
            // Out of memory at worst: the sample is lost, the reading goes on.
        }
    }
};

// A stroke the virtual pen draws at a given rate (sim.stroke).
struct sim_job {
    explicit sim_job(asio::io_context &io) : timer(io) {}
    asio::steady_timer timer;
    int index = 0;
    std::vector<std::pair<int, int>> points;  // digitizer units
    std::size_t next = 0;                      // points.size() is the pen-up
    steady_clock::duration interval{};
    steady_clock::time_point start;
    std::vector<std::uint64_t> sent;
    std::weak_ptr<client> to;
    json id;
    bool cancelled = false;
};

struct open_pad {
    std::string path;
    std::uint64_t owner = 0;
    std::weak_ptr<client> owner_client;
    std::shared_ptr<vantix::zelnar::device_list> list;  // the record lives in it
    std::unique_ptr<vantix::zelnar::pad> pad;
    capture_ptr capture;
    std::shared_ptr<input_state> input;
    bool simulated = false;
    int sim_index = -1;
    // The virtual pad is read by a thread of ours, which a queued empty
    // report wakes at once; real pads by the library's read thread, which
    // closing wakes.
    std::thread sim_reader;
    std::atomic<bool> stop_sim_reader{false};
    std::vector<button> buttons;
    std::shared_ptr<sim_job> job;
};

bool handles(const std::string &type) {
    static const char *const types[] = {"pads.list",     "pad.open",       "pad.close",      "pad.identity",
                                        "pad.clear",     "pad.prompt",     "capture.start",  "capture.clear",
                                        "capture.finish", "capture.cancel", "sim.stroke",    "sim.pen",
                                        "sim.tap",       "sim.button"};
    return std::find(std::begin(types), std::end(types), type) != std::end(types);
}

}  // namespace

// --- The service -----------------------------------------------------------------

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

    state(const config &c, std::function<void(std::string)> b) : cfg(c), broadcast(std::move(b)) {}

    void reply(const std::shared_ptr<client> &to, const json &id, json body) {
        if (!id.is_null())
            body["id"] = id;
        to->send(body.dump());
    }

    open_pad *owned_by(std::uint64_t client_id) {
        for (auto &[path, p] : pads)
            if (p->owner == client_id)
                return p.get();
        return nullptr;
    }
    open_pad &require_open(std::uint64_t client_id) {
        if (open_pad *p = owned_by(client_id))
            return *p;
        throw protocol_error("not_open", "this connection has no open pad (pad.open first)");
    }
    open_pad &require_sim(std::uint64_t client_id) {
        if (!cfg.sim)
            throw protocol_error("not_sim", "sim.* messages need vantix-bridge --sim");
        open_pad &p = require_open(client_id);
        if (!p.simulated)
            throw protocol_error("not_sim", "the open pad is not the virtual pad");
        return p;
    }

    json pad_entry(const vantix::zelnar::device_view &d, std::uint64_t asking) {
        auto found = pads.find(std::string(d.path()));
        json entry = {{"path", d.path()},
                      {"model", d.model()},
                      {"manufacturer", d.manufacturer()},
                      {"vendor_id", d.vendor_id()},
                      {"product_id", d.product_id()},
                      {"driver", d.driver_name()},
                      {"simulated", d.driver_name() == "SIM"},
                      {"open", found != pads.end()},
                      {"yours", found != pads.end() && found->second->owner == asking}};
        return entry;
    }

    json identity(const open_pad &p) {
        const vantix::zelnar::pad &pad = *p.pad;
        const vantix_signature_pad_info &info = p.input->info;
        const auto &fw = pad.firmware();
        char version[32], kernel[32];
        std::snprintf(version, sizeof version, "%u.%u.%u", fw.firmware_version[0], fw.firmware_version[1],
                      fw.firmware_version[2]);
        std::snprintf(kernel, sizeof kernel, "%u.%u.%u", fw.kernel_version[0], fw.kernel_version[1],
                      fw.kernel_version[2]);
        json id = {{"path", p.path},
                   {"model", printable(info.model)},
                   {"manufacturer", printable(info.manufacturer)},
                   {"serial", printable(info.serial_number)},
                   {"vendor_id", info.vendor_id},
                   {"product_id", info.product_id},
                   {"driver", pad.view().driver_name()},
                   {"simulated", p.simulated},
                   {"firmware", version},
                   {"kernel", kernel},
                   {"display", {{"width", info.display_width}, {"height", info.display_height}}},
                   {"digitizer",
                    {{"x_min", info.x_min},
                     {"x_max", info.x_max},
                     {"y_min", info.y_min},
                     {"y_max", info.y_max},
                     {"active_x_min", info.active_x_min},
                     {"active_x_max", info.active_x_max},
                     {"active_y_min", info.active_y_min},
                     {"active_y_max", info.active_y_max}}},
                   {"max_buttons", std::min<std::size_t>(max_buttons, pad.display().region_count > 1
                                                                         ? pad.display().region_count - 1u
                                                                         : 0u)}};
        if (auto uuid = pad.uuid())
            id["uuid"] = hex(uuid->data(), uuid->size());
        return id;
    }

    // --- Requests --------------------------------------------------------------

    void handle(const std::shared_ptr<client> &from, const json &message) {
        const std::string &type = message["type"].get_ref<const std::string &>();
        const json id = message.contains("id") ? message["id"] : json();
        try {
            if (type == "pads.list")
                return list(from, id);
            if (type == "pad.open")
                return open(from, id, message);
            if (type == "sim.stroke")
                return sim_stroke(from, id, message);
            json body = dispatch(from, type, message);
            reply(from, id, std::move(body));
        } catch (const protocol_error &e) {
            reply(from, id, error_message(e.code(), e.what(), e.detail()));
        } catch (const vantix::zelnar::error &e) {
            reply(from, id, error_message("library", e.what(), vantix_get_last_error()));
        } catch (const std::exception &e) {
            reply(from, id, error_message("internal", e.what()));
        }
    }

    json dispatch(const std::shared_ptr<client> &from, const std::string &type, const json &message) {
        const std::uint64_t who = from->id();
        if (type == "pad.close") {
            open_pad &p = require_open(who);
            close_pad(p.path, nullptr);
            return {{"type", "closed"}};
        }
        if (type == "pad.identity")
            return {{"type", "identity"}, {"pad", identity(require_open(who))}};
        if (type == "pad.clear") {
            open_pad &p = require_open(who);
            drop_buttons(p);
            p.pad->clear_screen();
            return {{"type", "cleared"}};
        }
        if (type == "pad.prompt") {
            open_pad &p = require_open(who);
            prompt(p, message);
            return {{"type", "prompted"}, {"buttons", captions_of(p)}};
        }
        if (type == "capture.start") {
            open_pad &p = require_open(who);
            if (field(message, "text") || field(message, "buttons"))
                prompt(p, message);
            vantix_signature_clear(p.capture.get());
            p.input->capturing = true;
            return {{"type", "capture.started"}, {"buttons", captions_of(p)}};
        }
        if (type == "capture.clear") {
            open_pad &p = require_open(who);
            vantix_signature_clear(p.capture.get());
            return {{"type", "capture.cleared"}};
        }
        if (type == "capture.cancel") {
            open_pad &p = require_open(who);
            p.input->capturing = false;
            vantix_signature_clear(p.capture.get());
            return {{"type", "capture.cancelled"}};
        }
        if (type == "capture.finish")
            return finish(require_open(who), message);
        if (type == "sim.pen") {
            open_pad &p = require_sim(who);
            const auto [x, y] = sim_point(p, message);
            if (!vantix_padsim_pen_sample(p.sim_index, x, y, opt_bool(message, "down", true) ? 1 : 0))
                throw protocol_error("library", "the virtual pad refused the sample");
            return {{"type", "sim.done"}, {"samples", 1}, {"sent", {now_us()}}};
        }
        if (type == "sim.tap") {
            open_pad &p = require_sim(who);
            const auto [x, y] = sim_point(p, message);
            if (!vantix_padsim_tap(p.sim_index, x, y))
                throw protocol_error("library", "the virtual pad refused the tap");
            return {{"type", "sim.done"}, {"samples", 2}};
        }
        if (type == "sim.button") {
            open_pad &p = require_sim(who);
            const double index = opt_number(message, "index", -1, 0, max_buttons - 1);
            if (index < 0 || static_cast<std::size_t>(index) >= p.buttons.size() || index != std::floor(index))
                throw protocol_error("bad_field", "field 'index' must name a button of the prompt");
            const button &b = p.buttons[static_cast<std::size_t>(index)];
            if (!vantix_padsim_tap_display(p.sim_index, static_cast<int>((b.x1 + b.x2) / 2),
                                           static_cast<int>((b.y1 + b.y2) / 2)))
                throw protocol_error("library", "the virtual pad refused the tap");
            return {{"type", "sim.done"}, {"samples", 2}};
        }
        throw protocol_error("unknown_type", "unknown message type '" + type + "'");
    }

    void list(const std::shared_ptr<client> &from, const json &id) {
        vantix::zelnar::device_list listed;
        json out = json::array();
        for (vantix::zelnar::device_view d : listed)
            out.push_back(pad_entry(d, from->id()));
        reply(from, id, {{"type", "pads"}, {"pads", std::move(out)}});
    }

    void open(const std::shared_ptr<client> &from, const json &id, const json &message) {
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
            throw protocol_error("library", "the signature capture cannot start", vantix_signature_last_error());
        p->input = std::make_shared<input_state>();
        p->input->stream = std::make_shared<event_stream>(from, cfg.event_queue);
        p->input->capture = p->capture.get();
        vantix_signature_get_pad_info(p->capture.get(), &p->input->info);
        p->pad->on_input([input = p->input](const vantix::zelnar::input_event &e) { input->on_input(e); });
        if (p->simulated) {
            p->sim_reader = std::thread([device = &p->pad->record(), stop = &p->stop_sim_reader] {
                while (!stop->load() && vantix_device_read(device) == VANTIX_CODE_SUCCESS) {
                }
            });
        } else {
            p->pad->start_reading();
        }
        json body = {{"type", "opened"}, {"pad", identity(*p)}};
        pads.emplace(path, std::move(p));
        reply(from, id, std::move(body));
        if (cfg.verbose)
            std::fprintf(stderr, "vantix-bridge: connection %llu opened %s\n", static_cast<unsigned long long>(who),
                         path.c_str());
    }

    // Stops the reading, drops the prompt's regions, closes the pad and
    // frees it for others; the owner hears of it unless it asked.
    void close_pad(std::string path, const char *reason) {  // a copy: callers pass keys it erases
        auto found = pads.find(path);
        if (found == pads.end())
            return;
        std::unique_ptr<open_pad> p = std::move(found->second);
        pads.erase(found);
        if (p->job)
            p->job->cancelled = true;
        if (p->job)
            p->job->timer.cancel();
        if (p->simulated) {
            p->stop_sim_reader = true;
            const unsigned char wake = 0;
            vantix_padsim_queue_input(p->sim_index, &wake, 0);  // an empty report: read, then dropped
            if (p->sim_reader.joinable())
                p->sim_reader.join();
        }
        if (!p->buttons.empty() && p->pad->is_open())
            vantix_set_region_commit(&p->pad->record(), VANTIX_REGION_DISCARD_CHANGES);
        p->pad->close();  // stops the library's read thread first
        p->capture.reset();
        if (reason)
            if (auto owner = p->owner_client.lock())
                owner->send(json{{"type", "pad.closed"}, {"path", path}, {"reason", reason}}.dump());
        if (cfg.verbose)
            std::fprintf(stderr, "vantix-bridge: closed %s\n", path.c_str());
    }

    void drop_buttons(open_pad &p) {
        if (p.buttons.empty())
            return;
        vantix_set_region_commit(&p.pad->record(), VANTIX_REGION_DISCARD_CHANGES);
        p.buttons.clear();
        std::lock_guard guard(p.input->lock);
        p.input->captions.clear();
    }

    json captions_of(const open_pad &p) {
        json out = json::array();
        for (const button &b : p.buttons)
            out.push_back(b.caption);
        return out;
    }

    void prompt(open_pad &p, const json &message) {
        const std::string text = opt_string(message, "text", 200).value_or("");
        const unsigned max_caption = std::max<unsigned>(1, p.pad->display().max_caption_length);
        const std::vector<std::string> captions =
            opt_strings(message, "buttons", max_buttons, max_caption).value_or(std::vector<std::string>{});
        const auto &display = p.pad->display();
        if (captions.size() + 1 > display.region_count)
            throw protocol_error("bad_field", "the pad has room for " +
                                                  std::to_string(display.region_count > 1 ? display.region_count - 1 : 0) +
                                                  " buttons");
        drop_buttons(p);
        const std::vector<button> layout = button_layout(captions, display.width, display.height);
        for (const button &b : layout)
            p.pad->set_region(button_region(b));
        p.pad->clear_screen();
        if (!text.empty())
            p.pad->draw_text(text, display.width / 2, 1, VANTIX_ALIGN_CENTER);
        const unsigned line_y = (layout.empty() ? display.height : layout[0].y1) - 4;
        vantix::zelnar::bitmap line(static_cast<std::int32_t>(display.width - 20), 1);
        line.clear(black);
        p.pad->show(line, 10, line_y, 1);
        for (const button &b : layout)
            draw_button(*p.pad, b);
        p.buttons = layout;
        std::lock_guard guard(p.input->lock);
        p.input->captions = captions;
    }

    json finish(open_pad &p, const json &message) {
        p.input->capturing = false;
        std::vector<std::string> formats =
            opt_strings(message, "formats", 4, 8).value_or(std::vector<std::string>{"svg", "png", "inkml", "json"});
        vantix_signature_export_options options;
        vantix_signature_default_options(&options);
        const std::string space = opt_string(message, "space", 16).value_or("display");
        if (space != "display" && space != "digitizer")
            bad_field("space", "\"display\" or \"digitizer\"");
        options.space = space == "display" ? VANTIX_SIGNATURE_SPACE_DISPLAY : VANTIX_SIGNATURE_SPACE_DIGITIZER;
        options.width = static_cast<std::uint32_t>(opt_number(message, "width", 0, 0, VANTIX_SIGNATURE_MAX_PNG_SIZE));
        options.height =
            static_cast<std::uint32_t>(opt_number(message, "height", 0, 0, VANTIX_SIGNATURE_MAX_PNG_SIZE));
        options.line_width = opt_number(message, "line_width", options.line_width, 0.01, 1000);
        options.pressure_width = opt_bool(message, "pressure_width", false) ? 1 : 0;

        using exporter = vantix_error_code (*)(const vantix_signature_capture *, const vantix_signature_export_options *,
                                               unsigned char **, std::size_t *);
        struct format {
            const char *name;
            exporter write;
            bool binary;
        };
        static constexpr format known[] = {{"svg", vantix_signature_export_svg_buffer, false},
                                           {"png", vantix_signature_export_png_buffer, true},
                                           {"inkml", vantix_signature_export_inkml_buffer, false},
                                           {"json", vantix_signature_export_json_buffer, false}};
        json out = {{"type", "signature"},
                    {"strokes", vantix_signature_stroke_count(p.capture.get())},
                    {"points", vantix_signature_point_count(p.capture.get())}};
        vantix_signature_box box;
        if (vantix_signature_bounding_box(p.capture.get(), options.space, &box) == VANTIX_CODE_SUCCESS)
            out["bounds"] = {{"left", box.left}, {"top", box.top}, {"right", box.right}, {"bottom", box.bottom}};
        else
            out["bounds"] = nullptr;
        out["space"] = space;
        for (const std::string &name : formats) {
            const format *f = nullptr;
            for (const format &k : known)
                if (name == k.name)
                    f = &k;
            if (!f)
                bad_field("formats", "a list of \"svg\", \"png\", \"inkml\" and \"json\"");
            unsigned char *data = nullptr;
            std::size_t size = 0;
            if (f->write(p.capture.get(), &options, &data, &size) != VANTIX_CODE_SUCCESS)
                throw protocol_error("library", std::string("exporting ") + name + " failed",
                                     vantix_signature_last_error());
            std::unique_ptr<unsigned char, void (*)(unsigned char *)> owned(data, vantix_signature_free_buffer);
            out[name] = f->binary ? base64(data, size) : std::string(reinterpret_cast<char *>(data), size);
        }
        return out;
    }

    // --- The virtual pen ---------------------------------------------------------

    std::pair<int, int> to_pen(const open_pad &p, double x, double y, bool display) {
        const vantix_signature_pad_info &i = p.input->info;
        if (display) {
            if (x < 0 || y < 0 || x > i.display_width || y > i.display_height)
                throw protocol_error("bad_field", "a point lies outside the display");
            return {to_digitizer(x, i.active_x_min, i.active_x_max, i.display_width),
                    to_digitizer(y, i.active_y_min, i.active_y_max, i.display_height)};
        }
        if (x < i.x_min || x > i.x_max || y < i.y_min || y > i.y_max)
            throw protocol_error("bad_field", "a point lies outside the digitizer range");
        return {static_cast<int>(x), static_cast<int>(y)};
    }

    bool display_space(const json &message) {
        const std::string space = opt_string(message, "space", 16).value_or("display");
        if (space != "display" && space != "digitizer")
            bad_field("space", "\"display\" or \"digitizer\"");
        return space == "display";
    }

    std::pair<int, int> sim_point(const open_pad &p, const json &message) {
        const json *x = field(message, "x"), *y = field(message, "y");
        if (!x || !x->is_number())
            bad_field("x", "a number");
        if (!y || !y->is_number())
            bad_field("y", "a number");
        return to_pen(p, x->get<double>(), y->get<double>(), display_space(message));
    }

    void sim_stroke(const std::shared_ptr<client> &from, const json &id, const json &message) {
        open_pad &p = require_sim(from->id());
        const bool display = display_space(message);
        const json *points = field(message, "points");
        constexpr std::size_t max_points = 10000;
        if (!points || !points->is_array() || points->empty() || points->size() > max_points)
            bad_field("points", "an array of 1 to 10000 [x, y] pairs");
        const double rate = opt_number(message, "rate", 0, 0, 1000);
        if (p.job && !p.job->cancelled && p.job->next <= p.job->points.size())
            throw protocol_error("sim_busy", "the virtual pen is still drawing the last stroke");
        auto job = std::make_shared<sim_job>(io);
        for (const json &pt : *points) {
            if (!pt.is_array() || pt.size() != 2 || !pt[0].is_number() || !pt[1].is_number())
                bad_field("points", "an array of [x, y] number pairs");
            job->points.push_back(to_pen(p, pt[0].get<double>(), pt[1].get<double>(), display));
        }
        job->index = p.sim_index;
        job->to = from;
        job->id = id;
        if (rate <= 0) {
            for (const auto &[x, y] : job->points) {
                job->sent.push_back(now_us());
                vantix_padsim_pen_sample(job->index, x, y, 1);
            }
            job->sent.push_back(now_us());
            vantix_padsim_pen_sample(job->index, job->points.back().first, job->points.back().second, 0);
            job->next = job->points.size() + 1;
            return sim_finished(*job);
        }
        job->interval = std::chrono::duration_cast<steady_clock::duration>(std::chrono::duration<double>(1.0 / rate));
        job->start = steady_clock::now();
        job->sent.reserve(job->points.size() + 1);
        p.job = job;
        sim_step(job);
    }

    // One sample now, the next one at its time on the service's clock.
    void sim_step(const std::shared_ptr<sim_job> &job) {
        if (job->cancelled)
            return;
        const bool up = job->next == job->points.size();
        const auto [x, y] = up ? job->points.back() : job->points[job->next];
        job->sent.push_back(now_us());
        vantix_padsim_pen_sample(job->index, x, y, up ? 0 : 1);
        if (++job->next > job->points.size())
            return sim_finished(*job);
        job->timer.expires_at(job->start + job->interval * static_cast<long>(job->next));
        job->timer.async_wait([this, job](const boost::system::error_code &ec) {
            if (!ec)
                sim_step(job);
        });
    }

    void sim_finished(const sim_job &job) {
        if (auto to = job.to.lock())
            reply(to, job.id, {{"type", "sim.done"}, {"samples", job.sent.size()}, {"sent", job.sent}});
    }

    // --- Hotplug -----------------------------------------------------------------

    void hotplug_event(vantix_hotplug_type type, const std::string &path) {
        const bool attached = type == VANTIX_HOTPLUG_ATTACHED;
        broadcast(json{{"type", "hotplug"}, {"event", attached ? "attached" : "detached"}, {"path", path}}.dump());
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

bool pad_service::is_pad_request(const std::string &type) { return handles(type); }

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
