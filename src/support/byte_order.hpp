// SPDX-License-Identifier: Apache-2.0
// The library's one byte-order code: little-endian access to a report
// buffer, and the one big-endian field writer (the display chunk report and
// the network headers of a pcap trace). Every report family reads and
// writes its fields through this view, which never reaches outside the
// buffer: an offset past the end reads as zero and writes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace vantix::support {

class report_view {
public:
    report_view(unsigned char *data, size_t size) : data_(data), size_(size) {}

    size_t size() const { return size_; }
    unsigned char *data() const { return data_; }

    uint8_t get1(size_t offset) const { return offset < size_ ? data_[offset] : 0; }
    // Signed like the wire's two's-complement fields; callers widen or
    // reinterpret as their record field requires.
    int16_t get2(size_t offset) const { return static_cast<int16_t>(get1(offset) | get1(offset + 1) << 8); }
    int32_t get4(size_t offset) const {
        return static_cast<int32_t>(
            static_cast<uint32_t>(get1(offset)) | static_cast<uint32_t>(get1(offset + 1)) << 8 |
            static_cast<uint32_t>(get1(offset + 2)) << 16 | static_cast<uint32_t>(get1(offset + 3)) << 24);
    }
    // The same fields read as the unsigned record fields most reports use.
    uint16_t get_u16(size_t offset) const { return static_cast<uint16_t>(get2(offset)); }
    uint32_t get_u32(size_t offset) const { return static_cast<uint32_t>(get4(offset)); }

    void put1(size_t offset, uint8_t value) const {
        if (offset < size_)
            data_[offset] = value;
    }
    void put2(size_t offset, uint16_t value) const {
        put1(offset, static_cast<uint8_t>(value));
        put1(offset + 1, static_cast<uint8_t>(value >> 8));
    }
    // High byte first: the display chunk report's fields, network headers.
    void put2_be(size_t offset, uint16_t value) const {
        put1(offset, static_cast<uint8_t>(value >> 8));
        put1(offset + 1, static_cast<uint8_t>(value));
    }
    void put4(size_t offset, uint32_t value) const {
        for (size_t i = 0; i < 4; ++i)
            put1(offset + i, static_cast<uint8_t>(value >> (8 * i)));
    }
    // Copies n bytes out of / into the buffer, clipped to it.
    void get_bytes(size_t offset, void *out, size_t n) const {
        std::memset(out, 0, n);
        if (offset < size_)
            std::memcpy(out, data_ + offset, n < size_ - offset ? n : size_ - offset);
    }
    void put_bytes(size_t offset, const void *in, size_t n) const {
        if (in && offset < size_)
            std::memcpy(data_ + offset, in, n < size_ - offset ? n : size_ - offset);
    }

private:
    unsigned char *data_;
    size_t size_;
};

// Stores a wire byte into a record's enumeration field, zero-extended,
// without converting through the enumeration type (a pad may send values
// the enumeration does not name).
template <typename Enum>
void set_enum(Enum &field, uint8_t wire) {
    static_assert(std::is_enum_v<Enum>);
    const std::underlying_type_t<Enum> value = wire;
    std::memcpy(&field, &value, sizeof field);
}

template <typename Enum>
uint8_t enum_byte(const Enum &field) {
    std::underlying_type_t<Enum> value;
    std::memcpy(&value, &field, sizeof value);
    return static_cast<uint8_t>(value);
}

}  // namespace vantix::support
