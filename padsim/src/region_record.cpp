// SPDX-License-Identifier: Apache-2.0
// The wire form of one legacy region record, read and written the way the
// pad firmware does, and the factory layout.
#include <algorithm>

#include "padsim/model.hpp"
#include "padsim/region.hpp"
#include "region_fields.hpp"
#include "vantix-zelnar.h"

namespace padsim {
namespace {

using namespace region_fields;

// Offsets inside one record.
constexpr unsigned flags_at = 2, reserved_at = 3, box_at = 8, kind_at = 24, kind_flags_at = 25;
constexpr unsigned caption_at = 28;
constexpr std::size_t legacy_reserved = 5;  // byte 3 and the 32-bit value at 4
enum flag : std::uint8_t { touch = 0x01, decodes = 0x02, shown = 0x04, used = 0x08, framed = 0x10 };
enum button_flag : std::uint8_t { enabled = 0x01, highlights = 0x02, clears = 0x04 };

// Where the legacy record keeps each type's reserved bytes. The container's
// two reserved bits beside its ink switch are not kept.
reserved_offsets reserved_of(std::uint8_t type) {
    switch (type) {
    case VANTIX_REGION_TYPE_CONTAINER: return {25, 26, 27};
    case VANTIX_REGION_TYPE_BUTTON:
    case VANTIX_REGION_TYPE_LINE: return {26, 27, 0};
    default: return {};
    }
}

}  // namespace

unsigned region_record_size(unsigned caption_length) { return caption_length + 29; }

std::vector<std::uint8_t> encode_region(const region &r, unsigned caption_length) {
    std::vector<std::uint8_t> record(region_record_size(caption_length), 0);
    std::uint8_t *w = record.data();
    w[0] = r.number;
    w[1] = r.type;
    w[flags_at] = pack({{r.accept_touch, touch},
                        {r.decode, decodes},
                        {r.visible, shown},
                        {r.in_use, used},
                        {r.has_frame, framed}});
    std::copy_n(r.reserved.begin(), legacy_reserved, w + reserved_at);
    put_box(w + box_at, r);
    put_reserved(w, reserved_of(r.type), r.type_reserved);
    switch (r.type) {
    case VANTIX_REGION_TYPE_CONTAINER: w[kind_at] = r.ink_enable ? 1 : 0; break;
    case VANTIX_REGION_TYPE_BUTTON:
        w[kind_at] = r.parent;
        w[kind_flags_at] =
            pack({{r.enable, enabled}, {r.highlight_on_select, highlights}, {r.clear_on_select, clears}});
        put_caption(w + caption_at, r.caption, caption_length);
        break;
    case VANTIX_REGION_TYPE_LINE:
        w[kind_at] = r.parent;
        w[kind_flags_at] = r.width;
        break;
    default: break;
    }
    return record;
}

region decode_region(const std::uint8_t *w, unsigned caption_length) {
    region r;
    r.number = w[0];
    r.type = w[1];
    const std::uint8_t flags = w[flags_at];
    r.accept_touch = flags & touch;
    r.decode = flags & decodes;
    r.visible = flags & shown;
    r.in_use = flags & used;
    r.has_frame = flags & framed;
    std::copy_n(w + reserved_at, legacy_reserved, r.reserved.begin());
    get_box(w + box_at, r);
    get_reserved(w, reserved_of(r.type), r.type_reserved);
    switch (r.type) {
    case VANTIX_REGION_TYPE_CONTAINER: r.ink_enable = w[kind_at] & 1; break;
    case VANTIX_REGION_TYPE_BUTTON:
        r.parent = w[kind_at];
        r.enable = w[kind_flags_at] & enabled;
        r.highlight_on_select = w[kind_flags_at] & highlights;
        r.clear_on_select = w[kind_flags_at] & clears;
        r.caption = get_caption(w + caption_at, caption_length);
        break;
    case VANTIX_REGION_TYPE_LINE:
        r.parent = w[kind_at];
        r.width = w[kind_flags_at];
        break;
    default: break;
    }
    return r;
}

std::vector<region> standard_regions(const model &m) {
    const std::uint16_t w = std::max<std::uint16_t>(m.display_width, 2);
    const std::uint16_t h = std::max<std::uint16_t>(m.display_height, 2);
    const std::uint16_t strip = std::max(1, h / 4);  // button strip along the bottom
    const std::array<std::uint8_t, 4> black{0, 0, 0, 255}, white{255, 255, 255, 255};

    region ink;
    ink.number = 1;
    ink.type = VANTIX_REGION_TYPE_CONTAINER;
    ink.accept_touch = ink.decode = ink.visible = ink.in_use = ink.has_frame = ink.ink_enable = true;
    ink.x2 = static_cast<std::uint16_t>(w - 1);
    ink.y2 = static_cast<std::uint16_t>(h - strip - 1);
    ink.foreground = black;
    ink.background = white;

    auto button = [&](std::uint8_t number, const char *caption, unsigned x1, unsigned x2) {
        region b = ink;
        b.number = number;
        b.type = VANTIX_REGION_TYPE_BUTTON;
        b.ink_enable = false;
        b.enable = b.highlight_on_select = true;
        b.x1 = static_cast<std::uint16_t>(x1);
        b.x2 = static_cast<std::uint16_t>(x2);
        b.y1 = static_cast<std::uint16_t>(h - strip);
        b.y2 = static_cast<std::uint16_t>(h - 1);
        b.caption = caption;
        return b;
    };

    std::vector<region> layout{ink, button(2, "OK", 0, w / 2 - 1), button(3, "Cancel", w / 2, w - 1u)};
    layout.resize(std::min<std::size_t>(layout.size(), m.region_count));
    return layout;
}

}  // namespace padsim
