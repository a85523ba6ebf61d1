// SPDX-License-Identifier: Apache-2.0
// Regions of the store: the region record and its report bytes (report 152),
// the region index, reading and writing one region, deleting one, and
// reading every region.
//
// Byte 0 is the ID, the common fields run to byte 28, bytes 29 to 32 depend
// on the type, and a button's caption (or its two resource numbers) starts
// at byte 33.
#include "display/store_regions.hpp"

#include <cstdlib>

#include "core/failure.hpp"
#include "display/region_wire.hpp"
#include "display/store_io.hpp"
#include "protocol/bit_fields.hpp"

namespace vantix::display {
namespace {

using protocol::bits;
using protocol::pack;
using support::report_view;
using support::set_enum;

constexpr size_t specific = 29;  // first type-specific byte
constexpr size_t caption_at = 33;

void decode_common(report_view r, vantix_hid_feature_region_common &c) {
    c.report_id = VANTIX_FEATURE_REGION;
    c.region_index = r.get1(1);
    set_enum(c.region_type, r.get1(2));
    const uint8_t flags = r.get1(3);
    c.accepts_touch = bits(flags, 0);
    c.decode_region = bits(flags, 1);
    c.has_frame = bits(flags, 2);
    c.output_to_host = bits(flags, 6);
    get_each<uint8_t>(r, 4,
                      {&c.reserved_1, &c.reserved_2, &c.reserved_3, &c.reserved_4, &c.reserved_5,
                       &c.reserved_6, &c.reserved_7, &c.reserved_8, &c.reserved_9});
    c.x1 = r.get_u16(13);
    c.x2 = r.get_u16(15);
    c.y1 = r.get_u16(17);
    c.y2 = r.get_u16(19);
    c.foreground_color = get_color(r, 21);
    c.background_color = get_color(r, 25);
}

void encode_common(const vantix_hid_feature_region_common &c, report_view r) {
    r.put1(0, VANTIX_FEATURE_REGION);
    r.put1(1, c.region_index);
    r.put1(2, support::enum_byte(c.region_type));
    r.put1(3, pack({{c.accepts_touch, 0}, {c.decode_region, 1}, {c.has_frame, 2}, {c.output_to_host, 6}}));
    put_each<uint8_t>(r, 4,
                      {&c.reserved_1, &c.reserved_2, &c.reserved_3, &c.reserved_4, &c.reserved_5,
                       &c.reserved_6, &c.reserved_7, &c.reserved_8, &c.reserved_9});
    r.put2(13, c.x1);
    r.put2(15, c.x2);
    r.put2(17, c.y1);
    r.put2(19, c.y2);
    put_color(r, 21, c.foreground_color);
    put_color(r, 25, c.background_color);
}

// Horizontal justification in the low four bits, vertical in the high four.
void get_justification(report_view r, size_t at, vantix_resource_justification &horizontal,
                       vantix_resource_justification &vertical) {
    set_enum(horizontal, bits(r.get1(at), 0, 4));
    set_enum(vertical, bits(r.get1(at), 4, 4));
}

uint8_t justification_byte(vantix_resource_justification horizontal, vantix_resource_justification vertical) {
    return pack({{support::enum_byte(horizontal), 0}, {support::enum_byte(vertical), 4}});
}

void decode_button(report_view r, unsigned int caption_length, vantix_hid_feature_region_button &b) {
    const uint8_t flags = r.get1(specific);
    b.enabled = bits(flags, 0);
    b.highlight_on_select = bits(flags, 1);
    b.clear_on_select = bits(flags, 2);
    b.confirm_on_select = bits(flags, 3);
    b.use_resource = bits(flags, 4);
    get_each<uint8_t>(r, specific + 1, {&b.reserved_1, &b.reserved_2, &b.reserved_3});
    if (b.use_resource)
        get_each<uint8_t>(r, caption_at, {&b.resource_number_normal, &b.resource_number_selected});
    else
        get_caption(r, caption_at, caption_length, b.caption);
}

void encode_button(const vantix_hid_feature_region_button &b, unsigned int caption_length, report_view r) {
    r.put1(specific, pack({{b.enabled, 0},
                           {b.highlight_on_select, 1},
                           {b.clear_on_select, 2},
                           {b.confirm_on_select, 3},
                           {b.use_resource, 4}}));
    put_each<uint8_t>(r, specific + 1, {&b.reserved_1, &b.reserved_2, &b.reserved_3});
    if (b.use_resource)
        put_each<uint8_t>(r, caption_at, {&b.resource_number_normal, &b.resource_number_selected});
    else
        put_caption(r, caption_at, caption_length, b.caption);  // the report's last byte stays zero
}

}  // namespace

void decode_store_region(report_view r, unsigned int caption_length, vantix_hid_feature_region &out) {
    decode_common(r, out.common);
    switch (r.get1(2)) {
    case VANTIX_REGION_TYPE_CONTAINER: {
        vantix_hid_feature_region_container &c = out.container;
        get_each<uint8_t>(r, specific, {&c.ink_enabled, &c.ink_width, &c.reserved_1, &c.reserved_2});
        break;
    }
    case VANTIX_REGION_TYPE_BUTTON: decode_button(r, caption_length, out.button); break;
    case VANTIX_REGION_TYPE_LINE: {
        vantix_hid_feature_region_line &l = out.line;
        get_each<uint8_t>(r, specific, {&l.reserved_1, &l.line_width, &l.reserved_2, &l.reserved_3});
        break;
    }
    case VANTIX_REGION_TYPE_GRAPHIC: {
        vantix_hid_feature_region_graphic &g = out.graphic;
        get_each<uint8_t>(r, specific, {&g.reserved_1, &g.graphic_number});
        get_justification(r, specific + 2, g.horizontal_justification, g.vertical_justification);
        g.reserved_2 = r.get1(specific + 3);
        break;
    }
    case VANTIX_REGION_TYPE_TEXT: {
        vantix_hid_feature_region_text &t = out.text;
        get_each<uint8_t>(r, specific, {&t.reserved_1, &t.resource_number, &t.font_number});
        get_justification(r, specific + 3, t.horizontal_justification, t.vertical_justification);
        break;
    }
    default: break;  // a type we do not know: its common fields only
    }
}

void encode_store_region(const vantix_hid_feature_region &in, unsigned int caption_length, report_view r) {
    encode_common(in.common, r);
    switch (support::enum_byte(in.common.region_type)) {
    case VANTIX_REGION_TYPE_CONTAINER: {
        const vantix_hid_feature_region_container &c = in.container;
        put_each<uint8_t>(r, specific, {&c.ink_enabled, &c.ink_width, &c.reserved_1, &c.reserved_2});
        break;
    }
    case VANTIX_REGION_TYPE_BUTTON: encode_button(in.button, caption_length, r); break;
    case VANTIX_REGION_TYPE_LINE: {
        const vantix_hid_feature_region_line &l = in.line;
        put_each<uint8_t>(r, specific, {&l.reserved_1, &l.line_width, &l.reserved_2, &l.reserved_3});
        break;
    }
    case VANTIX_REGION_TYPE_GRAPHIC: {
        const vantix_hid_feature_region_graphic &g = in.graphic;
        put_each<uint8_t>(r, specific, {&g.reserved_1, &g.graphic_number});
        r.put1(specific + 2, justification_byte(g.horizontal_justification, g.vertical_justification));
        r.put1(specific + 3, g.reserved_2);
        break;
    }
    case VANTIX_REGION_TYPE_TEXT: {
        const vantix_hid_feature_region_text &t = in.text;
        put_each<uint8_t>(r, specific, {&t.reserved_1, &t.resource_number, &t.font_number});
        r.put1(specific + 3, justification_byte(t.horizontal_justification, t.vertical_justification));
        break;
    }
    default: break;  // other types: bytes 29 onward stay zero
    }
}

}  // namespace vantix::display

namespace {

namespace store = vantix::display::store;
using vantix::support::report_view;

// Region reports follow the pad's maximum caption length.
unsigned int caption_of(const vantix_device *device) {
    return device ? device->display_info.max_caption_length : 0;
}

auto region_decoder(const vantix_device *device) {
    return [caption = caption_of(device)](report_view r, vantix_hid_feature_region &out) {
        vantix::display::decode_store_region(r, caption, out);
    };
}

auto region_encoder(const vantix_device *device) {
    return [caption = caption_of(device)](const vantix_hid_feature_region &in, report_view r) {
        vantix::display::encode_store_region(in, caption, r);
    };
}

}  // namespace

// The family's reads and writes; `site` is the exported caller, named in
// their log records.
namespace vantix::display {

int get_region_idx(vantix_device *device, protocol::call_site site) {
    return store::read_number(device, VANTIX_FEATURE_REGION_IDX, store::no_wait, site);
}

vantix_error_code set_region_idx(vantix_device *device, uint8_t value, protocol::call_site site) {
    return store::write_number(device, VANTIX_FEATURE_REGION_IDX, value, store::no_wait, site);
}

void get_region(vantix_device *device, vantix_hid_feature_region *record, protocol::call_site site) {
    protocol::read_report(device, record, {VANTIX_FEATURE_REGION, store_region_size(caption_of(device))},
                          region_decoder(device), {.wait = store::region_wait, .refuse_null = true}, site);
}

// Store and legacy reports share one region set: a written region
// refreshes the legacy cache.
vantix_error_code set_region_contents(vantix_device *device, const vantix_hid_feature_region *region,
                                      protocol::call_site site) {
    if (protocol::write_report(device, region, {VANTIX_FEATURE_REGION, store_region_size(caption_of(device))},
                               region_encoder(device), {.wait = store::region_wait, .refuse_null = true},
                               site) != VANTIX_CODE_SUCCESS)
        return VANTIX_CODE_ERROR;
    store::refresh_region_cache(device);
    return VANTIX_CODE_SUCCESS;
}

}  // namespace vantix::display

extern "C" {

// The exported shims. The _ref readers do the transfer; a by-value reader
// reads into a local record through its exported _ref twin, whose log
// records come with it as they always have.

int vantix_get_region_idx(vantix_device *device) {
    VANTIX_TRACE_CALL();
    return vantix::display::get_region_idx(device, VANTIX_HERE);
}

vantix_error_code vantix_set_region_idx(vantix_device *device, uint8_t value) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_region_idx(device, value, VANTIX_HERE);
}

void vantix_get_region_ref(vantix_device *device, vantix_hid_feature_region *record) {
    VANTIX_TRACE_CALL();
    vantix::display::get_region(device, record, VANTIX_HERE);
}

vantix_hid_feature_region vantix_get_region(vantix_device *device) {
    VANTIX_TRACE_CALL();
    vantix_hid_feature_region record;
    vantix_get_region_ref(device, &record);
    return record;
}

vantix_error_code vantix_set_region_contents(vantix_device *device, vantix_hid_feature_region *region) {
    VANTIX_TRACE_CALL();
    return vantix::display::set_region_contents(device, region, VANTIX_HERE);
}

vantix_error_code vantix_delete_device_region(vantix_device *device, uint8_t region) {
    VANTIX_TRACE_CALL();
    if (!vantix::protocol::have_device(device, VANTIX_HERE))
        return VANTIX_CODE_ERROR;
    if (region < 1 || region > device->display_info.region_count) {
        VANTIX_FAIL("Region number out of bounds.");
        return VANTIX_CODE_ERROR;
    }
    return store::write_number(device, VANTIX_FEATURE_DELETE_REGION, region, store::region_and_screen_wait,
                               VANTIX_HERE);
}

vantix_hid_feature_region *vantix_get_device_regions(vantix_device *device) {
    VANTIX_TRACE_CALL();
    const vantix_hid_feature_screen_region_info info = vantix_get_screen_region_info(device);
    if (info.report_id == 0)
        return nullptr;
    const unsigned int count = info.region_count;
    // At least one record, so that an empty store is told apart from a
    // failure by a non-null result.
    auto *regions = static_cast<vantix_hid_feature_region *>(
        std::calloc(count ? count : 1, sizeof(vantix_hid_feature_region)));
    if (!regions) {
        VANTIX_FAIL("Out of memory reading %u regions.", count);
        return nullptr;
    }
    if (vantix_set_region_idx(device, 1) != VANTIX_CODE_SUCCESS) {
        VANTIX_LOG_WARNING("Problem setting region index: %s\n", vantix_get_last_error_internal());
        std::free(regions);
        return nullptr;
    }
    // The pad moves its index on after each read.
    for (unsigned int i = 0; i < count; ++i) {
        vantix_get_region_ref(device, &regions[i]);
        if (regions[i].common.report_id != VANTIX_FEATURE_REGION) {
            std::free(regions);
            return nullptr;
        }
    }
    return regions;
}

void vantix_free_device_regions(vantix_hid_feature_region *regions) {
    VANTIX_TRACE_CALL();
    std::free(regions);
}

}  // extern "C"
