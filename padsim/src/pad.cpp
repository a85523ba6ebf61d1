// SPDX-License-Identifier: Apache-2.0
// The virtual pad: admits or refuses each transfer as firmware and kernel
// would, answers from the pad's state and logs what crossed the wire.
#include "padsim/pad.hpp"

#include <algorithm>
#include <cstdio>

#include "identity.hpp"
#include "input.hpp"
#include "pad_state.hpp"
#include "padsim/catalogue.hpp"
#include "padsim/descriptor.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

template <typename... Args>
std::string format(const char *fmt, Args... args) {
    char text[128];
    std::snprintf(text, sizeof text, fmt, args...);
    return text;
}

std::vector<declared_report> declared_reports(const model &m) {
    auto left_out = [&m](std::uint8_t id) {
        return std::find(m.undeclared_reports.begin(), m.undeclared_reports.end(), id) !=
               m.undeclared_reports.end();
    };
    std::vector<declared_report> reports;
    for (const input_info &info : input_reports())
        if (!left_out(info.id))
            reports.push_back({info.id, report_kind::input, info.length});
    for (const feature_info &info : feature_reports())
        if (!left_out(info.id))
            reports.push_back({info.id, report_kind::feature, feature_length(info, m)});
    return reports;
}

}  // namespace

pad::state::state(model m)
    : config(std::move(m)),
      descriptor(config.descriptor ? *config.descriptor : build_descriptor(declared_reports(config))),
      declared(report_id_map(descriptor)),
      status(config),
      serial(config),
      regions(config),
      framebuffer(config.display_width, config.display_height, config.color_depth),
      tuning(config),
      settings(config),
      calibrator(config),
      diagnostics(config),
      stored(identity_reports(config)),
      run_mode(config.power_up_run_mode),
      startup_mode(config.power_up_startup_mode),
      pen_report(config.pen_report) {
    display::show_buttons(framebuffer, regions.current());
}

result pad::state::admit(std::uint8_t id, direction dir, std::size_t length) {
    if (unplugged)
        return {false, "Device was unplugged.\n"};
    if (id >= declared.size() || !declared[id])
        return {false, format("Report id %u isn't supported by this device.\n", unsigned{id})};
    if (scripted.take_failure(id))
        return {false, format("Transfer of report %u failed (scripted).\n", unsigned{id})};
    if (hostile && hostile->unplug_now()) {
        unplugged = true;
        input_ready.notify_all();
        return {false, "Device was unplugged.\n"};
    }
    if (hostile && hostile->fail_transfer())
        return {false, format("Transfer of report %u failed (hostile pad).\n", unsigned{id})};
    // The recorded pad's answer, whatever the catalogue says.
    if (auto answer = recorded.find(id); dir == direction::get && answer != recorded.end())
        return answer->second.error.empty() ? result{} : result{false, answer->second.error};
    const feature_info *info = find_feature(id);
    const bool get = dir == direction::get;
    if (!info || !(info->use & (get ? use_get : use_set)))
        return refuse(
            get, pad_error::not_writable,
            format(get ? "Report %u cannot be read.\n" : "Report %u cannot be written.\n", unsigned{id}));
    const unsigned expected = feature_length(*info, config);
    // The store's region report varies with the host's idea of the region
    // layout; its model checks it.
    if (length == 0 || (config.strict_lengths && id != VANTIX_FEATURE_REGION && length != expected))
        return refuse(get, pad_error::bad_length,
                      format("Report %u is %u bytes long, not %zu.\n", unsigned{id}, expected, length));
    return {};
}

void pad::state::forget_recorded(std::uint8_t written) {
    // The legacy region lists and the store read back one state: a write
    // to any of them leaves the model answering for all of them.
    const bool store_family = region_store::handles(written);
    std::erase_if(recorded, [&](const auto &answer) {
        return answer.first == written || (store_family && region_store::handles(answer.first));
    });
}

result pad::state::refuse(bool get, std::uint16_t code, const std::string &text) {
    if (!get)
        status.set_error(code, text);
    return {false, text};
}

wire::bytes pad::state::current(std::uint8_t id, std::size_t length) const {
    wire::bytes bytes;
    if (id == VANTIX_FEATURE_DEVICE_STATUS)
        bytes = status.peek(idle());
    else if (id == VANTIX_FEATURE_SERIALNUMBER)
        bytes = serial.read();
    else if (auto reply = store_replies.find(id); reply != store_replies.end())
        bytes = reply->second;
    else if (auto store = regions.read(id))
        bytes = std::move(*store);
    else if (auto chip = tuning.read(id))
        bytes = std::move(*chip);
    else if (auto answer = settings_answer(id))
        bytes = std::move(*answer);
    else if (auto it = stored.find(id); it != stored.end())
        bytes = it->second;
    else
        bytes = wire::blank(id, length);
    bytes.resize(length, 0);
    return bytes;
}

result pad::state::accept(const wire::bytes &sent) {
    const std::uint8_t id = sent[0];
    // Firmware reads its fixed-size report buffer: bytes a lenient pad let a
    // short report leave out read as zero.
    wire::bytes report = sent;
    if (report.size() < feature_size(id))
        report.resize(feature_size(id), 0);
    outcome refused;
    switch (id) {
    case VANTIX_FEATURE_DEVICE_STATUS: status.clear_error(); break;
    case VANTIX_FEATURE_SERIALNUMBER:
        if (!serial.write(report))
            refused = refusal{pad_error::write_key, "Serial number write key rejected.\n"};
        break;
    case VANTIX_FEATURE_RUNMODE: run_mode = report[1]; break;
    case VANTIX_FEATURE_SAVECONFIGURATION: startup_mode = report[1]; break;
    case VANTIX_FEATURE_UPDATEDISPLAYCHUNK: refused = display::draw_chunk(framebuffer, report); break;
    case VANTIX_FEATURE_DISPLAYCONTENT: display::set_content(framebuffer, report[1]); break;
    case VANTIX_FEATURE_ENGINEERING_TEST:
        if (auto sample = input::engineering_sample(report))
            pen_sample(sample->at, sample->status,
                       sample->coordinate_type == VANTIX_INPUT_COORDINATE ||
                               sample->coordinate_type == VANTIX_INPUT_EXTENDEDCOORDINATE
                           ? sample->coordinate_type
                           : pen_report);
        break;
    default:
        if (region_store::handles(id)) {
            store_replies.erase(id);
            refused = regions.apply(report);
            if (!refused)
                display::show_store_change(framebuffer, regions.current(), report);
        } else if (is_settings_report(id)) {
            refused = configure(report);
        } else {
            tuning.accept(report);
        }
        break;
    }
    if (refused)
        return refuse(false, refused->code, refused->text);
    if (id != VANTIX_FEATURE_DEVICE_STATUS && id != VANTIX_FEATURE_SERIALNUMBER)
        stored[id] = sent;
    status.command_done(command_lock_groups(id));
    // Writing the whole store to memory takes a while, however the model
    // configures single edits.
    if (id == VANTIX_FEATURE_SCREEN_REGION_SAVE_RELOAD)
        status.hold(command_lock_groups(id), config.store_busy_polls);
    return {};
}

std::size_t pad::state::feature_size(std::uint8_t id) const {
    const feature_info *info = find_feature(id);
    return info ? feature_length(*info, config) : 1;
}

pad::pad(model m) : state_(std::make_unique<state>(std::move(m))) {}

pad::~pad() = default;

const model &pad::config() const { return state_->config; }

result pad::get_feature(std::uint8_t *buffer, std::size_t length) {
    if (!buffer || length == 0)
        return {false, "No report buffer.\n"};
    std::lock_guard lock(state_->mutex);
    const std::uint8_t id = buffer[0];
    result outcome = state_->admit(id, direction::get, length);
    wire::bytes bytes;
    if (outcome.ok) {
        if (auto answer = state_->recorded.find(id); answer != state_->recorded.end())
            bytes = answer->second.bytes;
        else if (id == VANTIX_FEATURE_DEVICE_STATUS)
            bytes = state_->status.poll(state_->idle());
        else
            bytes = state_->current(id, length);
        bytes.resize(length, 0);
        if (auto kept = state_->scripted.take_short_reply(id); kept && *kept < bytes.size())
            std::fill(bytes.begin() + *kept, bytes.end(), 0);
        if (state_->hostile)
            state_->hostile->garble_reply(bytes);
        std::copy(bytes.begin(), bytes.end(), buffer);
        state_->regions.after_read(id);
        if (state::is_settings_report(id))
            state_->store_replies.erase(id);
    }
    state_->log.push_back({direction::get, id, std::move(bytes), outcome.ok});
    return outcome;
}

result pad::set_feature(const std::uint8_t *buffer, std::size_t length) {
    if (!buffer || length == 0)
        return {false, "No report buffer.\n"};
    std::lock_guard lock(state_->mutex);
    wire::bytes report(buffer, buffer + length);
    result outcome = state_->admit(report[0], direction::set, length);
    if (outcome.ok) {
        state_->forget_recorded(report[0]);
        outcome = state_->accept(report);
    }
    state_->log.push_back({direction::set, report[0], std::move(report), outcome.ok});
    return outcome;
}

bool pad::declares(std::uint8_t id) const { return id < state_->declared.size() && state_->declared[id]; }

const std::vector<std::uint8_t> &pad::descriptor() const { return state_->descriptor; }

void pad::queue_input(std::vector<std::uint8_t> report) {
    std::lock_guard lock(state_->mutex);
    state_->push_input(std::move(report));
}

std::optional<std::vector<std::uint8_t>> pad::next_input(std::chrono::milliseconds timeout) {
    std::unique_lock lock(state_->mutex);
    state_->input_ready.wait_for(lock, timeout,
                                 [this] { return state_->unplugged || !state_->inputs.empty(); });
    if (state_->unplugged || state_->inputs.empty())
        return std::nullopt;
    wire::bytes report = std::move(state_->inputs.front());
    state_->inputs.pop_front();
    if (state_->hostile)
        state_->hostile->garble_input(report);
    return report;
}

std::size_t pad::queued_inputs() const {
    std::lock_guard lock(state_->mutex);
    return state_->inputs.size();
}

void pad::mark_open(bool open) {
    {
        std::lock_guard lock(state_->mutex);
        state_->open = open;
        if (open && state_->player.armed())
            state_->inputs.clear();
    }
    if (!open) {
        state_->player.stop();
        return;
    }
    state_->player.start([st = state_.get()](wire::bytes report) {
        std::lock_guard lock(st->mutex);
        st->push_input(std::move(report));
    });
}

void pad::answer_as_recorded(const recorded_feature &answer) {
    std::lock_guard lock(state_->mutex);
    state_->recorded[answer.id] = answer;
}

void pad::play_on_open(std::vector<recorded_input> reports, bool paced) {
    state_->player.load(std::move(reports), paced);
}

bool pad::is_open() const {
    std::lock_guard lock(state_->mutex);
    return state_->open;
}

void pad::hold_locks(std::uint8_t bits, unsigned polls) {
    std::lock_guard lock(state_->mutex);
    state_->status.hold(bits, polls);
}

void pad::set_busy_after_command(std::uint8_t bits, unsigned polls) {
    std::lock_guard lock(state_->mutex);
    state_->status.set_busy_after_command(bits, polls);
}

void pad::fail_transfers(std::uint8_t id, unsigned count) {
    std::lock_guard lock(state_->mutex);
    state_->scripted.fail(id, count);
}

void pad::clear_failures() {
    std::lock_guard lock(state_->mutex);
    state_->scripted.clear();
}

void pad::short_reply(std::uint8_t id, unsigned bytes, unsigned count) {
    std::lock_guard lock(state_->mutex);
    state_->scripted.short_reply(id, bytes, count);
}

void pad::stay_initialising(bool stuck) {
    std::lock_guard lock(state_->mutex);
    state_->status.stay_initialising(stuck);
}

void pad::unplug() {
    {
        std::lock_guard lock(state_->mutex);
        state_->unplugged = true;
    }
    state_->input_ready.notify_all();
}

void pad::turn_hostile(std::uint32_t seed) {
    std::lock_guard lock(state_->mutex);
    state_->hostile.emplace(seed);
}

bool pad::unplugged() const {
    std::lock_guard lock(state_->mutex);
    return state_->unplugged;
}

std::vector<transfer> pad::transfers() const {
    std::lock_guard lock(state_->mutex);
    return state_->log;
}

void pad::clear_transfers() {
    std::lock_guard lock(state_->mutex);
    state_->log.clear();
}

unsigned pad::status_polls() const {
    std::lock_guard lock(state_->mutex);
    return state_->status.polls();
}

std::vector<std::uint8_t> pad::stored(std::uint8_t id) const {
    std::lock_guard lock(state_->mutex);
    return state_->current(id, state_->feature_size(id));
}

void pad::store(std::uint8_t id, std::vector<std::uint8_t> bytes) {
    std::lock_guard lock(state_->mutex);
    if (id == VANTIX_FEATURE_SERIALNUMBER) {
        bytes.resize(VANTIX_FEATURE_SERIALNUMBER_SIZE, 0);
        state_->serial.set(std::string(bytes.begin() + 1, bytes.begin() + 33));
        return;
    }
    if (!bytes.empty())
        bytes[0] = id;
    const bool replaces_answer = region_store::handles(id) || state::is_settings_report(id);
    (replaces_answer ? state_->store_replies : state_->stored)[id] = std::move(bytes);
}

std::uint8_t pad::run_mode() const {
    std::lock_guard lock(state_->mutex);
    return state_->run_mode;
}

void pad::set_run_mode(std::uint8_t mode) {
    std::lock_guard lock(state_->mutex);
    state_->run_mode = mode;
}

std::uint8_t pad::startup_mode() const {
    std::lock_guard lock(state_->mutex);
    return state_->startup_mode;
}

std::uint8_t pad::lock_bits() const {
    std::lock_guard lock(state_->mutex);
    return state_->status.lock_bits();
}

void pad::set_lock_bits(std::uint8_t bits) {
    std::lock_guard lock(state_->mutex);
    state_->status.set_persistent_locks(bits);
}

std::array<std::uint8_t, 32> pad::serial_number() const {
    std::lock_guard lock(state_->mutex);
    return state_->serial.raw();
}

void pad::set_serial_number(const std::string &serial) {
    std::lock_guard lock(state_->mutex);
    state_->serial.set(serial);
}

std::uint16_t pad::last_error() const {
    std::lock_guard lock(state_->mutex);
    return state_->status.last_error();
}

std::string pad::error_text() const {
    std::lock_guard lock(state_->mutex);
    return state_->status.error_text();
}

void pad::set_error(std::uint16_t code, const std::string &text) {
    std::lock_guard lock(state_->mutex);
    state_->status.set_error(code, text);
}

void pad::set_calibration(bool required, bool calibrating) {
    std::lock_guard lock(state_->mutex);
    state_->status.set_calibration(required, calibrating);
}

std::vector<region> pad::regions() const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.current();
}

std::vector<region> pad::factory_regions() const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.factory();
}

std::vector<std::uint8_t> pad::region_record(std::uint8_t number) const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.record(number);
}

std::uint8_t pad::region_at(point display) const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.hit(display.x, display.y);
}

screen pad::display() const {
    std::lock_guard lock(state_->mutex);
    return state_->framebuffer;
}

bool pad::write_png(const std::string &path, std::string *error) const {
    return display().write_png(path, error);
}

std::vector<store_screen> pad::screens() const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.screens();
}

std::vector<resource> pad::resources() const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.resources();
}

std::uint8_t pad::active_screen() const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.active_screen();
}

bool pad::store_pending() const {
    std::lock_guard lock(state_->mutex);
    return state_->regions.pending();
}

std::array<std::uint8_t, 256> pad::registers() const {
    std::lock_guard lock(state_->mutex);
    return state_->tuning.registers();
}

std::array<std::uint8_t, 2048> pad::error_correction_table() const {
    std::lock_guard lock(state_->mutex);
    return state_->tuning.error_correction();
}

std::vector<firmware_block> pad::firmware_blocks() const {
    std::lock_guard lock(state_->mutex);
    return state_->tuning.firmware_blocks();
}

std::uint16_t pad::download_status() const {
    std::lock_guard lock(state_->mutex);
    return state_->tuning.download_status();
}

}  // namespace padsim
