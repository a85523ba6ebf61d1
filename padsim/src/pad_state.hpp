// SPDX-License-Identifier: Apache-2.0
// What one virtual pad holds, shared by the files that implement its
// members. Every member is used under `mutex`.
#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

#include "calibration.hpp"
#include "configuration.hpp"
#include "device_status.hpp"
#include "display.hpp"
#include "faults.hpp"
#include "hostility.hpp"
#include "ink.hpp"
#include "padsim/pad.hpp"
#include "pixels.hpp"
#include "playback.hpp"
#include "regions.hpp"
#include "second_generation.hpp"
#include "serial_store.hpp"
#include "tuning.hpp"
#include "wire.hpp"

namespace padsim {

struct pad::state {
    explicit state(model m);

    const model config;
    const std::vector<std::uint8_t> descriptor;
    const std::array<unsigned char, 255> declared;

    mutable std::mutex mutex;
    std::condition_variable input_ready;
    device_status status;
    serial_store serial;
    region_store regions;
    screen framebuffer;
    ink_trail ink;
    tuning_state tuning;
    configuration settings;
    calibration calibrator;
    second_generation diagnostics;
    pixel_reader pixels;
    faults scripted;
    std::optional<hostility> hostile;
    std::map<std::uint8_t, wire::bytes> stored;
    // Bytes a test put in place of a store report's answer (pad::store):
    // they answer its gets until the host next sets that report. In place
    // of a settings report's answer they answer the next get only, since
    // the host asks some of those questions with a set of the same report.
    std::map<std::uint8_t, wire::bytes> store_replies;
    std::uint8_t run_mode;
    std::uint8_t startup_mode;
    std::uint8_t pen_report;
    bool open = false;
    bool unplugged = false;
    std::deque<wire::bytes> inputs;
    std::vector<transfer> log;
    // A recorded pad's answers (pad::answer_as_recorded), and dropping
    // those a host write makes stale.
    std::map<std::uint8_t, recorded_feature> recorded;
    void forget_recorded(std::uint8_t written);
    // Last, so its thread ends before anything it feeds goes away.
    playback player;

    bool idle() const { return run_mode == VANTIX_RUNMODE_COMMAND; }

    // Why a transfer of `id` in `dir` with `length` bytes is refused, if it is.
    result admit(std::uint8_t id, direction dir, std::size_t length);
    // Refused writes leave their reason in the pad's error state, as
    // firmware does; refused reads only fail the transfer.
    result refuse(bool get, std::uint16_t code, const std::string &text);
    // What a get of `id` returns now. Status polls go through status.poll()
    // instead, which also lets time pass.
    wire::bytes current(std::uint8_t id, std::size_t length) const;
    result accept(const wire::bytes &sent);
    // The configuration, calibration, diagnostics and pixel read-back
    // reports (pad_settings.cpp): which they are, what a get answers, what
    // a set does, and the pen samples calibration and tuning wait for.
    static bool is_settings_report(std::uint8_t id);
    std::optional<wire::bytes> settings_answer(std::uint8_t id) const;
    outcome configure(const wire::bytes &report);
    void pen_moved(bool down);
    std::size_t feature_size(std::uint8_t id) const;

    // Queues an input report and wakes a waiting reader.
    void push_input(wire::bytes report);
    // A pen sample as the pen report of the moment.
    void pen_sample(point digitizer, std::uint8_t status, std::uint8_t report_id);
};

}  // namespace padsim
