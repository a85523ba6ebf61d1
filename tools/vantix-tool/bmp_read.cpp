// SPDX-License-Identifier: Apache-2.0
// Uncompressed BMP files: the formats image editors write without asking.
// The header is checked against the file's size before a row is read, and
// rows are read one at a time.
#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "image.hpp"

namespace tool {
namespace {

constexpr std::uint32_t rgb_compression = 0, bitfields_compression = 3;
constexpr std::size_t header_bytes = 54;

struct bmp_file {
    std::ifstream in;
    const std::string &path;
    std::uint64_t size = 0;

    [[noreturn]] void fail(const std::string &why) const { throw std::runtime_error(path + ": " + why); }
    // `bytes` bytes at `at`, failing when the file ends before them.
    void read(std::uint64_t at, std::uint8_t *out, std::size_t bytes) {
        if (at > size || bytes > size - at)
            fail("file is cut short");
        in.seekg(static_cast<std::streamoff>(at));
        if (!in.read(reinterpret_cast<char *>(out), static_cast<std::streamsize>(bytes)))
            fail("cannot be read");
    }
};

std::uint32_t get(const std::uint8_t *bytes, unsigned size) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < size; ++i)
        value |= std::uint32_t{bytes[i]} << (8 * i);
    return value;
}

}  // namespace

void read_bmp(const std::string &path, picture_sink &sink) {
    bmp_file f{std::ifstream(path, std::ios::binary | std::ios::ate), path};
    if (!f.in)
        throw std::runtime_error(path + ": cannot be opened");
    f.size = static_cast<std::uint64_t>(f.in.tellg());
    std::array<std::uint8_t, header_bytes> h{};
    f.read(0, h.data(), 2);
    if (get(&h[0], 2) != 0x4D42)  // "BM"
        f.fail("not a BMP file");
    f.read(0, h.data(), h.size());
    const std::uint32_t pixels_at = get(&h[10], 4), header_size = get(&h[14], 4);
    const auto width = static_cast<std::int32_t>(get(&h[18], 4));
    const auto signed_height = static_cast<std::int32_t>(get(&h[22], 4));
    const unsigned bits = get(&h[28], 2), compression = get(&h[30], 4);
    const bool bottom_up = signed_height > 0;
    const std::int64_t height = bottom_up ? signed_height : -std::int64_t{signed_height};
    const auto side = [](std::int64_t v) {
        return static_cast<unsigned>(std::clamp<std::int64_t>(v, 0, UINT32_MAX));
    };
    check_picture_size(path, side(width), side(height));
    if (compression != rgb_compression && !(compression == bitfields_compression && bits == 32))
        f.fail("compressed BMP files are not supported");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        f.fail("unsupported bits per pixel");

    const auto w = static_cast<unsigned>(width), rows = static_cast<unsigned>(height);
    const std::uint64_t row_size = (std::uint64_t{bits} * w + 31) / 32 * 4;
    if (pixels_at > f.size || row_size * rows > f.size - pixels_at)
        f.fail("file is cut short: " + std::to_string(w) + " x " + std::to_string(rows) + " pixels at " +
               std::to_string(bits) + " bits need " + std::to_string(row_size * rows) + " bytes from byte " +
               std::to_string(pixels_at));
    // The palette as far as the file holds it; an index past it is refused.
    std::vector<std::uint8_t> palette;
    if (bits <= 8) {
        const std::uint64_t palette_at = 14 + std::uint64_t{header_size};
        const std::uint64_t held = palette_at < f.size ? f.size - palette_at : 0;
        palette.resize(static_cast<std::size_t>(std::min<std::uint64_t>(held, 4u << bits)));
        if (!palette.empty())
            f.read(palette_at, palette.data(), palette.size());
    }

    sink.begin(w, rows);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(row_size)), rgb(std::size_t{w} * 3);
    for (unsigned i = 0; i < rows; ++i) {
        f.read(pixels_at + i * row_size, row.data(), row.size());
        for (unsigned x = 0; x < w; ++x) {
            std::uint8_t *px = &rgb[std::size_t{x} * 3];
            const std::uint8_t *bgr;
            if (bits >= 24) {
                bgr = &row[std::size_t{x} * (bits / 8)];
            } else {
                const std::size_t bit = std::size_t{x} * bits;
                const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (4 * std::size_t{index} + 3 > palette.size())
                    f.fail("file is cut short");
                bgr = &palette[4 * std::size_t{index}];
            }
            px[0] = bgr[2], px[1] = bgr[1], px[2] = bgr[0];
        }
        sink.pixels(bottom_up ? rows - 1 - i : i, 0, 1, rgb.data(), w);
    }
}

}  // namespace tool
