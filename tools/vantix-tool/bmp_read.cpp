// SPDX-License-Identifier: Apache-2.0
// Uncompressed BMP files: the formats image editors write without asking.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "image.hpp"

namespace tool {
namespace {

struct reader {
    const std::vector<std::uint8_t> &bytes;
    const std::string &path;

    std::uint32_t get(std::size_t at, unsigned size) const {
        if (at + size > bytes.size())
            fail("file is cut short");
        std::uint32_t value = 0;
        for (unsigned i = 0; i < size; ++i)
            value |= std::uint32_t{bytes[at + i]} << (8 * i);
        return value;
    }
    [[noreturn]] void fail(const char *why) const { throw std::runtime_error(path + ": " + why); }
};

constexpr std::uint32_t rgb_compression = 0, bitfields_compression = 3;
constexpr unsigned largest_side = 16384;

}  // namespace

image read_bmp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot be opened");
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    const reader r{bytes, path};
    if (r.get(0, 2) != 0x4D42)  // "BM"
        r.fail("not a BMP file");
    const std::uint32_t pixels_at = r.get(10, 4), header_size = r.get(14, 4);
    const std::int32_t width = static_cast<std::int32_t>(r.get(18, 4));
    const std::int32_t signed_height = static_cast<std::int32_t>(r.get(22, 4));
    const unsigned bits = r.get(28, 2), compression = r.get(30, 4);
    const bool bottom_up = signed_height > 0;
    const std::int64_t height = bottom_up ? signed_height : -std::int64_t{signed_height};
    if (width <= 0 || height <= 0 || width > static_cast<std::int32_t>(largest_side) || height > largest_side)
        r.fail("unsupported picture size");
    if (compression != rgb_compression && !(compression == bitfields_compression && bits == 32))
        r.fail("compressed BMP files are not supported");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        r.fail("unsupported bits per pixel");

    const std::size_t palette_at = 14 + std::size_t{header_size};
    const std::size_t row_size = (std::size_t{bits} * static_cast<std::size_t>(width) + 31) / 32 * 4;
    image out(static_cast<unsigned>(width), static_cast<unsigned>(height));
    for (unsigned y = 0; y < out.height; ++y) {
        const std::size_t row = pixels_at + (bottom_up ? out.height - 1 - y : y) * row_size;
        for (unsigned x = 0; x < out.width; ++x) {
            std::uint8_t *px = out.at(x, y);
            if (bits >= 24) {
                const std::size_t at = row + std::size_t{x} * (bits / 8);
                px[0] = static_cast<std::uint8_t>(r.get(at + 2, 1));
                px[1] = static_cast<std::uint8_t>(r.get(at + 1, 1));
                px[2] = static_cast<std::uint8_t>(r.get(at, 1));
                continue;
            }
            const std::size_t bit = std::size_t{x} * bits;
            const unsigned byte = r.get(row + bit / 8, 1);
            const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            const std::size_t entry = palette_at + 4 * std::size_t{index};
            px[0] = static_cast<std::uint8_t>(r.get(entry + 2, 1));
            px[1] = static_cast<std::uint8_t>(r.get(entry + 1, 1));
            px[2] = static_cast<std::uint8_t>(r.get(entry, 1));
        }
    }
    return out;
}

}  // namespace tool
