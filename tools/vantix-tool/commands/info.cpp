// SPDX-License-Identifier: Apache-2.0
// info: who the pad is and every configuration record it answers, through
// the library's printers (or the main fields as JSON).
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstring>
#include <functional>

#include "../json.hpp"
#include "../session.hpp"
#include "../text.hpp"

namespace tool {
namespace {

using vantix::zelnar::pad;

// Reads one record and prints it; a record the pad does not answer is
// reported and the rest still printed.
template <typename Record, typename Print>
bool show(const pad &p, Record (pad::*read)() const, Print print) {
    try {
        const Record record = (p.*read)();
        print(&record);
        return true;
    } catch (const vantix::zelnar::error &e) {
        std::fflush(stdout);
        std::fprintf(stderr, "vantix-tool: %s\n", e.what());
        return false;
    }
}

int print_text(const pad &p) {
    const vantix::zelnar::device_view d = p.view();
    std::printf("pad %.*s (%.*s %.*s, driver %.*s)\nuuid %s\n", int(d.path().size()), d.path().data(),
                int(d.manufacturer().size()), d.manufacturer().data(), int(d.model().size()),
                d.model().data(), int(d.driver_name().size()), d.driver_name().data(), uuid_hex(p).c_str());
    vantix_print_display_info(&p.display());
    vantix_print_version(&p.firmware());
    bool ok = show(p, &pad::capabilities, vantix_print_capabilities);
    ok &= show(p, &pad::serial_number, vantix_print_serial_number);
    ok &= show(p, &pad::coordinate_range, vantix_print_coordinate_range);
    ok &= show(p, &pad::device_configure, vantix_print_device_configure);
    ok &= show(p, &pad::contact_count_maximum, vantix_print_contact_count_maximum);
    ok &= show(p, &pad::operating_modes, vantix_print_operating_modes);
    ok &= show(p, &pad::display_settings, vantix_print_display_settings);
    ok &= show(p, &pad::frequency_amplitude, vantix_print_frequency_amplitude);
    ok &= show(p, &pad::power_state, vantix_print_power_state);
    ok &= show(p, &pad::general_parameters, vantix_print_general_parameters);
    ok &= show(p, &pad::pen_parameters, vantix_print_pen_parameters);
    ok &= show(p, &pad::touch_parameters, vantix_print_touch_parameters);
    ok &= show(p, &pad::output_configuration, vantix_print_output_configuration);
    ok &= show(p, &pad::peripheral_configuration, vantix_print_peripheral_configuration);
    ok &= show(p, &pad::calibration_data, vantix_print_calibration_data);
    ok &= show(p, &pad::calibrate_state, vantix_print_calibrate_state);
    if (p.capabilities().supports_screens_resources) {
        ok &= show(p, &pad::screen_region_info, vantix_print_screen_region_info);
        ok &= show(p, &pad::resource_availability, vantix_print_resource_availability);
    }
    auto regions = p.regions();
    vantix_print_regions(const_cast<vantix_device_region_info *>(regions.data()),
                         static_cast<unsigned>(regions.size()));
    std::fflush(stdout);
    return ok ? exit_ok : exit_failure;
}

int print_json(const pad &p) {
    const vantix::zelnar::device_view d = p.view();
    const vantix_hid_capabilities caps = p.capabilities();
    const vantix_hid_feature_serial_number serial = p.serial_number();
    const vantix_hid_feature_display_info &display = p.display();
    const std::string serial_text(
        reinterpret_cast<const char *>(serial.serial_number),
        strnlen(reinterpret_cast<const char *>(serial.serial_number), sizeof serial.serial_number));
    json_object out;
    out.field("path", d.path())
        .field("vendor_id", d.vendor_id())
        .field("product_id", d.product_id())
        .field("manufacturer", d.manufacturer())
        .field("model", d.model())
        .field("driver", d.driver_name())
        .field("uuid", uuid_hex(p))
        .field("serial_number", serial_text)
        .field("firmware", version_text(p.firmware().firmware_version))
        .field("kernel", version_text(p.firmware().kernel_version))
        .raw("display", json_object()
                            .field("width", display.width)
                            .field("height", display.height)
                            .field("color_depth", display.color_depth)
                            .field("region_count", display.region_count)
                            .str())
        .raw("capabilities", json_object()
                                 .field("supported_reports", caps.supported_reports)
                                 .field("coordinate_modes", caps.coordinate_modes)
                                 .field("display_id", static_cast<int>(caps.display_id))
                                 .field("digitizer_width", caps.digitizer_width)
                                 .field("digitizer_height", caps.digitizer_height)
                                 .field("card_reader", static_cast<int>(caps.mag_reader_id))
                                 .field("screens_and_resources", caps.supports_screens_resources != 0)
                                 .str());
    std::printf("%s\n", out.str().c_str());
    return exit_ok;
}

int info(const common_options &common) {
    session s(common);
    const pad p = s.open();
    return common.json ? print_json(p) : print_text(p);
}

}  // namespace

void add_info(CLI::App &app, const common_options &common, action &run) {
    add_command(app, "info", "Show the pad's identity and every configuration record it answers", run,
                [&common] { return info(common); });
}

}  // namespace tool
