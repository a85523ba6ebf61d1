// SPDX-License-Identifier: Apache-2.0
#include "pad_info.hpp"

#include <algorithm>
#include <cstring>

namespace vantix::signature {
namespace {

template <std::size_t N>
void copy_text(char (&to)[N], const char *from, std::size_t limit = N) {
    std::memset(to, 0, N);
    if (!from)
        return;
    // A pad's text need not be terminated inside its field, nor be UTF-8;
    // exported documents must be, so only printable ASCII is kept as is.
    const std::size_t length = strnlen(from, std::min(N - 1, limit));
    std::transform(from, from + length, to, [](char c) { return c >= 0x20 && c < 0x7f ? c : '?'; });
}

}  // namespace

pad_info_result read_pad_info(vantix_device *device) {
    if (!device)
        return {std::nullopt, "No device given for the signature capture."};
    if (!device->open)
        return {std::nullopt, "The device of a signature capture must be open."};
    vantix_signature_pad_info info{};
    info.vendor_id = device->vendor_id;
    info.product_id = device->product_id;
    copy_text(info.manufacturer, device->manufacturer);
    copy_text(info.model, device->model);

    const vantix_hid_capabilities caps = vantix_get_capabilities(device);
    const vantix_hid_feature_coordinate_range range = vantix_get_coordinate_range(device);
    if (range.report_id != 0) {
        info.x_min = range.x_min, info.x_max = range.x_max, info.y_min = range.y_min,
        info.y_max = range.y_max;
    } else if (caps.report_id != 0) {
        info.x_min = caps.coordinate_xmin, info.x_max = caps.coordinate_xmax;
        info.y_min = caps.coordinate_ymin, info.y_max = caps.coordinate_ymax;
    } else {
        return {std::nullopt, "Unable to read the pad's coordinate range."};
    }
    // The pad maps its calibrated area onto the display; without one it
    // maps all it reports.
    const bool calibrated = caps.report_id != 0 && caps.calibration_xmax > caps.calibration_xmin &&
                            caps.calibration_ymax > caps.calibration_ymin;
    info.active_x_min = calibrated ? caps.calibration_xmin : info.x_min;
    info.active_x_max = calibrated ? caps.calibration_xmax : info.x_max;
    info.active_y_min = calibrated ? caps.calibration_ymin : info.y_min;
    info.active_y_max = calibrated ? caps.calibration_ymax : info.y_max;
    info.display_width = device->display_info.width ? device->display_info.width : caps.display_width;
    info.display_height = device->display_info.height ? device->display_info.height : caps.display_height;

    const vantix_hid_feature_serial_number serial = vantix_get_serial_number(device);
    if (serial.report_id != 0)
        copy_text(info.serial_number, reinterpret_cast<const char *>(serial.serial_number),
                  sizeof serial.serial_number);
    if (std::string problem = check_pad_info(info); !problem.empty())
        return {std::nullopt, problem};
    return {info, {}};
}

std::string check_pad_info(const vantix_signature_pad_info &info) {
    if (info.x_max < info.x_min || info.y_max < info.y_min)
        return "The pad's coordinate range is inverted.";
    if (info.active_x_max < info.active_x_min || info.active_y_max < info.active_y_min)
        return "The pad's active area is inverted.";
    if (info.display_width == 0 || info.display_height == 0)
        return "The pad's display size is 0.";
    // A pad's claim sizes every picture drawn at the display's size.
    if (info.display_width > VANTIX_SIGNATURE_MAX_DISPLAY_SIZE ||
        info.display_height > VANTIX_SIGNATURE_MAX_DISPLAY_SIZE)
        return "The pad's display size is over 4096 pixels.";
    return {};
}

}  // namespace vantix::signature
