// SPDX-License-Identifier: Apache-2.0
// Writing a recording: one JSON object a line, keys in a fixed order so
// that two recordings of the same pad diff line by line.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <ostream>

#include "fields.hpp"
#include "hex.hpp"
#include "padsim/recording.hpp"

namespace padsim {
namespace {

using line_object = nlohmann::ordered_json;

std::string hex16(std::uint16_t value) {
    char text[5];
    std::snprintf(text, sizeof text, "%04x", unsigned{value});
    return text;
}

// Texts from a pad or the system need not be UTF-8: bad bytes become
// U+FFFD rather than failing the recording.
std::string text(const line_object &o) {
    return o.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

void recording_writer::line(const std::string &text) {
    out_ << text << '\n';
    out_.flush();  // an interrupted recording keeps what it saw
}

void recording_writer::begin(const recording &r) {
    line(text({{"kind", "header"},
               {"format", recording_fields::format_name},
               {"version", recording_version},
               {"library", r.library},
               {"recorded_at", r.recorded_at},
               {"system", {{"os", r.operating_system}, {"architecture", r.architecture}}},
               {"input", r.with_input}}));
    line(text({{"kind", "device"},
               {"path", r.path},
               {"driver", r.driver},
               {"vendor_id", hex16(r.vendor_id)},
               {"product_id", hex16(r.product_id)},
               {"manufacturer", r.manufacturer},
               {"model", r.model}}));
    line(text({{"kind", "descriptor"}, {"bytes", recording_hex::encode(r.descriptor)}}));
}

void recording_writer::feature(const recorded_feature &f) {
    line_object o{{"kind", "feature"}, {"t", f.time_us}, {"phase", recording_fields::name_of(f.phase)}};
    if (f.error.empty()) {
        o["bytes"] = recording_hex::encode(f.bytes);
    } else {
        o["id"] = f.id;
        o["error"] = f.error;
    }
    line(text(o));
}

void recording_writer::input(const recorded_input &i) {
    line(text({{"kind", "input"}, {"t", i.time_us}, {"bytes", recording_hex::encode(i.bytes)}}));
}

void write_recording(std::ostream &out, const recording &r) {
    recording_writer writer(out);
    writer.begin(r);
    for (const recorded_feature &f : r.features)
        writer.feature(f);
    for (const recorded_input &i : r.inputs)
        writer.input(i);
}

}  // namespace padsim
