// A legacy region as the pad keeps it: the pad's own reading of one region
// record of the list reports, independent of the library's record.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace padsim {

struct model;

struct region {
    std::uint8_t number = 0;
    std::uint8_t type = 0;  // 0 container, 1 button, 2 line
    bool accept_touch = false;
    bool decode = false;
    bool visible = false;
    bool in_use = false;
    bool has_frame = false;
    std::uint16_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;  // display pixels, inclusive
    std::array<std::uint8_t, 4> foreground{};      // red, green, blue, alpha as on the wire
    std::array<std::uint8_t, 4> background{};
    bool ink_enable = false;  // container
    std::uint8_t parent = 0;  // button, line
    bool enable = false;      // button
    bool highlight_on_select = false;
    bool clear_on_select = false;
    std::uint8_t width = 0;  // line
    std::string caption;     // button

    bool contains(unsigned x, unsigned y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
    bool operator==(const region &) const = default;
};

// Bytes of one record on the wire for captions of up to `caption_length`.
unsigned region_record_size(unsigned caption_length);

// One wire record: the fields above; captions are cut to `caption_length`
// bytes and the byte after them is always zero.
std::vector<std::uint8_t> encode_region(const region &r, unsigned caption_length);
// Reads a record of region_record_size(caption_length) bytes.
region decode_region(const std::uint8_t *record, unsigned caption_length);

// The layout a pad of this model leaves the factory with: region 1 a
// container taking ink above a strip along the bottom, regions 2 and 3 the
// "OK" and "Cancel" buttons side by side in that strip, the rest unused.
std::vector<region> standard_regions(const model &m);

}  // namespace padsim
