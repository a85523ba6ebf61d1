// SPDX-License-Identifier: Apache-2.0
// A virtual pad: a model of pad firmware answering HID feature reports.
//
// The pad keeps what real firmware keeps (device status with its lock bits
// and error state, identity and configuration reports, serial number, run
// and start-up modes, the region, screen and resource store, sensing-chip
// registers, the error-correction table) and stores the bytes of every
// other report of the catalogue. It turns pen samples, strokes, taps, card
// swipes and simulated samples written by the host into input reports.
// Tests script it (busy locks, failing or short transfers, a pad stuck
// initialising, unplug) and read its transfer log. All members are safe to
// call from several threads.
#pragma once

#include <array>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "padsim/model.hpp"
#include "padsim/recording.hpp"
#include "padsim/region.hpp"
#include "padsim/store.hpp"
#include "padsim/screen.hpp"
#include "padsim/settings.hpp"
#include "padsim/transfer.hpp"
#include "vantix-zelnar.h"

namespace padsim {

// A count meaning "from now on", for the scripting calls that take one.
inline constexpr unsigned always = UINT_MAX;

// A position in digitizer coordinates or display pixels.
struct point {
    std::uint16_t x = 0, y = 0;
    bool operator==(const point &) const = default;
};

// One firmware download block as the pad logged it.
struct firmware_block {
    std::uint32_t address;
    std::uint8_t checksum;
    bool operator==(const firmware_block &) const = default;
};

class pad {
public:
    explicit pad(model m = model{});
    ~pad();
    pad(const pad &) = delete;
    pad &operator=(const pad &) = delete;

    const model &config() const;

    // --- The wire, as a host reaches it -------------------------------------
    // buffer[0] names the report. A get fills `length` bytes (zeros past the
    // reply); a set reads `length` bytes. Both are logged.
    result get_feature(std::uint8_t *buffer, std::size_t length);
    result set_feature(const std::uint8_t *buffer, std::size_t length);
    bool declares(std::uint8_t id) const;
    const std::vector<std::uint8_t> &descriptor() const;

    // Input reports travel through a queue: whoever produces them (tests now,
    // pen strokes later) queues, the driver's read takes the oldest.
    void queue_input(std::vector<std::uint8_t> report);
    // Waits up to `timeout`; nothing when none arrived or the pad is unplugged.
    std::optional<std::vector<std::uint8_t>> next_input(std::chrono::milliseconds timeout);
    std::size_t queued_inputs() const;

    // --- Input production ----------------------------------------------------
    // One pen sample in digitizer coordinates: an extended coordinate report
    // carrying the region under the pen, or a plain coordinate report, as
    // the model's pen_report says (set_pen_report changes it).
    void pen_sample(point digitizer, bool down);
    // Pen down at every point, then pen up at the last one.
    void stroke(std::span<const point> digitizer);
    void tap(point digitizer);
    void set_pen_report(std::uint8_t id);
    // The display pixel under a digitizer position (nothing off the display),
    // and the digitizer position at the middle of a pixel.
    std::optional<point> to_display(point digitizer) const;
    point to_digitizer(point display) const;
    // Analogue reports: scan extremes x_max, x_min, y_max, y_min, or the four
    // samples of one channel.
    void adc_scan(bool down, const std::array<std::uint16_t, 4> &extremes);
    void adc_channel(std::uint8_t channel, const std::array<std::uint16_t, 4> &samples);
    void debug_sample(point digitizer, bool down);
    // A card swipe; tracks longer than their field are cut. False (and no
    // report) when the model has no card reader.
    bool swipe_card(const std::string &track1, const std::string &track2, const std::string &track3,
                    const std::array<std::uint8_t, 3> &statuses = {},
                    std::uint8_t format = VANTIX_CARDSWIPE_TYPE_FINANCIAL);

    void mark_open(bool open);
    bool is_open() const;

    // --- Scripting ----------------------------------------------------------
    // Lock bits (status byte 3) stay set for the next `polls` status polls.
    void hold_locks(std::uint8_t bits, unsigned polls);
    // After a command of a group in `bits` completes, its lock bit stays set
    // for `polls` status polls (the model's busy_polls_after_command).
    void set_busy_after_command(std::uint8_t bits, unsigned polls);
    // The next `count` transfers of report `id` fail (`always`: every one).
    void fail_transfers(std::uint8_t id, unsigned count = 1);
    void clear_failures();
    // The next `count` gets of report `id` return only `bytes` bytes.
    void short_reply(std::uint8_t id, unsigned bytes, unsigned count = 1);
    void stay_initialising(bool stuck);
    // Every later transfer fails and waiting readers wake up.
    void unplug();
    // From now on the pad lies, repeatably for a seed: replies cut short,
    // full of noise or claiming counts of 255 and 65535, transfers failing
    // at random, input reports of random length and bytes, and now and
    // then an unplug.
    void turn_hostile(std::uint32_t seed);
    bool unplugged() const;

    // A recorded pad's answer (replay): until the host sets that report (or,
    // for the region lists and the store, any of their reports), a get of
    // it answers the recorded bytes, or fails with the recorded error,
    // whatever the catalogue says of the report; after the set, the model
    // answers as for any pad.
    void answer_as_recorded(const recorded_feature &answer);
    // Input queued anew each time the pad is opened (the queue emptied
    // first): at the recorded pace, counted from the first report, or all
    // at once. Closing the pad stops the playing.
    void play_on_open(std::vector<recorded_input> reports, bool paced);

    std::vector<transfer> transfers() const;
    void clear_transfers();
    unsigned status_polls() const;

    // --- Direct state access ------------------------------------------------
    // The bytes a get of `id` returns now (for report 13 without counting a
    // poll), and replacing the stored bytes of a report. For the reports of
    // the region, screen and resource store the bytes stand in for the
    // store's answer until the host next sets that report, so tests can
    // script replies the store itself would never give. For the
    // configuration, calibration, diagnostics and pixel reports they stand
    // in for the next get only.
    std::vector<std::uint8_t> stored(std::uint8_t id) const;
    void store(std::uint8_t id, std::vector<std::uint8_t> bytes);
    std::uint8_t run_mode() const;
    void set_run_mode(std::uint8_t mode);
    std::uint8_t startup_mode() const;
    std::uint8_t lock_bits() const;
    void set_lock_bits(std::uint8_t bits);  // held until changed again
    std::array<std::uint8_t, 32> serial_number() const;
    void set_serial_number(const std::string &serial);
    std::uint16_t last_error() const;
    std::string error_text() const;
    void set_error(std::uint16_t code, const std::string &text);
    void set_calibration(bool required, bool calibrating);

    // Regions, shared by the legacy lists and the store: the current set
    // (edits included; each with its ink_enable and ink_width), the factory
    // set, the legacy record of one region of the current set (1-based), and the
    // region hit-testing finds under a display pixel (the smallest in-use
    // region holding it, the lower number on a tie; 0 for none).
    std::vector<region> regions() const;
    std::vector<region> factory_regions() const;
    std::vector<std::uint8_t> region_record(std::uint8_t number) const;
    std::uint8_t region_at(point display) const;

    // The region, screen and resource store (regions() above is its region
    // set): screens and resources as they stand, unsaved edits included, a
    // resource only once all its pieces arrived; the active screen; whether
    // edits wait for a save or discard.
    std::vector<store_screen> screens() const;
    std::vector<resource> resources() const;
    std::uint8_t active_screen() const;
    bool store_pending() const;

    // The display as it shows now (chunks, ink), and the same as a PNG file.
    screen display() const;
    bool write_png(const std::string &path, std::string *error = nullptr) const;

    // Output and peripheral configuration, calibration run (its data reads
    // as stored(131)), stylus tuning, and the second-generation identity:
    // the product ID, which the next listing shows as a real pad shows a new
    // one once plugged in again, and the hardware GUID.
    saved_configuration output_configuration() const;
    saved_configuration peripheral_configuration() const;
    calibration_progress calibration_run() const;
    tuning_progress tuning_run() const;
    std::uint16_t product_id() const;
    std::array<std::uint8_t, 16> hardware_guid() const;

    // Sensing chip and firmware download.
    std::array<std::uint8_t, 256> registers() const;
    std::array<std::uint8_t, 2048> error_correction_table() const;
    std::vector<firmware_block> firmware_blocks() const;
    std::uint16_t download_status() const;

private:
    struct state;
    std::unique_ptr<state> state_;
};

}  // namespace padsim
