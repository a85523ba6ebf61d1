// SPDX-License-Identifier: Apache-2.0
#include "pad_requests.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "request_fields.hpp"
#include "vantix-padsim.h"

namespace bridge {
namespace {

std::optional<json> identify(const pad_request &r) {
    return json{{"type", "identity"}, {"pad", identity(r.pad)}};
}

// --- The display -------------------------------------------------------------

json captions_of(const open_pad &p) {
    json out = json::array();
    for (const button &b : p.buttons)
        out.push_back(b.caption);
    return out;
}

void prompt(open_pad &p, const json &message) {
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
    p.prompt_text = text;
    p.input->set_captions(std::move(captions));
}

std::optional<json> clear(const pad_request &r) {
    r.pad.drop_buttons();
    r.pad.prompt_text.clear();
    r.pad.pad->clear_screen();
    return json{{"type", "cleared"}};
}

std::optional<json> show(const pad_request &r) {
    prompt(r.pad, r.message);
    return json{{"type", "prompted"}, {"buttons", captions_of(r.pad)}};
}

// --- The capture -------------------------------------------------------------
// capture.start, .clear and .cancel begin a new capture rather than empty
// the one a render may still be reading.

std::optional<json> capture_start(const pad_request &r) {
    if (field(r.message, "text") || field(r.message, "buttons"))
        prompt(r.pad, r.message);
    r.pad.new_capture();
    r.pad.input->capturing = true;
    return json{{"type", "capture.started"}, {"buttons", captions_of(r.pad)}};
}

std::optional<json> capture_clear(const pad_request &r) {
    r.pad.new_capture();
    return json{{"type", "capture.cleared"}};
}

std::optional<json> capture_cancel(const pad_request &r) {
    r.pad.input->capturing = false;
    r.pad.new_capture();
    return json{{"type", "capture.cancelled"}};
}

// Rendered on a thread of its own (limits::exports per connection,
// limits::total_exports in all; past them: busy); the pad goes on
// meanwhile.
std::optional<json> capture_finish(const pad_request &r) {
    finish_capture(r.service, capture_of(r.pad), r.from, r.id, r.message);
    // Refused (bad_field, busy): nothing changed. Else the capture ends.
    r.pad.input->capturing = false;
    return std::nullopt;
}

// --- The virtual pen ---------------------------------------------------------

open_pad &require_sim(open_pad &p) {
    if (!p.simulated)
        throw protocol_error("not_sim", "the open pad is not the virtual pad");
    return p;
}

std::optional<json> sim_stroke(const pad_request &r) {
    open_pad &p = require_sim(r.pad);
    std::vector<pen_point> points = stroke_points(p.input->info, r.message);
    const double rate = stroke_rate(r.message);
    if (p.stroke && p.stroke->drawing())
        throw protocol_error("sim_busy", "the virtual pen is still drawing the last stroke");
    p.stroke = pen_stroke::draw(r.slot.io, p.sim_index, std::move(points), rate, r.from, r.id);
    return std::nullopt;  // sim.done when drawn
}

std::optional<json> sim_pen(const pad_request &r) {
    open_pad &p = require_sim(r.pad);
    const auto [x, y] = pen_point_of(p.input->info, r.message);
    const std::uint64_t sent = event_time_us();  // before the read thread can have it
    if (!vantix_padsim_pen_sample(p.sim_index, x, y, opt_bool(r.message, "down", true) ? 1 : 0))
        throw protocol_error("library", "the virtual pad refused the sample");
    return json{{"type", "sim.done"}, {"samples", 1}, {"sent", {sent}}};
}

std::optional<json> sim_tap(const pad_request &r) {
    open_pad &p = require_sim(r.pad);
    const auto [x, y] = pen_point_of(p.input->info, r.message);
    if (!vantix_padsim_tap(p.sim_index, x, y))
        throw protocol_error("library", "the virtual pad refused the tap");
    return json{{"type", "sim.done"}, {"samples", 2}};
}

std::optional<json> sim_button(const pad_request &r) {
    open_pad &p = require_sim(r.pad);
    const double index = opt_number(r.message, "index", -1, 0, max_buttons - 1);
    if (index < 0 || static_cast<std::size_t>(index) >= p.buttons.size() || index != std::floor(index))
        throw protocol_error("bad_field", "field 'index' must name a button of the prompt");
    const button &b = p.buttons[static_cast<std::size_t>(index)];
    if (!vantix_padsim_tap_display(p.sim_index, static_cast<int>((b.x1 + b.x2) / 2),
                                   static_cast<int>((b.y1 + b.y2) / 2)))
        throw protocol_error("library", "the virtual pad refused the tap");
    return json{{"type", "sim.done"}, {"samples", 2}};
}

struct named_handler {
    std::string_view name;
    pad_handler handle;
};
constexpr named_handler handlers[] = {
    {"pad.identity", identify},
    {"pad.clear", clear},
    {"pad.prompt", show},
    {"capture.start", capture_start},
    {"capture.clear", capture_clear},
    {"capture.finish", capture_finish},
    {"capture.cancel", capture_cancel},
    {"sim.stroke", sim_stroke},
    {"sim.pen", sim_pen},
    {"sim.tap", sim_tap},
    {"sim.button", sim_button},
};

}  // namespace

finished_capture capture_of(const open_pad &p) { return {p.capture, p.prompt_text, identity(p)}; }

void finish_capture(const pad_context &service, const finished_capture &what,
                    const std::shared_ptr<client> &from, const json &id, const json &message) {
    export_plan plan = plan_export(message, service.seal->get());
    if (plan.seal) {
        plan.seal->prompt = what.prompt;
        plan.seal->pad_uuid = what.identity.value("uuid", "");
        plan.seal->pad_firmware = what.identity.value("firmware", "");
    }
    start_render(std::make_unique<render_job>(render_job{
        what.capture, std::move(plan), id, from, service.gate, export_ticket(from->load(), service.load)}));
}

pad_handler find_pad_handler(std::string_view type) {
    for (const named_handler &h : handlers)
        if (h.name == type)
            return h.handle;
    return nullptr;
}

}  // namespace bridge
