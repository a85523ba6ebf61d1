// SPDX-License-Identifier: Apache-2.0
// A readable dump of store regions on standard output.
#include <cstdio>

#include "debug/log.hpp"
#include "display/region_print.hpp"
#include "support/byte_order.hpp"

namespace {

using vantix::support::enum_byte;

const char *type_name(uint8_t type) {
    switch (type) {
    case VANTIX_REGION_TYPE_CONTAINER: return "Container";
    case VANTIX_REGION_TYPE_LINE: return "Line";
    case VANTIX_REGION_TYPE_BUTTON: return "Button";
    case VANTIX_REGION_TYPE_GRAPHIC: return "Graphic";
    case VANTIX_REGION_TYPE_TEXT: return "Text";
    default: return "";
    }
}

void print_common(const vantix_hid_feature_region_common &c) {
    std::printf("   Region %u:\n", c.region_index);
    std::printf("               Type: %s\n", type_name(enum_byte(c.region_type)));
    std::printf("      Accepts Touch: %hhu\n", c.accepts_touch);
    std::printf("             Decode: %hhu\n", c.decode_region);
    std::printf("          Has Frame: %hhu\n", c.has_frame);
    std::printf("     Output To Host: %hhu\n", c.output_to_host);
    vantix::display::print_placement(c, c.foreground_color, c.background_color);
}

void print_button(const vantix_hid_feature_region_button &b) {
    std::printf("    Clear on Select: %hhu\n", b.clear_on_select);
    std::printf("             Enable: %hhu\n", b.enabled);
    std::printf("Highlight on Select: %hhu\n", b.highlight_on_select);
    std::printf("  Confirm on Select: %hhu\n", b.confirm_on_select);
    std::printf("       Use Resource: %hhu\n", b.use_resource);
    // Bounded: a caller's caption need not be terminated.
    std::printf("            Caption: %.*s\n", static_cast<int>(sizeof b.caption), b.caption);
    std::printf("Resource Number Normal: %u\n", b.resource_number_normal);
    std::printf("Resource Number Selected: %u\n", b.resource_number_selected);
}

void print_justification(vantix_resource_justification horizontal, vantix_resource_justification vertical) {
    std::printf("Horizontal Justification: %i\n", static_cast<int>(enum_byte(horizontal)));
    std::printf("Vertical Justification: %i\n", static_cast<int>(enum_byte(vertical)));
}

void print_region(const vantix_hid_feature_region &region) {
    print_common(region.common);
    switch (enum_byte(region.common.region_type)) {
    case VANTIX_REGION_TYPE_CONTAINER:
        std::printf("         Ink Enable: %hhu\n", region.container.ink_enabled);
        std::printf("          Ink Width: %hhu\n", region.container.ink_width);
        break;
    case VANTIX_REGION_TYPE_LINE: std::printf("              Width: %hhu\n", region.line.line_width); break;
    case VANTIX_REGION_TYPE_BUTTON: print_button(region.button); break;
    case VANTIX_REGION_TYPE_GRAPHIC:
        std::printf("     Graphic Number: %u\n", region.graphic.graphic_number);
        print_justification(region.graphic.horizontal_justification, region.graphic.vertical_justification);
        break;
    case VANTIX_REGION_TYPE_TEXT:
        std::printf("    Resource Number: %u\n", region.text.resource_number);
        std::printf("        Font Number: %u\n", region.text.font_number);
        print_justification(region.text.horizontal_justification, region.text.vertical_justification);
        break;
    default: break;
    }
}

}  // namespace

extern "C" {

void vantix_print_device_regions(vantix_hid_feature_region *regions, unsigned int count) {
    VANTIX_TRACE_CALL();
    vantix::display::print_region_list(regions, count, print_region);
}

}  // extern "C"
