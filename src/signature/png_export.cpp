// SPDX-License-Identifier: Apache-2.0
// PNG: the display scaled to the picture, black ink on white. Each pair of
// neighbouring points is a capsule (round-ended segment) whose radius runs
// from one point's width to the other's; edge pixels get partial ink.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "exporters.hpp"
#include "stroke_geometry.hpp"

namespace vantix::signature {
namespace {

// Pixel visits a picture may take, a few seconds of drawing: ample for
// the largest capture drawn at the largest size with a pen tens of pixels
// wide, but not for a 1000-pixel pen over thousands of points.
constexpr double max_visits = 1 << 29;

// Past this distance from a segment a pixel gets no ink (it needs less
// than the capsule's radius plus half a pixel).
double reach_of(double ra, double rb) { return std::max(ra, rb) + 1; }

// At most how many pixels canvas::capsule visits for these arguments in a
// picture of this size: the rows it reaches, each as wide as the part of
// the segment within reach of the row, widened by the reach.
double capsule_visits(position a, double ra, position b, double rb, std::uint32_t width,
                      std::uint32_t height) {
    const double reach = reach_of(ra, rb), dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
    const double rows = std::min(dy + 2 * reach + 1, double(height));
    const double band = dy > 0 ? dx * std::min(1.0, 2 * reach / dy) : dx;
    return rows * std::min(band + 2 * reach + 2, double(width));
}

// Grey levels, 255 paper to 0 full ink. A pixel keeps the most ink any
// capsule gives it; the level is a monotonic function of the ink, so
// keeping the darkest level is the same as keeping the most ink.
class canvas {
public:
    canvas(std::uint32_t width, std::uint32_t height)
        : width_(width), height_(height), grey_(std::size_t{width} * height, paper) {}

    // Ink of a capsule from a to b, radii ra and rb. Only the pixels near
    // the segment are visited: on each row, the span the capsule can reach.
    void capsule(position a, double ra, position b, double rb) {
        const double reach = reach_of(ra, rb);
        const int y0 = clamp_y(std::min(a.y, b.y) - reach), y1 = clamp_y(std::max(a.y, b.y) + reach);
        const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
        for (int y = y0; y < y1; ++y) {
            const row_span span = span_on_row(a, b, y + 0.5, reach);
            if (span.left > span.right)
                continue;
            const int x0 = clamp_x(span.left), x1 = clamp_x(span.right + 1);
            std::uint8_t *row = grey_.data() + static_cast<std::size_t>(y) * width_;
            for (int x = x0; x < x1; ++x) {
                // Nearest point of the segment to the pixel's centre.
                const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
                const double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
                const double distance = std::hypot(px - t * dx, py - t * dy);
                const double coverage = std::clamp(ra + t * (rb - ra) - distance + 0.5, 0.0, 1.0);
                if (coverage > 0)
                    row[x] = std::min(row[x], level(coverage));
            }
        }
    }

    const std::vector<png_byte> &grey() const { return grey_; }

private:
    static constexpr png_byte paper = 255;
    static png_byte level(double ink) {
        return static_cast<png_byte>(std::lround(255.0f * (1.0f - static_cast<float>(ink))));
    }
    int clamp_x(double x) const { return static_cast<int>(std::clamp(std::floor(x), 0.0, double(width_))); }
    int clamp_y(double y) const { return static_cast<int>(std::clamp(std::floor(y), 0.0, double(height_))); }

    std::uint32_t width_, height_;
    std::vector<png_byte> grey_;
};

// Every capsule of the strokes: a dot at each stroke's start, then one per
// pair of neighbouring points.
template <typename Draw>
void for_each_capsule(const std::vector<std::vector<placed_point>> &strokes, Draw draw) {
    for (const std::vector<placed_point> &stroke : strokes) {
        draw(stroke.front().at, stroke.front().width / 2, stroke.front().at, stroke.front().width / 2);
        for (std::size_t j = 1; j < stroke.size(); ++j)
            draw(stroke[j - 1].at, stroke[j - 1].width / 2, stroke[j].at, stroke[j].width / 2);
    }
}

struct png_image_releaser {
    void operator()(png_image *image) const { png_image_free(image); }
};

std::string encode(const std::vector<png_byte> &pixels, std::uint32_t width, std::uint32_t height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_GRAY;
    const std::unique_ptr<png_image, png_image_releaser> release(&image);
    // Ask for the size first, then write into a buffer of that size.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
        throw std::bad_alloc();
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr))
        throw std::bad_alloc();
    bytes.resize(size);
    return bytes;
}

}  // namespace

std::string render_png(const snapshot &shot, const vantix_signature_export_options &options) {
    const vantix_signature_pad_info &info = shot.info;
    const std::uint32_t width = options.width, height = options.height;
    // Fit the display into the picture, keeping its aspect, centred.
    const double scale = std::min(double(width) / info.display_width, double(height) / info.display_height);
    const position offset{(width - info.display_width * scale) / 2,
                          (height - info.display_height * scale) / 2};
    std::vector<std::vector<placed_point>> strokes;
    strokes.reserve(shot.stroke_count());
    for (std::size_t i = 0; i < shot.stroke_count(); ++i) {
        std::vector<placed_point> &stroke =
            strokes.emplace_back(place_stroke(shot, i, VANTIX_SIGNATURE_SPACE_DISPLAY, options));
        for (placed_point &p : stroke)
            p.at = {p.at.x * scale + offset.x, p.at.y * scale + offset.y};
    }
    // A wide line over many points visits the same pixels again and again:
    // the work is bounded before any is done.
    double visits = 0;
    for_each_capsule(strokes, [&](position a, double ra, position b, double rb) {
        visits += capsule_visits(a, ra, b, rb, width, height);
    });
    if (visits > max_visits)
        throw export_refused(
            "Drawing the signature picture would take too long: lower its line width or size.");
    canvas picture(width, height);
    for_each_capsule(strokes,
                     [&](position a, double ra, position b, double rb) { picture.capsule(a, ra, b, rb); });
    return encode(picture.grey(), width, height);
}

}  // namespace vantix::signature
