// SPDX-License-Identifier: Apache-2.0
// A region as the pad keeps it: one record per region number, shared by the
// legacy list reports and the store's region record. Each wire form is the
// pad's own reading of that record, independent of the library's records.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace padsim {

struct model;

struct region {
    std::uint8_t number = 0;
    std::uint8_t type = 0;  // 0 container, 1 button, 2 line, 3 graphic, 4 text
    bool accept_touch = false;
    bool decode = false;
    bool visible = false;  // legacy only; a region the store writes is shown
    bool in_use = false;   // legacy only; a region the store writes is in use
    bool has_frame = false;
    bool output_to_host = false;                   // store only
    std::uint16_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;  // display pixels, inclusive
    std::array<std::uint8_t, 4> foreground{};      // red, green, blue, alpha as on the wire
    std::array<std::uint8_t, 4> background{};
    bool ink_enable = false;     // container
    std::uint8_t ink_width = 0;  // container; 0 when the legacy list wrote it
    std::uint8_t parent = 0;     // button, line (legacy only)
    bool enable = false;         // button
    bool highlight_on_select = false;
    bool clear_on_select = false;
    bool confirm_on_select = false;  // button, store only
    bool use_resource = false;       // button: resources instead of a caption
    std::uint8_t resource_normal = 0, resource_selected = 0;
    std::string caption;                                // button
    std::uint8_t width = 0;                             // line
    std::uint8_t graphic_number = 0;                    // graphic
    std::uint8_t resource_number = 0, font_number = 0;  // text
    std::uint8_t horizontal_justification = 0;          // graphic, text: four bits each
    std::uint8_t vertical_justification = 0;
    // Bytes the host marks reserved travel unchanged: the common part (the
    // legacy record carries the first five, the store record all nine) and
    // those of the type-specific part, in the order the record holds them.
    std::array<std::uint8_t, 9> reserved{};
    std::array<std::uint8_t, 3> type_reserved{};

    bool contains(unsigned x, unsigned y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
    bool operator==(const region &) const = default;
};

// Bytes of one legacy record on the wire for captions of up to `caption_length`.
unsigned region_record_size(unsigned caption_length);

// One legacy wire record: the fields above; captions are cut to
// `caption_length` bytes and the byte after them is always zero. Graphic and
// text regions show their common part with the type-specific bytes zero.
std::vector<std::uint8_t> encode_region(const region &r, unsigned caption_length);
// Reads a record of region_record_size(caption_length) bytes.
region decode_region(const std::uint8_t *record, unsigned caption_length);

// The store's region report (byte 0 its ID) for captions of up to
// `caption_length`: region_record_size(caption_length) + 5 bytes.
std::vector<std::uint8_t> encode_store_region(const region &r, unsigned caption_length);
// Reads a store region report of at least that many bytes. A region the
// store writes is in use and visible; its legacy-only fields are zero.
// Nothing for a type the pad does not know.
std::optional<region> decode_store_region(std::span<const std::uint8_t> report, unsigned caption_length);

// The layout a pad of this model leaves the factory with: region 1 a
// container taking ink above a strip along the bottom, regions 2 and 3 the
// "OK" and "Cancel" buttons side by side in that strip, the rest unused.
std::vector<region> standard_regions(const model &m);

}  // namespace padsim
