// SPDX-License-Identifier: Apache-2.0
// A pad recording (.vxrec): what a pad said, kept so that it can answer
// again as a virtual pad. The file is JSON, one object a line, report bytes
// in hex; docs/recording.md describes it. Reading never trusts the file:
// every size is bounded and a damaged, foreign or newer file is refused
// with a text naming the line and the fault.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace padsim {

// The format version this library writes and the newest it reads.
inline constexpr int recording_version = 1;

// When a feature report was read: while the library opened the pad, in the
// sweep of every readable report, or later while input was recorded.
enum class recording_phase { open, sweep, session };

struct recorded_feature {
    std::uint64_t time_us = 0;  // since the recording started
    recording_phase phase = recording_phase::open;
    std::uint8_t id = 0;
    std::vector<std::uint8_t> bytes;  // the answer, ID first; empty when the read failed
    std::string error;                // why the read failed; empty when the pad answered
};

struct recorded_input {
    std::uint64_t time_us = 0;
    std::vector<std::uint8_t> bytes;
};

struct recording {
    // Who recorded, where.
    std::string library;      // version of the recording library
    std::string recorded_at;  // UTC, "YYYY-MM-DDTHH:MM:SSZ"
    std::string operating_system;
    std::string architecture;
    bool with_input = true;  // false: recorded with --no-input
    // What the listing said.
    std::string path;
    std::string driver;
    std::uint16_t vendor_id = 0;
    std::uint16_t product_id = 0;
    std::string manufacturer;
    std::string model;
    std::vector<std::uint8_t> descriptor;
    // In the order they happened.
    std::vector<recorded_feature> features;
    std::vector<recorded_input> inputs;
};

class recording_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bounds of what a reader accepts.
inline constexpr std::size_t max_recording_line = 64 * 1024;
inline constexpr std::size_t max_recording_lines = 1'000'000;
inline constexpr std::size_t max_report_bytes = 4096;

// Throws recording_error ("line 7: ...", "not a pad recording", ...).
recording read_recording(std::istream &in);
// The same from a file; the text names the file.
recording load_recording(const std::string &path);

// Writes a recording line by line as it happens, so that an interrupted
// recording still holds everything seen until then.
class recording_writer {
public:
    explicit recording_writer(std::ostream &out) : out_(out) {}
    // The header, listing and descriptor lines (the features and inputs of
    // `r` are not written).
    void begin(const recording &r);
    void feature(const recorded_feature &f);
    void input(const recorded_input &i);

private:
    void line(const std::string &text);
    std::ostream &out_;
};

// A whole recording as text.
void write_recording(std::ostream &out, const recording &r);

}  // namespace padsim
