// SPDX-License-Identifier: Apache-2.0
// Writing a record. Keys come in one fixed order, integers are written as
// integers, times in milliseconds exactly and pressure with four decimals,
// so the same capture and document give the same bytes.
#include <ctime>

#include "digest.hpp"
#include "exporters.hpp"
#include "record.hpp"
#include "text.hpp"

namespace vantix::signature {
namespace {

class json_object_writer {
public:
    explicit json_object_writer(secret_string &out) : out_(out) { out_.push_back('{'); }
    ~json_object_writer() { out_.push_back('}'); }
    json_object_writer(const json_object_writer &) = delete;
    json_object_writer &operator=(const json_object_writer &) = delete;

    secret_string &key(const char *name) {
        if (!first_)
            out_.push_back(',');
        first_ = false;
        append_json_string(out_, name);
        out_.push_back(':');
        return out_;
    }
    void integer(const char *name, std::uint64_t value) { append_integer(key(name), value); }
    void text(const char *name, std::string_view value) { append_json_string(key(name), value); }

private:
    secret_string &out_;
    bool first_ = true;
};

void write_range(json_object_writer &parent, const char *name, unsigned x_min, unsigned x_max, unsigned y_min,
                 unsigned y_max) {
    json_object_writer range(parent.key(name));
    range.integer("x_min", x_min);
    range.integer("x_max", x_max);
    range.integer("y_min", y_min);
    range.integer("y_max", y_max);
}

void write_pad(json_object_writer &parent, const record_header &header) {
    const vantix_signature_pad_info &info = header.pad;
    json_object_writer pad(parent.key("pad"));
    pad.integer("vendor_id", info.vendor_id);
    pad.integer("product_id", info.product_id);
    pad.text("manufacturer", info.manufacturer);
    pad.text("model", info.model);
    pad.text("serial_number", info.serial_number);
    pad.text("uuid", header.pad_uuid);
    pad.text("firmware", header.pad_firmware);
    write_range(pad, "coordinate_range", info.x_min, info.x_max, info.y_min, info.y_max);
    write_range(pad, "active_area", info.active_x_min, info.active_x_max, info.active_y_min,
                info.active_y_max);
    json_object_writer display(pad.key("display"));
    display.integer("width", info.display_width);
    display.integer("height", info.display_height);
}

void write_sample(secret_string &out, std::uint64_t t_us, const sample &s, bool down, std::size_t stroke) {
    out.append(out.back() == '[' ? "\n[" : ",\n[");
    append_thousandths(out, t_us);
    out.push_back(',');
    append_integer(out, s.x);
    out.push_back(',');
    append_integer(out, s.y);
    out.push_back(',');
    append_fixed(out, down ? s.pressure : 0.0, 4);
    out.append(down ? ",1," : ",0,");
    append_integer(out, stroke);
    out.push_back(']');
}

// Each stroke's points pen down, then a pen-up sample where it ends.
void write_pen(json_object_writer &parent, const snapshot &shot) {
    json_object_writer pen(parent.key("pen"));
    pen.key("channels").append(R"(["t_ms","x","y","pressure","down","stroke"])");
    secret_string &out = pen.key("samples");
    out.push_back('[');
    const std::uint64_t start = shot.points.front().time_us;
    for (std::size_t i = 0; i < shot.stroke_count(); ++i) {
        for (const sample &s : shot.stroke(i))
            write_sample(out, s.time_us - start, s, true, i);
        const sample &last = shot.stroke(i).back();
        write_sample(out, last.time_us - start, last, false, i);
    }
    out.append("\n]");
}

}  // namespace

std::string utc_text(std::uint64_t utc_us) {
    const auto seconds = static_cast<std::time_t>(utc_us / 1000000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%06uZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  static_cast<unsigned>(utc_us % 1000000));
    return text;
}

secret_string write_record(const snapshot &shot, record_header header) {
    if (shot.points.empty())
        throw record_error("The signature has no points.");
    header.start_utc_us = shot.start_utc_us;
    header.end_utc_us = shot.start_utc_us + (shot.points.back().time_us - shot.points.front().time_us);
    vantix_signature_export_options defaults;
    vantix_signature_default_options(&defaults);
    header.image = sha256(render_svg(shot, defaults));
    header.library_version = vantix_get_zelnar_version();

    secret_string out;
    out.reserve(512 + shot.points.size() * 40);
    {
        json_object_writer record(out);
        record.text("format", "vantix-signature-record");
        record.integer("version", VANTIX_SIGNATURE_RECORD_VERSION);
        {
            json_object_writer document(record.key("document"));
            document.text("sha256", hex({reinterpret_cast<const char *>(header.document.data()), 32}));
            document.text("name", header.document_name);
        }
        record.text("prompt", header.prompt);
        {
            json_object_writer when(record.key("capture"));
            when.integer("start_utc_us", header.start_utc_us);
            when.integer("end_utc_us", header.end_utc_us);
            when.text("start_utc", utc_text(header.start_utc_us));
            when.text("end_utc", utc_text(header.end_utc_us));
        }
        write_pad(record, header);
        {
            json_object_writer library(record.key("library"));
            library.text("name", "libvantix-signature");
            library.text("version", header.library_version);
        }
        {
            json_object_writer image(record.key("image"));
            image.text("format", "svg");
            image.text("sha256", hex({reinterpret_cast<const char *>(header.image.data()), 32}));
        }
        write_pen(record, shot);
    }
    out.push_back('\n');
    return out;
}

}  // namespace vantix::signature
