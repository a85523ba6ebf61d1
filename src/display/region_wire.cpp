// SPDX-License-Identifier: Apache-2.0
// Converting legacy region records to and from their wire form.
#include "display/region_wire.hpp"

#include <cstring>

#include "protocol/bit_fields.hpp"

namespace vantix::display {
namespace {

using support::report_view;

constexpr size_t caption_capacity = VANTIX_REGION_CAPTION_SIZE - 1;  // plus the terminator

}  // namespace

vantix_color get_color(report_view r, size_t at) {
    vantix_color c;
    c.red = r.get1(at);
    c.green = r.get1(at + 1);
    c.blue = r.get1(at + 2);
    c.alpha = r.get1(at + 3);
    return c;
}

void put_color(report_view r, size_t at, const vantix_color &c) {
    r.put1(at, c.red);
    r.put1(at + 1, c.green);
    r.put1(at + 2, c.blue);
    r.put1(at + 3, c.alpha);
}

void get_caption(report_view r, size_t at, unsigned int caption_length,
                 char (&caption)[VANTIX_REGION_CAPTION_SIZE]) {
    // A pad may announce captions longer than the record holds; keep what
    // fits and always terminate.
    const size_t kept = caption_length < caption_capacity ? caption_length : caption_capacity;
    r.get_bytes(at, caption, kept);
    caption[kept] = '\0';
}

void put_caption(report_view r, size_t at, unsigned int caption_length,
                 const char (&caption)[VANTIX_REGION_CAPTION_SIZE]) {
    const size_t text = strnlen(caption, sizeof caption);
    size_t n = text < sizeof caption ? text + 1 : text;
    if (n > caption_length)
        n = caption_length;
    r.put_bytes(at, caption, n);
}

void decode_region(report_view r, size_t at, unsigned int caption_length, vantix_device_region_info &region) {
    vantix_device_region_common &c = region.common;
    c.region_number = r.get1(at);
    const uint8_t type = r.get1(at + 1);
    support::set_enum(c.region_type, type);
    const uint8_t flags = r.get1(at + 2);
    c.accept_touch = protocol::bits(flags, 0);
    c.decode = protocol::bits(flags, 1);
    c.visible = protocol::bits(flags, 2);
    c.in_use = protocol::bits(flags, 3);
    c.has_frame = protocol::bits(flags, 4);
    c.reserved_1 = r.get1(at + 3);
    c.reserved_2 = r.get_u32(at + 4);
    c.x1 = r.get_u16(at + 8);
    c.x2 = r.get_u16(at + 10);
    c.y1 = r.get_u16(at + 12);
    c.y2 = r.get_u16(at + 14);
    c.color_foreground = get_color(r, at + 16);
    c.color_background = get_color(r, at + 20);

    const uint8_t b24 = r.get1(at + 24), b25 = r.get1(at + 25);
    const uint16_t w26 = r.get_u16(at + 26);
    switch (type) {
    case VANTIX_REGION_TYPE_CONTAINER:
        region.container.ink_enable = protocol::bits(b24, 0);
        region.container.reserved_1 = static_cast<uint8_t>((b24 >> 1) & 0x03u);
        region.container.reserved_2 = b25;
        region.container.reserved_3 = w26;
        break;
    case VANTIX_REGION_TYPE_BUTTON: {
        vantix_device_region_button &b = region.button;
        b.parent = b24;
        b.enable = protocol::bits(b25, 0);
        b.highlight_on_select = protocol::bits(b25, 1);
        b.clear_on_select = protocol::bits(b25, 2);
        b.reserved = w26;
        get_caption(r, at + 28, caption_length, b.caption);
        break;
    }
    case VANTIX_REGION_TYPE_LINE:
        region.line.parent = b24;
        region.line.width = b25;
        region.line.reserved = w26;
        break;
    default: break;  // other types carry nothing the legacy record describes
    }
}

void encode_region(const vantix_device_region_info &region, unsigned int caption_length, report_view r,
                   size_t at) {
    const vantix_device_region_common &c = region.common;
    const uint8_t type = support::enum_byte(c.region_type);
    r.put1(at, c.region_number);
    r.put1(at + 1, type);
    // Packed fields are shifted and OR-ed without masking, like every other
    // report: a value wider than its bit spills into the next one.
    r.put1(at + 2, static_cast<uint8_t>(c.accept_touch | c.decode << 1 | c.visible << 2 | c.in_use << 3 |
                                        c.has_frame << 4));
    r.put1(at + 3, c.reserved_1);
    r.put4(at + 4, c.reserved_2);
    r.put2(at + 8, c.x1);
    r.put2(at + 10, c.x2);
    r.put2(at + 12, c.y1);
    r.put2(at + 14, c.y2);
    put_color(r, at + 16, c.color_foreground);
    put_color(r, at + 20, c.color_background);
    switch (type) {
    case VANTIX_REGION_TYPE_CONTAINER:
        r.put1(at + 24, static_cast<uint8_t>(region.container.ink_enable | region.container.reserved_1 << 1));
        r.put1(at + 25, region.container.reserved_2);
        r.put1(at + 26, static_cast<uint8_t>(region.container.reserved_3));  // low byte only; 27 stays zero
        break;
    case VANTIX_REGION_TYPE_BUTTON: {
        const vantix_device_region_button &b = region.button;
        r.put1(at + 24, b.parent);
        r.put1(at + 25, static_cast<uint8_t>(b.enable | b.highlight_on_select << 1 | b.clear_on_select << 2));
        r.put1(at + 26, static_cast<uint8_t>(b.reserved));
        put_caption(r, at + 28, caption_length, b.caption);
        break;
    }
    case VANTIX_REGION_TYPE_LINE:
        r.put1(at + 24, region.line.parent);
        r.put1(at + 25, region.line.width);
        r.put1(at + 26, static_cast<uint8_t>(region.line.reserved));
        break;
    default: break;  // unknown types: offsets 24 onward stay zero
    }
}

}  // namespace vantix::display
