// SPDX-License-Identifier: Apache-2.0
// The pad's first-generation region list: read, write one, update, delete,
// and print.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/failure.hpp"
#include "core/region_memory.hpp"
#include "display/region_print.hpp"
#include "display/region_wire.hpp"
#include "protocol/report_io.hpp"

namespace {

using vantix::display::region_record_size;
using vantix::support::report_view;

constexpr int region_polls = 100;

vantix_device_region_info *read_region_list(vantix_device *device, uint8_t id, bool warn,
                                            vantix::protocol::call_site site) {
    if (!device) {
        vantix::report_failure(site.function, site.file, site.line, "No device given.");
        return nullptr;
    }
    const unsigned int count = device->display_info.region_count;
    const unsigned int caption = device->display_info.max_caption_length;
    std::vector<unsigned char> buffer(count * region_record_size(caption) + 1, 0);
    auto *regions = static_cast<vantix_device_region_info *>(
        std::calloc(count ? count : 1, sizeof(vantix_device_region_info)));
    if (!regions) {
        vantix::report_failure(site.function, site.file, site.line, "Out of memory reading %u regions.",
                               count);
        return nullptr;
    }
    if (!vantix::protocol::fetch_report(device, id, buffer,
                                        {.wait = {region_polls, INTERLOCK_REGION},
                                         .failure_text = warn ? vantix::protocol::get_failed : nullptr},
                                        site)) {
        std::free(regions);
        return nullptr;
    }
    vantix_parse_regions(buffer.data(), regions, count, caption);
    return regions;
}

bool region_in_range(vantix_device *device, unsigned int number) {
    return device && number >= 1 && number <= device->display_info.region_count;
}

void print_region(const vantix_device_region_info &region) {
    const vantix_device_region_common &c = region.common;
    std::printf("   Region %u:\n", c.region_number);
    const uint8_t type = vantix::support::enum_byte(c.region_type);
    std::printf("               Type: %s\n", type == VANTIX_REGION_TYPE_CONTAINER ? "Container"
                                             : type == VANTIX_REGION_TYPE_BUTTON  ? "Button"
                                             : type == VANTIX_REGION_TYPE_LINE    ? "Line"
                                                                                  : "");
    std::printf("      Accepts Touch: %hhu\n", c.accept_touch);
    std::printf("             Decode: %hhu\n", c.decode);
    std::printf("            Visible: %hhu\n", c.visible);
    std::printf("             In Use: %hhu\n", c.in_use);
    std::printf("          Has Frame: %hhu\n", c.has_frame);
    vantix::display::print_placement(c, c.color_foreground, c.color_background);
    switch (type) {
    case VANTIX_REGION_TYPE_CONTAINER:
        std::printf("         Ink Enable: %hhu\n", region.container.ink_enable);
        break;
    case VANTIX_REGION_TYPE_LINE:
        std::printf("             Parent: %hhu\n", region.line.parent);
        std::printf("              Width: %hhu\n", region.line.width);
        break;
    case VANTIX_REGION_TYPE_BUTTON:
        std::printf("             Parent: %hhu\n", region.button.parent);
        std::printf("    Clear on Select: %hhu\n", region.button.clear_on_select);
        std::printf("             Enable: %hhu\n", region.button.enable);
        std::printf("Highlight on Select: %hhu\n", region.button.highlight_on_select);
        std::printf("            Caption: %.*s\n", static_cast<int>(sizeof region.button.caption),
                    region.button.caption);
        break;
    default: break;
    }
}

}  // namespace

extern "C" {

void vantix_parse_regions(const unsigned char *buffer, vantix_device_region_info *regions,
                          unsigned int region_count, unsigned int caption_length) {
    VANTIX_TRACE_CALL();
    if (!buffer || !regions)
        return;
    const size_t record = region_record_size(caption_length);
    // The view spans the report's documented length, so a record is never
    // read past it.
    report_view r(const_cast<unsigned char *>(buffer), region_count * record + 1);
    for (unsigned int i = 0; i < region_count; ++i)
        vantix::display::decode_region(r, 1 + i * record, caption_length, regions[i]);
}

vantix_device_region_info *vantix_get_regions(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return read_region_list(device, VANTIX_FEATURE_REGIONGET, false, VANTIX_HERE);
}

vantix_device_region_info *vantix_get_default_regions(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return read_region_list(device, VANTIX_FEATURE_REGIONGETDEFAULT, true, VANTIX_HERE);
}

vantix_error_code vantix_set_region(vantix_device *device, vantix_device_region_info region) {
    VANTIX_TRACE_CALL();
    const unsigned int number = region.common.region_number;
    if (!region_in_range(device, number)) {
        VANTIX_FAIL("Region number was out of bounds, min: 1, max: %u, specified: %u\n",
                    device ? device->display_info.region_count : 0u, number);
        return VANTIX_CODE_ERROR;
    }
    const unsigned int caption = device->display_info.max_caption_length;
    std::vector<unsigned char> buffer(region_record_size(caption) + 1, 0);
    buffer[0] = VANTIX_FEATURE_REGIONSET;
    vantix::display::encode_region(region, caption, report_view(buffer.data(), buffer.size()), 1);
    if (!wait_for_interlock(device, region_polls, INTERLOCK_REGION))
        return VANTIX_CODE_ERROR;
    if (vantix::protocol::send_report(device, buffer, {}, VANTIX_HERE) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    // The cache follows the pad; without a cache (a failed refresh) there is
    // nothing to keep current.
    if (device->regions)
        device->regions[number - 1] = region;
    return VANTIX_CODE_SUCCESS;
}

vantix_error_code vantix_delete_region(vantix_device *device, uint8_t region) {
    VANTIX_TRACE_CALL();
    if (!region_in_range(device, region)) {
        VANTIX_FAIL("Region number out of bounds.");
        return VANTIX_CODE_ERROR;
    }
    if (!wait_for_interlock(device, region_polls, INTERLOCK_REGION))
        return VANTIX_CODE_ERROR;
    return vantix::protocol::write_byte_report(
        device, {VANTIX_FEATURE_REGIONDELETE, VANTIX_FEATURE_REGIONDELETE_SIZE}, region, {}, VANTIX_HERE);
}

vantix_error_code vantix_update_region(vantix_device *device, vantix_hid_feature_region_update *region) {
    VANTIX_TRACE_CALL();
    if (!region || !region_in_range(device, region->region_number)) {
        VANTIX_FAIL("Region number out of bounds.");
        return VANTIX_CODE_ERROR;
    }
    std::vector<unsigned char> buffer(VANTIX_FEATURE_REGIONUPDATE_SIZE, 0);
    report_view r(buffer.data(), buffer.size());
    r.put1(0, VANTIX_FEATURE_REGIONUPDATE);
    r.put1(1, region->region_number);
    r.put1(2, static_cast<uint8_t>(region->function_enable | region->visible << 1));
    r.put1(3, region->reserved1);
    r.put1(4, region->color_foreground.red);
    r.put1(5, region->color_foreground.green);
    r.put1(6, region->color_foreground.blue);
    r.put1(7, region->color_foreground.alpha);
    r.put4(8, region->reserved2);
    return vantix::protocol::send_report(device, buffer, {}, VANTIX_HERE);
}

void vantix_free_regions(vantix_device_region_info *regions) {
    VANTIX_TRACE_CALL();
    vantix::core::free_regions(regions);
}

void vantix_print_regions(vantix_device_region_info *regions, unsigned int count) {
    VANTIX_TRACE_CALL();
    vantix::display::print_region_list(regions, count, print_region);
}

}  // extern "C"
