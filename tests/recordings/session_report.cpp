// SPDX-License-Identifier: Apache-2.0
#include "recordings/session_report.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "padsim/sim_driver.hpp"
#include "vantix-signature.h"

namespace vantix::testing {
namespace {

using json = nlohmann::ordered_json;

std::string last_error() {
    std::string text = vantix_get_last_error();
    text.erase(text.find_last_not_of('\n') + 1);
    return text;
}

// FNV-1a: a short, stable fingerprint of bytes for the results file.
std::string fingerprint(const unsigned char *data, std::size_t size) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001b3u;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string version_text(const std::uint8_t (&v)[3]) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]);
}

std::string region_text(const vantix_device_region_info &r) {
    const vantix_device_region_common &c = r.common;
    return std::to_string(c.region_number) + " type " + std::to_string(c.region_type) + " " +
           std::to_string(c.x1) + "," + std::to_string(c.y1) + "-" + std::to_string(c.x2) + "," +
           std::to_string(c.y2) + (c.in_use ? " in use" : "");
}

json identity(vantix_device *d) {
    const vantix_hid_feature_serial_number serial = vantix_get_serial_number(d);
    return {{"vendor_id", d->vendor_id},
            {"product_id", d->product_id},
            {"manufacturer", d->manufacturer ? d->manufacturer : ""},
            {"model", d->model ? d->model : ""},
            {"display",
             {d->display_info.width, d->display_info.height, d->display_info.color_depth,
              d->display_info.region_count}},
            {"firmware", version_text(d->version_info.firmware_version)},
            {"uuid", d->uuid ? fingerprint(d->uuid, 16) : ""},
            {"serial", serial.report_id
                           ? std::string(reinterpret_cast<const char *>(serial.serial_number),
                                         strnlen(reinterpret_cast<const char *>(serial.serial_number),
                                                 sizeof serial.serial_number))
                           : last_error()}};
}

json regions(vantix_device *d) {
    json list = json::array();
    for (unsigned i = 0; d->regions && i < d->display_info.region_count; ++i)
        list.push_back(region_text(d->regions[i]));
    return list;
}

// The store's limits, then a host edit of region 1 read back.
json store(vantix_device *d) {
    json out;
    const vantix_hid_feature_screen_region_info info = vantix_get_screen_region_info(d);
    out["limits"] = info.report_id ? json{info.screen_count, info.region_count, info.regions_per_screen,
                                          info.resource_count}
                                   : json(last_error());
    if (!d->regions || d->display_info.region_count == 0)
        return out;
    vantix_device_region_info edited = d->regions[0];
    edited.common.x2 = edited.common.x2 > edited.common.x1 ? edited.common.x2 - 1 : edited.common.x2;
    if (vantix_set_region(d, edited) != VANTIX_CODE_SUCCESS) {
        out["edit"] = last_error();
        return out;
    }
    std::unique_ptr<vantix_device_region_info, decltype(&vantix_free_regions)> back(vantix_get_regions(d),
                                                                                    vantix_free_regions);
    out["edit"] = back ? region_text(back.get()[0]) : last_error();
    return out;
}

json drawing(vantix_device *d, std::size_t index) {
    if (vantix_device_draw_text(d, "Replay", 2, 2, VANTIX_ALIGN_LEFT, 0) != VANTIX_CODE_SUCCESS)
        return last_error();
    const padsim::screen shown = padsim::pad_at(index).display();
    return {{"dark_pixels", std::count_if(shown.pixels().begin(), shown.pixels().end(),
                                          [](const padsim::rgb &pixel) { return pixel != padsim::white; })}};
}

vantix_signature_capture *feeding = nullptr;  // the input callback has no context

void feed(vantix_device *, vantix_input_report *report, std::uint8_t type, unsigned char *, unsigned int) {
    vantix_signature_feed(feeding, report, type);
}

json signature(vantix_device *d, std::size_t index) {
    std::unique_ptr<vantix_signature_capture, decltype(&vantix_signature_capture_free)> capture(
        vantix_signature_capture_new(d), vantix_signature_capture_free);
    if (!capture)
        return vantix_signature_last_error();
    feeding = capture.get();
    vantix_register_input_callback(d, feed);
    padsim::pad &p = padsim::pad_at(index);
    for (std::size_t reads = p.queued_inputs() + 1; reads > 0 && d->open && p.queued_inputs() > 0; --reads)
        vantix_device_read(d);
    feeding = nullptr;
    unsigned char *svg = nullptr;
    std::size_t size = 0;
    if (vantix_signature_export_svg_buffer(capture.get(), nullptr, &svg, &size) != VANTIX_CODE_SUCCESS)
        return vantix_signature_last_error();
    const std::string svg_fingerprint = fingerprint(svg, size);
    vantix_signature_free_buffer(svg);
    return {{"points", vantix_signature_point_count(capture.get())},
            {"strokes", vantix_signature_stroke_count(capture.get())},
            {"svg", svg_fingerprint}};
}

}  // namespace

json session_report(vantix_device *device, std::size_t index) {
    if (vantix_open_device(device) != VANTIX_CODE_SUCCESS)
        return {{"open", last_error()}};
    json report{{"open", "ok"}};
    report["identity"] = identity(device);
    report["regions"] = regions(device);
    report["store"] = store(device);
    report["drawing"] = drawing(device, index);
    report["signature"] = signature(device, index);
    if (device->open)
        vantix_close_device(device);
    return report;
}

}  // namespace vantix::testing
