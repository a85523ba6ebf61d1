// SPDX-License-Identifier: Apache-2.0
// Identity and configuration reports, encoded from the pad model.
#include "identity.hpp"

#include <algorithm>

#include "vantix-zelnar.h"

namespace padsim {
namespace {

wire::bytes capabilities(const model &m) {
    wire::bytes r = wire::blank(VANTIX_FEATURE_CAPABILITIES, VANTIX_FEATURE_CAPABILITIES_SIZE);
    wire::put16(r, 1, m.supported_reports);
    r[3] = m.coordinate_modes;
    r[5] = m.display_type;
    r[6] = m.brightness_levels;
    r[7] = m.contrast_levels;
    r[8] = m.color_depth;
    wire::put16(r, 9, m.display_width);
    wire::put16(r, 11, m.display_height);
    wire::put16(r, 13, m.digitizer_width);
    wire::put16(r, 15, m.digitizer_height);
    wire::put16(r, 17, m.x_min);
    wire::put16(r, 19, m.x_max);
    wire::put16(r, 21, m.y_min);
    wire::put16(r, 23, m.y_max);
    wire::put16(r, 25, m.calibration_x_min);
    wire::put16(r, 27, m.calibration_x_max);
    wire::put16(r, 29, m.calibration_y_min);
    wire::put16(r, 31, m.calibration_y_max);
    r[41] = m.mag_reader_id;
    r[45] = m.supports_screens_resources;
    return r;
}

wire::bytes display_info(const model &m) {
    wire::bytes r = wire::blank(VANTIX_FEATURE_DISPLAYINFO, VANTIX_FEATURE_DISPLAYINFO_SIZE);
    wire::put16(r, 1, m.display_width);
    wire::put16(r, 3, m.display_height);
    r[5] = m.color_depth;
    r[6] = m.text_width;
    r[7] = m.text_height;
    r[8] = m.region_count;
    r[9] = m.max_caption_length;
    return r;
}

wire::bytes version(const model &m) {
    wire::bytes r = wire::blank(VANTIX_FEATURE_VERSIONINFO, VANTIX_FEATURE_VERSIONINFO_SIZE);
    std::copy(m.kernel_version.begin(), m.kernel_version.end(), r.begin() + 1);
    std::copy(m.firmware_version.begin(), m.firmware_version.end(), r.begin() + 4);
    wire::put16(r, 7, m.asic_signature);
    return r;
}

wire::bytes coordinate_range(const model &m) {
    wire::bytes r = wire::blank(VANTIX_FEATURE_COORDINATERANGE, VANTIX_FEATURE_COORDINATERANGE_SIZE);
    wire::put16(r, 1, m.x_min);
    wire::put16(r, 3, m.x_max);
    wire::put16(r, 5, m.y_min);
    wire::put16(r, 7, m.y_max);
    return r;
}

// Reports whose bytes after the ID are plain one-byte fields.
wire::bytes byte_fields(std::uint8_t id, std::initializer_list<std::uint8_t> fields) {
    wire::bytes r = wire::blank(id, 1 + fields.size());
    std::copy(fields.begin(), fields.end(), r.begin() + 1);
    return r;
}

}  // namespace

std::map<std::uint8_t, wire::bytes> identity_reports(const model &m) {
    const auto &ds = m.display_settings;
    return {
        {VANTIX_FEATURE_CAPABILITIES, capabilities(m)},
        {VANTIX_FEATURE_DISPLAYINFO, display_info(m)},
        {VANTIX_FEATURE_VERSIONINFO, version(m)},
        {VANTIX_FEATURE_COORDINATERANGE, coordinate_range(m)},
        {VANTIX_FEATURE_DEVICECONFIGURE,
         byte_fields(VANTIX_FEATURE_DEVICECONFIGURE, {m.device_mode, m.device_id})},
        {VANTIX_FEATURE_CONTACTCOUNTMAXIMUM,
         byte_fields(VANTIX_FEATURE_CONTACTCOUNTMAXIMUM, {m.contact_count_max})},
        {VANTIX_FEATURE_OPERATINGMODE,
         byte_fields(VANTIX_FEATURE_OPERATINGMODE,
                     {m.supported_modes, m.acquisition_mode, m.touch_mode, m.pen_mode})},
        {VANTIX_FEATURE_DISPLAYSETTINGS,
         byte_fields(VANTIX_FEATURE_DISPLAYSETTINGS, {ds[0], ds[1], ds[2], ds[3], ds[4], ds[5]})},
    };
}

namespace {

// Bounds a model's screen, regions and digitizer mapping work within.
constexpr unsigned max_display_side = 2048;
constexpr unsigned max_regions = 64;
constexpr unsigned max_caption = 64;

void adopt_display_info(model &m, const wire::bytes &r) {
    if (r.size() < 10)
        return;
    const std::uint16_t width = wire::get16(r, 1), height = wire::get16(r, 3);
    if (width == 0 || height == 0 || width > max_display_side || height > max_display_side || r[5] == 0 ||
        r[5] > 8 || r[8] == 0 || r[8] > max_regions || r[9] == 0 || r[9] > max_caption)
        return;
    m.display_width = width;
    m.display_height = height;
    m.color_depth = r[5];
    m.text_width = r[6];
    m.text_height = r[7];
    m.region_count = r[8];
    m.max_caption_length = r[9];
}

void adopt_capabilities(model &m, const wire::bytes &r) {
    if (r.size() < 33)
        return;
    const std::uint16_t x_min = wire::get16(r, 25), x_max = wire::get16(r, 27);
    const std::uint16_t y_min = wire::get16(r, 29), y_max = wire::get16(r, 31);
    if (x_min >= x_max || y_min >= y_max)
        return;
    m.digitizer_width = wire::get16(r, 13);
    m.digitizer_height = wire::get16(r, 15);
    m.calibration_x_min = x_min;
    m.calibration_x_max = x_max;
    m.calibration_y_min = y_min;
    m.calibration_y_max = y_max;
}

}  // namespace

void adopt_identity(model &m, const wire::bytes &report) {
    if (report.empty())
        return;
    if (report[0] == VANTIX_FEATURE_DISPLAYINFO)
        adopt_display_info(m, report);
    else if (report[0] == VANTIX_FEATURE_CAPABILITIES)
        adopt_capabilities(m, report);
}

}  // namespace padsim
