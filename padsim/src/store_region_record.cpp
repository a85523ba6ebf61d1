// SPDX-License-Identifier: Apache-2.0
// The store's wire form of one region (the region report), read and written
// the way the pad firmware does.
#include <algorithm>

#include "padsim/region.hpp"
#include "region_fields.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

using namespace region_fields;

// Offsets inside the report; byte 0 is its ID.
constexpr unsigned number_at = 1, type_at = 2, flags_at = 3, reserved_at = 4, box_at = 13;
constexpr unsigned kind_at = 29, caption_at = 33;
// Bytes after the caption area's L + 1: the report is L + 34 bytes long.
constexpr unsigned fixed_size = caption_at + 1;
enum flag : std::uint8_t { touch = 0x01, decodes = 0x02, framed = 0x04, to_host = 0x40 };
enum button_flag : std::uint8_t {
    enabled = 0x01,
    highlights = 0x02,
    clears = 0x04,
    confirms = 0x08,
    resources = 0x10
};

reserved_offsets reserved_of(std::uint8_t type) {
    switch (type) {
    case VANTIX_REGION_TYPE_CONTAINER: return {31, 32, 0};
    case VANTIX_REGION_TYPE_BUTTON: return {30, 31, 32};
    case VANTIX_REGION_TYPE_LINE: return {29, 31, 32};
    case VANTIX_REGION_TYPE_GRAPHIC: return {29, 32, 0};
    case VANTIX_REGION_TYPE_TEXT: return {29, 0, 0};
    default: return {};
    }
}

// Justification: horizontal in the low four bits, vertical in the high four.
std::uint8_t justification(const region &r) {
    return static_cast<std::uint8_t>((r.horizontal_justification & 0x0F) | (r.vertical_justification << 4));
}

void set_justification(region &r, std::uint8_t byte) {
    r.horizontal_justification = byte & 0x0F;
    r.vertical_justification = static_cast<std::uint8_t>(byte >> 4);
}

}  // namespace

std::vector<std::uint8_t> encode_store_region(const region &r, unsigned caption_length) {
    std::vector<std::uint8_t> report(fixed_size + caption_length, 0);
    std::uint8_t *w = report.data();
    w[0] = VANTIX_FEATURE_REGION;
    w[number_at] = r.number;
    // A region nobody defined reads as the null type, so a host listing the
    // store can tell it from a container.
    if (!r.in_use) {
        w[type_at] = VANTIX_REGION_TYPE_NULL;
        return report;
    }
    w[type_at] = r.type;
    w[flags_at] = pack(
        {{r.accept_touch, touch}, {r.decode, decodes}, {r.has_frame, framed}, {r.output_to_host, to_host}});
    std::copy(r.reserved.begin(), r.reserved.end(), w + reserved_at);
    put_box(w + box_at, r);
    put_reserved(w, reserved_of(r.type), r.type_reserved);
    std::uint8_t *kind = w + kind_at;
    switch (r.type) {
    case VANTIX_REGION_TYPE_CONTAINER:
        kind[0] = r.ink_enable ? 1 : 0;
        kind[1] = r.ink_width;
        break;
    case VANTIX_REGION_TYPE_BUTTON:
        kind[0] = pack({{r.enable, enabled},
                        {r.highlight_on_select, highlights},
                        {r.clear_on_select, clears},
                        {r.confirm_on_select, confirms},
                        {r.use_resource, resources}});
        if (r.use_resource) {
            w[caption_at] = r.resource_normal;
            if (caption_length > 0)  // the caption area is L + 1 bytes
                w[caption_at + 1] = r.resource_selected;
        } else {
            put_caption(w + caption_at, r.caption, caption_length);
        }
        break;
    case VANTIX_REGION_TYPE_LINE: kind[1] = r.width; break;
    case VANTIX_REGION_TYPE_GRAPHIC:
        kind[1] = r.graphic_number;
        kind[2] = justification(r);
        break;
    case VANTIX_REGION_TYPE_TEXT:
        kind[1] = r.resource_number;
        kind[2] = r.font_number;
        kind[3] = justification(r);
        break;
    default: break;
    }
    return report;
}

std::optional<region> decode_store_region(std::span<const std::uint8_t> report, unsigned caption_length) {
    if (report.size() < fixed_size + caption_length || report[type_at] > VANTIX_REGION_TYPE_TEXT)
        return std::nullopt;
    const std::uint8_t *w = report.data();
    region r;
    r.number = w[number_at];
    r.type = w[type_at];
    r.in_use = r.visible = true;
    r.accept_touch = w[flags_at] & touch;
    r.decode = w[flags_at] & decodes;
    r.has_frame = w[flags_at] & framed;
    r.output_to_host = w[flags_at] & to_host;
    std::copy_n(w + reserved_at, r.reserved.size(), r.reserved.begin());
    get_box(w + box_at, r);
    get_reserved(w, reserved_of(r.type), r.type_reserved);
    const std::uint8_t *kind = w + kind_at;
    switch (r.type) {
    case VANTIX_REGION_TYPE_CONTAINER:
        r.ink_enable = kind[0] & 1;
        r.ink_width = kind[1];
        break;
    case VANTIX_REGION_TYPE_BUTTON:
        r.enable = kind[0] & enabled;
        r.highlight_on_select = kind[0] & highlights;
        r.clear_on_select = kind[0] & clears;
        r.confirm_on_select = kind[0] & confirms;
        r.use_resource = kind[0] & resources;
        if (r.use_resource) {
            r.resource_normal = w[caption_at];
            r.resource_selected = caption_length > 0 ? w[caption_at + 1] : 0;
        } else {
            r.caption = get_caption(w + caption_at, caption_length);
        }
        break;
    case VANTIX_REGION_TYPE_LINE: r.width = kind[1]; break;
    case VANTIX_REGION_TYPE_GRAPHIC:
        r.graphic_number = kind[1];
        set_justification(r, kind[2]);
        break;
    default:  // text
        r.resource_number = kind[1];
        r.font_number = kind[2];
        set_justification(r, kind[3]);
        break;
    }
    return r;
}

}  // namespace padsim
