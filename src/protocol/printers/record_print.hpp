// SPDX-License-Identifier: Apache-2.0
// What every report printer shares: the header and "  NULL" lines, the
// right-aligned label column, and the dumps of byte and colour arrays.
//
// A printer names its labels in one space-separated string and passes the
// values in the same order; the count is checked when it compiles. Values
// print by their record type (u8, u16, s16, u32, s32, the low byte of an
// enumeration), which gives the same digits as the fixed conversions of
// every published layout.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "debug/log.hpp"
#include "support/byte_order.hpp"
#include "vantix-zelnar.h"

namespace vantix::protocol::print {

// The labels of one put() call, a string known when compiling so that their
// count can be checked against the values.
template <size_t N>
struct label_list {
    char text[N]{};
    consteval label_list(const char (&s)[N]) { std::copy(s, s + N, text); }
    consteval size_t count() const {
        size_t words = 0;
        for (size_t i = 0; i + 1 < N; ++i)
            words += text[i] != ' ' && (i == 0 || text[i - 1] == ' ');
        return words;
    }
};

// Values with a layout of their own.
struct dotted {  // a three-part version, a.b.c
    const uint8_t (&parts)[3];
};
struct quoted {  // text up to its first zero, never past its field
    const uint8_t *text;
    size_t size;
};
struct named {  // "%d: NAME", UNKNOWN past the table
    int value;
    const char *const *names;
    size_t count;
};
struct hex_word {  // at least four lower-case hex digits
    uint32_t value;
};
// A dump: every item, a fixed number to a line, one closing newline.
template <typename Item>
struct dump {
    const Item *items;
    size_t count;
};

template <size_t N>
quoted text(const uint8_t (&field)[N]) {
    return {field, N};
}
// The first `count` items of an array, never more than it holds.
template <typename Item, size_t N>
dump<Item> first(const Item (&items)[N], size_t count) {
    return {items, std::min(count, N)};
}
template <typename Item, size_t N>
dump<Item> all(const Item (&items)[N]) {
    return {items, N};
}
template <size_t N>
named name_of(int value, const char *const (&names)[N]) {
    return {value, names, N};
}
// An enumeration's whole value, read without assuming it is one we name.
template <typename Enum>
int whole(const Enum &field) {
    std::underlying_type_t<Enum> value;
    std::memcpy(&value, &field, sizeof value);
    return static_cast<int>(value);
}

inline void value(uint8_t v) { std::printf("%hhu", v); }
inline void value(uint16_t v) { std::printf("%hu", v); }
inline void value(int16_t v) { std::printf("%hi", v); }
inline void value(uint32_t v) { std::printf("%u", v); }
inline void value(int32_t v) { std::printf("%ld", static_cast<long>(v)); }
template <typename Enum>
requires std::is_enum_v<Enum>
void value(const Enum &v) { value(support::enum_byte(v)); }
inline void value(const dotted &v) { std::printf("%hhu.%hhu.%hhu", v.parts[0], v.parts[1], v.parts[2]); }
inline void value(const quoted &v) {
    const void *end = std::memchr(v.text, 0, v.size);
    const size_t length = end ? static_cast<size_t>(static_cast<const uint8_t *>(end) - v.text) : v.size;
    std::printf("'%.*s'", static_cast<int>(length), reinterpret_cast<const char *>(v.text));
}
inline void value(const named &v) {
    const bool known = v.value >= 0 && static_cast<size_t>(v.value) < v.count;
    std::printf("%d: %s", v.value, known ? v.names[v.value] : "UNKNOWN");
}
inline void value(const hex_word &v) { std::printf("0x%04lx", static_cast<unsigned long>(v.value)); }
inline void value(const vantix_color &c) {
    std::printf("#%02x%02x%02x%02x", c.alpha, c.red, c.green, c.blue);
}

inline void item(uint8_t byte) { std::printf("%02x ", byte); }
inline void item(const vantix_pixel_color &p) {
    std::printf("#%02x%02x%02x%02x ", p.argb.a, p.argb.r, p.argb.g, p.argb.b);
}
// Twenty bytes or eight colours to a line.
template <typename Item>
constexpr size_t per_line = std::is_same_v<Item, uint8_t> ? 20 : 8;

class fields {
public:
    explicit fields(int width) : width_(width) {}
    void width(int w) { width_ = w; }

    template <label_list Labels, typename... Values>
    void put(const Values &...values) const {
        static_assert(Labels.count() == sizeof...(Values), "one label for each value");
        std::string_view rest(Labels.text);
        (line(next_label(rest), values), ...);
    }

private:
    static std::string_view next_label(std::string_view &rest) {
        rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
        const std::string_view label = rest.substr(0, rest.find(' '));
        rest.remove_prefix(label.size());
        return label;
    }
    void label(std::string_view text, const char *tail) const {
        std::printf("%*.*s%s", width_, static_cast<int>(text.size()), text.data(), tail);
    }
    template <typename V>
    void line(std::string_view name, const V &v) const {
        label(name, " = ");
        value(v);
        std::printf("\n");
    }
    template <typename Item>
    void line(std::string_view name, const dump<Item> &d) const {
        label(name, " =\n");
        for (size_t i = 0; i < d.count; ++i) {
            item(d.items[i]);
            if ((i + 1) % per_line<Item> == 0)
                std::printf("\n");
        }
        std::printf("\n");
    }

    int width_;
};

// The header, then "  NULL" for a missing record or the record's lines.
template <typename Record, typename Body>
void print_record(const char *header, int width, const Record *record, Body body) {
    std::printf("%s\n", header);
    if (!record) {
        std::printf("  NULL\n");
        return;
    }
    fields out(width);
    body(out, *record);
}

}  // namespace vantix::protocol::print
