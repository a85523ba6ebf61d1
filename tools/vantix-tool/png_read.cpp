// SPDX-License-Identifier: Apache-2.0
// PNG files through libpng, row by row: the header's size is checked before
// a row is decoded, and no more than one row is held. Interlaced files are
// taken pass by pass, each pass row's pixels placed where they belong.
#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "image.hpp"

namespace tool {
namespace {

// Ancillary chunks (profiles, text) larger than this are refused.
constexpr png_alloc_size_t largest_chunk = 4u << 20;

// Ancillary chunks the pixels do not need. libpng would allocate what their
// length field claims before reading them, whatever the limit above says
// (a text chunk claiming 1.5 GB in a file of a few hundred bytes); as
// unknown chunks they are skipped unread.
constexpr png_byte unneeded_chunks[] =
    "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0hIST\0pCAL\0sCAL\0tIME\0pHYs\0oFFs\0";

struct file_closer {
    void operator()(std::FILE *f) const { std::fclose(f); }
};

// libpng reports failures by longjmp: the steps below that call it keep
// only trivially destructible locals, and the message lands here.
struct png_reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string message;

    png_reader() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, on_error, on_warning);
        if (png)
            info = png_create_info_struct(png);
    }
    ~png_reader() { png_destroy_read_struct(&png, &info, nullptr); }
    png_reader(const png_reader &) = delete;
    png_reader &operator=(const png_reader &) = delete;

    static void on_error(png_structp png, png_const_charp text) {
        static_cast<png_reader *>(png_get_error_ptr(png))->message = text;
        png_longjmp(png, 1);
    }
    static void on_warning(png_structp, png_const_charp) {}
};

// Reads the chunks before the pixels, which allocates nothing for the
// picture itself. False on a libpng failure.
bool read_header(png_reader &r, std::FILE *file, png_uint_32 &width, png_uint_32 &height, int &passes) {
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_init_io(r.png, file);
    png_set_chunk_malloc_max(r.png, largest_chunk);
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, unneeded_chunks,
                                static_cast<int>((sizeof unneeded_chunks - 1) / 5));
    png_read_info(r.png, r.info);
    width = png_get_image_width(r.png, r.info);
    height = png_get_image_height(r.png, r.info);
    passes = png_get_interlace_type(r.png, r.info) == PNG_INTERLACE_ADAM7 ? PNG_INTERLACE_ADAM7_PASSES : 1;
    return true;
}

// Decodes every row into `row` (4 bytes a pixel), handing each to `sink`
// with its alpha laid over white. False on a libpng failure.
bool read_rows(png_reader &r, png_uint_32 width, png_uint_32 height, int passes, png_bytep row,
               picture_sink &sink) {
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    // Any colour type to 8-bit red, green, blue and alpha.
    png_set_expand(r.png);
    png_set_strip_16(r.png);
    png_set_gray_to_rgb(r.png);
    png_set_add_alpha(r.png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) != png_size_t{width} * 4)
        png_error(r.png, "unexpected row layout");
    for (int pass = 0; pass < passes; ++pass) {
        const bool whole = passes == 1;
        const png_uint_32 columns = whole ? width : PNG_PASS_COLS(width, pass);
        const png_uint_32 rows = whole ? height : PNG_PASS_ROWS(height, pass);
        if (columns == 0 || rows == 0)
            continue;  // libpng skips empty passes too
        for (png_uint_32 i = 0; i < rows; ++i) {
            png_read_row(r.png, row, nullptr);
            for (png_uint_32 x = 0; x < columns; ++x) {
                const png_bytep px = row + 4 * x;
                const unsigned alpha = px[3];
                for (int c = 0; c < 3; ++c)
                    row[3 * x + c] = static_cast<png_byte>((px[c] * alpha + 255 * (255 - alpha) + 127) / 255);
            }
            sink.pixels(whole ? i : PNG_ROW_FROM_PASS_ROW(i, pass), whole ? 0 : PNG_PASS_START_COL(pass),
                        whole ? 1 : 1u << PNG_PASS_COL_SHIFT(pass), row, columns);
        }
    }
    return true;
}

}  // namespace

void read_png(const std::string &path, picture_sink &sink) {
    const std::unique_ptr<std::FILE, file_closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw std::runtime_error(path + ": cannot be opened");
    png_reader r;
    if (!r.info)
        throw std::runtime_error(path + ": out of memory");
    png_uint_32 width = 0, height = 0;
    int passes = 1;
    if (!read_header(r, file.get(), width, height, passes))
        throw std::runtime_error(path + ": " + r.message);
    check_picture_size(path, width, height);
    std::vector<png_byte> row(std::size_t{width} * 4);
    sink.begin(width, height);
    if (!read_rows(r, width, height, passes, row.data(), sink))
        throw std::runtime_error(path + ": " + r.message);
}

}  // namespace tool
