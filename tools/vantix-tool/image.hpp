// SPDX-License-Identifier: Apache-2.0
// Pictures the tool reads and writes: 8-bit red, green, blue, row by row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tool {

struct image {
    unsigned width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3

    image() = default;
    image(unsigned w, unsigned h, std::uint8_t fill = 255)
        : width(w), height(h), rgb(std::size_t{w} * h * 3, fill) {}
    std::uint8_t *at(unsigned x, unsigned y) { return &rgb[(std::size_t{y} * width + x) * 3]; }
    const std::uint8_t *at(unsigned x, unsigned y) const { return &rgb[(std::size_t{y} * width + x) * 3]; }
};

// Pictures read are at most this many pixels on either side: the size is
// checked against the file's header before anything is allocated for it.
inline constexpr unsigned largest_picture_side = 8192;
// Throws std::runtime_error naming the file and the limit when w x h is
// empty or beyond it.
void check_picture_size(const std::string &path, unsigned w, unsigned h);

// Takes a picture's pixels as a reader decodes them, never the whole
// picture at once: `count` pixels (red, green, blue) of row y at
// x = first, first + stride, ... Rows may come in any order (bottom-up
// BMP files, interlaced PNG passes); every pixel comes exactly once.
class picture_sink {
public:
    virtual ~picture_sink() = default;
    virtual void begin(unsigned width, unsigned height) = 0;
    virtual void pixels(unsigned y, unsigned first, unsigned stride, const std::uint8_t *rgb,
                        unsigned count) = 0;
};

// PNG (any colour type, alpha laid over white) and uncompressed BMP (1, 4,
// 8, 24 or 32 bits), read into `sink`; both throw std::runtime_error
// naming the file.
void read_png(const std::string &path, picture_sink &sink);
void read_bmp(const std::string &path, picture_sink &sink);
// By extension (.png, .bmp), case-insensitive.
void read_picture(const std::string &path, picture_sink &sink);
void write_png(const std::string &path, const image &picture);

// A picture scaled to fit w x h keeping its aspect, centred on white, as
// it is read: memory for the fitted picture only. Each output pixel
// averages the source pixels it covers (box filter), so thin lines
// survive a large reduction.
class fitter final : public picture_sink {
public:
    fitter(unsigned w, unsigned h) : out_(w, h) {}
    void begin(unsigned width, unsigned height) override;
    void pixels(unsigned y, unsigned first, unsigned stride, const std::uint8_t *rgb,
                unsigned count) override;
    image result() const;

private:
    // The output indices [first, last] a source index adds to.
    struct cover {
        unsigned first, last;
    };
    static std::vector<cover> covers(unsigned source, unsigned fitted);

    image out_;
    unsigned left_ = 0, top_ = 0, fw_ = 0, fh_ = 0;
    std::vector<cover> columns_, rows_;
    std::vector<unsigned> column_weight_, row_weight_;  // source pixels per output column / row
    std::vector<std::uint64_t> sums_;                   // fw x fh x 3
};

// The picture in `path` fitted to w x h.
image read_fitted(const std::string &path, unsigned w, unsigned h);
// `picture` fitted to w x h.
image fit(const image &picture, unsigned w, unsigned h);
// Black and white by Floyd-Steinberg error diffusion on luminance.
void dither_to_black_and_white(image &picture);

}  // namespace tool
