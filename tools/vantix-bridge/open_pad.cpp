// SPDX-License-Identifier: Apache-2.0
#include "open_pad.hpp"

#include <algorithm>
#include <cstdio>

namespace bridge {
namespace {

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

std::string version(const std::uint8_t (&parts)[3]) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u", parts[0], parts[1], parts[2]);
    return text;
}

}  // namespace

open_pad::~open_pad() {
    if (stroke)
        stroke->cancel();
    if (!pad)
        return;
    if (!buttons.empty() && pad->is_open())
        vantix_set_region_commit(&pad->record(), VANTIX_REGION_DISCARD_CHANGES);
    pad->close();  // stops the library's read thread first
}

void open_pad::new_capture() {
    capture = bridge::new_capture(input->info);
    input->set_capture(capture);
}

void open_pad::drop_buttons() {
    if (buttons.empty())
        return;
    vantix_set_region_commit(&pad->record(), VANTIX_REGION_DISCARD_CHANGES);
    buttons.clear();
    input->set_captions({});
}

json identity(const open_pad &p) {
    const vantix::zelnar::pad &pad = *p.pad;
    const vantix_signature_pad_info &info = p.input->info;
    const auto &fw = pad.firmware();
    json id = {{"path", p.path},
               {"model", printable(info.model)},
               {"manufacturer", printable(info.manufacturer)},
               {"serial", printable(info.serial_number)},
               {"vendor_id", info.vendor_id},
               {"product_id", info.product_id},
               {"driver", pad.view().driver_name()},
               {"simulated", p.simulated},
               {"firmware", version(fw.firmware_version)},
               {"kernel", version(fw.kernel_version)},
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
               {"max_buttons", std::min(max_buttons, button_room(pad))}};
    if (auto uuid = pad.uuid())
        id["uuid"] = hex(uuid->data(), uuid->size());
    return id;
}

json list_entry(const vantix::zelnar::device_view &d, bool open, bool yours) {
    return {{"path", d.path()},
            {"model", d.model()},
            {"manufacturer", d.manufacturer()},
            {"vendor_id", d.vendor_id()},
            {"product_id", d.product_id()},
            {"driver", d.driver_name()},
            {"simulated", d.driver_name() == "SIM"},
            {"open", open},
            {"yours", yours}};
}

}  // namespace bridge
