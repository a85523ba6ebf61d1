// A virtual pad: a model of pad firmware answering HID feature reports.
//
// The pad keeps what real firmware keeps (device status with its lock bits
// and error state, identity and configuration reports, serial number, run
// and start-up modes) and stores the bytes of every other report of the
// catalogue. Tests script it (busy locks, failing or short transfers, a pad
// stuck initialising, unplug) and read its transfer log. All members are
// safe to call from several threads.
#pragma once

#include <array>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "padsim/model.hpp"
#include "padsim/transfer.hpp"

namespace padsim {

// A count meaning "from now on", for the scripting calls that take one.
inline constexpr unsigned always = UINT_MAX;

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
    bool unplugged() const;

    std::vector<transfer> transfers() const;
    void clear_transfers();
    unsigned status_polls() const;

    // --- Direct state access ------------------------------------------------
    // The bytes a get of `id` returns now (for report 13 without counting a
    // poll), and replacing the stored bytes of a report.
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

private:
    struct state;
    std::unique_ptr<state> state_;
};

}  // namespace padsim
