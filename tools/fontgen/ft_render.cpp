// SPDX-License-Identifier: Apache-2.0
// Renders the Ubuntu Mono typeface into the fixed cells of the ubuntu_mono_
// font tables. Output, read by gen_tables.py:
//   OUTDIR/ubuntu_mono_<size>.glyphs   one-bit cells, .glyphs text format
//   OUTDIR/ubuntu_mono_30pt_aa.gray    8-bit coverage of the 30pt cells (codes 0x20-0xFF)
//
// Build and run (see README.md):
//   g++ -O2 -std=c++20 ft_render.cpp $(pkg-config --cflags --libs freetype2) -o ft_render
//   ./ft_render OUTDIR FONTFILE...
//
// The typeface comes split into subset files (latin, latin-ext, cyrillic, ...);
// each code point is taken from the first file that has it. The pixel size in
// pixels per em equals the point size: Ubuntu Mono advances half an em, so a
// 12 px em gives exactly the 6-pixel cell, and its descender (about 0.19 em)
// matches the cell's descent rows. The baseline lies `descent` rows above the
// cell bottom and each glyph is centred on its advance. Ink falling outside
// the cell (the tops of a few accented capitals) is clipped.
//
// Code points the typeface lacks still get a cell, so every table covers its
// full set. Letters with one diacritic (Latin Extended Additional) are composed
// from the typeface's own base letter and the spacing form of the mark (the
// packaged subsets carry no combining marks; a full stop stands for the dot,
// which has no spacing form there): a mark above sits one pixel over
// the base's top ink, a mark below one pixel under the baseline, a cedilla
// where the typeface puts it. What remains (historic Cyrillic, the arrows, U+20A7) becomes a
// hollow box of cap height, the usual "missing glyph" mark. The run lists
// every composed or boxed code point on stderr.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Cell {
    const char *name;
    int pixels_per_em, width, height, descent;
};

const Cell kCells[] = {
    {"12pt", 12, 6, 12, 2}, {"16pt", 16, 8, 17, 3}, {"24pt", 24, 12, 25, 5}, {"30pt", 30, 15, 31, 6}};

// The built-in font's code point set without the replacement glyph 0.
std::vector<unsigned> code_points() {
    const unsigned ranges[][2] = {{0x20, 0x7E},     {0xA0, 0x17F},    {0x192, 0x192},
                                  {0x400, 0x49B},   {0x1E00, 0x1E2B}, {0x1EC8, 0x1EC9},
                                  {0x20A7, 0x20A7}, {0x20AC, 0x20AC}, {0x2190, 0x2193}};
    std::vector<unsigned> points;
    for (const auto &r : ranges)
        for (unsigned cp = r[0]; cp <= r[1]; ++cp)
            points.push_back(cp);
    return points;
}

// Canonical decompositions of the letters the typeface lacks: {letter, base, mark}.
// U+1EC9 takes the dotless i, as the hook replaces the dot.
const unsigned kDecompositions[][3] = {
    {0x1E00, 0x0041, 0x0325}, {0x1E01, 0x0061, 0x0325}, {0x1E02, 0x0042, 0x0307}, {0x1E03, 0x0062, 0x0307},
    {0x1E04, 0x0042, 0x0323}, {0x1E05, 0x0062, 0x0323}, {0x1E06, 0x0042, 0x0331}, {0x1E07, 0x0062, 0x0331},
    {0x1E08, 0x00C7, 0x0301}, {0x1E09, 0x00E7, 0x0301}, {0x1E0A, 0x0044, 0x0307}, {0x1E0B, 0x0064, 0x0307},
    {0x1E0C, 0x0044, 0x0323}, {0x1E0D, 0x0064, 0x0323}, {0x1E0E, 0x0044, 0x0331}, {0x1E0F, 0x0064, 0x0331},
    {0x1E10, 0x0044, 0x0327}, {0x1E11, 0x0064, 0x0327}, {0x1E12, 0x0044, 0x032D}, {0x1E13, 0x0064, 0x032D},
    {0x1E14, 0x0112, 0x0300}, {0x1E15, 0x0113, 0x0300}, {0x1E16, 0x0112, 0x0301}, {0x1E17, 0x0113, 0x0301},
    {0x1E18, 0x0045, 0x032D}, {0x1E19, 0x0065, 0x032D}, {0x1E1A, 0x0045, 0x0330}, {0x1E1B, 0x0065, 0x0330},
    {0x1E1C, 0x0228, 0x0306}, {0x1E1D, 0x0229, 0x0306}, {0x1E1E, 0x0046, 0x0307}, {0x1E1F, 0x0066, 0x0307},
    {0x1E20, 0x0047, 0x0304}, {0x1E21, 0x0067, 0x0304}, {0x1E22, 0x0048, 0x0307}, {0x1E23, 0x0068, 0x0307},
    {0x1E24, 0x0048, 0x0323}, {0x1E25, 0x0068, 0x0323}, {0x1E26, 0x0048, 0x0308}, {0x1E27, 0x0068, 0x0308},
    {0x1E28, 0x0048, 0x0327}, {0x1E29, 0x0068, 0x0327}, {0x1E2A, 0x0048, 0x032E}, {0x1E2B, 0x0068, 0x032E},
    {0x1EC8, 0x0049, 0x0309}, {0x1EC9, 0x0131, 0x0309}, {0x0476, 0x0474, 0x030F}, {0x0477, 0x0475, 0x030F}};

enum class Place { above, below, natural };

// Combining mark -> spacing glyph drawing it, and where it goes.
const struct {
    unsigned combining, spacing;
    Place place;
} kMarks[] = {
    {0x0300, 0x0060, Place::above}, {0x0301, 0x00B4, Place::above}, {0x0304, 0x00AF, Place::above},
    {0x0306, 0x02D8, Place::above}, {0x0307, 0x002E, Place::above}, {0x0308, 0x00A8, Place::above},
    {0x0323, 0x002E, Place::below}, {0x0325, 0x02DA, Place::below}, {0x0327, 0x00B8, Place::natural},
    {0x032D, 0x02C6, Place::below}, {0x032E, 0x02D8, Place::below}, {0x0330, 0x02DC, Place::below},
    {0x0331, 0x00AF, Place::below}};

// Coverage 0..255 per pixel of one cell, row by row.
using Image = std::vector<unsigned char>;

void fail(const char *what, const std::string &detail) {
    std::fprintf(stderr, "ft_render: %s %s\n", what, detail.c_str());
    std::exit(1);
}

class Renderer {
public:
    explicit Renderer(const std::vector<std::string> &files) {
        if (FT_Init_FreeType(&library_))
            fail("cannot start FreeType", "");
        for (const auto &file : files) {
            FT_Face face;
            if (FT_New_Face(library_, file.c_str(), 0, &face))
                fail("cannot open", file);
            faces_.push_back(face);
        }
    }

    enum class Source { typeface, composed, box };

    // Renders cp into the cell, composing or boxing what the typeface lacks.
    Source render(unsigned cp, const Cell &cell, bool mono, Image &image) {
        image.assign(cell.width * cell.height, 0);
        if (FT_GlyphSlot slot = load(cp, cell, mono)) {
            blit(slot, cell, mono, false, 0, image);
            return Source::typeface;
        }
        for (const auto &d : kDecompositions) {
            if (d[0] != cp || render(d[1], cell, mono, image) != Source::typeface)
                continue;
            const auto *m = std::find_if(std::begin(kMarks), std::end(kMarks),
                                         [&](const auto &entry) { return entry.combining == d[2]; });
            FT_GlyphSlot mark = m == std::end(kMarks) ? nullptr : load(m->spacing, cell, mono);
            if (!mark)
                break;
            const int rows = static_cast<int>(mark->bitmap.rows);
            int top = cell.height - cell.descent - mark->bitmap_top;
            if (m->place == Place::above) {
                int base_top = 0;
                while (base_top < cell.height && !row_has_ink(image, cell, base_top))
                    ++base_top;
                top = base_top - 1 - rows;
            } else if (m->place == Place::below) {
                top = cell.height - cell.descent + 1;
            }
            blit(mark, cell, mono, true, top, image);
            return Source::composed;
        }
        missing_box(cell, image);
        return Source::box;
    }

private:
    FT_GlyphSlot load(unsigned cp, const Cell &cell, bool mono) {
        for (FT_Face face : faces_) {
            FT_UInt index = FT_Get_Char_Index(face, cp);
            if (index == 0)
                continue;
            FT_Set_Pixel_Sizes(face, 0, cell.pixels_per_em);
            FT_Int32 flags = FT_LOAD_RENDER | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
            if (FT_Load_Glyph(face, index, flags))
                fail("cannot render", std::to_string(cp));
            return face->glyph;
        }
        return nullptr;
    }

    static bool row_has_ink(const Image &image, const Cell &cell, int y) {
        for (int x = 0; x < cell.width; ++x)
            if (image[y * cell.width + x])
                return true;
        return false;
    }

    // Draws the slot's bitmap into the cell, centred on its advance with its own
    // vertical metrics; a mark (as_mark) is centred on the cell with its top at row top.
    static void blit(FT_GlyphSlot slot, const Cell &cell, bool mono, bool as_mark, int top, Image &image) {
        const FT_Bitmap &bm = slot->bitmap;
        const int advance = static_cast<int>(slot->advance.x >> 6);
        const int left = as_mark ? (cell.width - static_cast<int>(bm.width)) / 2
                                 : (cell.width - advance) / 2 + slot->bitmap_left;
        if (!as_mark)
            top = cell.height - cell.descent - slot->bitmap_top;
        for (unsigned y = 0; y < bm.rows; ++y) {
            for (unsigned x = 0; x < bm.width; ++x) {
                const unsigned char *row = bm.buffer + static_cast<long>(y) * bm.pitch;
                unsigned char value = mono ? ((row[x / 8] >> (7 - x % 8)) & 1) * 255 : row[x];
                int cx = left + static_cast<int>(x), cy = top + static_cast<int>(y);
                if (cx >= 0 && cx < cell.width && cy >= 0 && cy < cell.height && value)
                    image[cy * cell.width + cx] = std::max(image[cy * cell.width + cx], value);
            }
        }
    }

    static void missing_box(const Cell &cell, Image &image) {
        const int bottom = cell.height - cell.descent - 1;
        const int top = bottom - (cell.pixels_per_em * 7) / 10 + 1;
        for (int y = top; y <= bottom; ++y)
            for (int x = 1; x < cell.width - 1; ++x)
                if (y == top || y == bottom || x == 1 || x == cell.width - 2)
                    image[y * cell.width + x] = 255;
    }

    FT_Library library_{};
    std::vector<FT_Face> faces_;
};

FILE *open_out(const std::string &path) {
    FILE *f = std::fopen(path.c_str(), "w");
    if (!f)
        fail("cannot write", path);
    return f;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ft_render OUTDIR FONTFILE...\n");
        return 2;
    }
    const std::string out_dir = argv[1];
    Renderer renderer(std::vector<std::string>(argv + 2, argv + argc));
    Image image;
    for (const Cell &cell : kCells) {
        FILE *out = open_out(out_dir + "/ubuntu_mono_" + cell.name + ".glyphs");
        for (unsigned cp : code_points()) {
            Renderer::Source source = renderer.render(cp, cell, true, image);
            if (source != Renderer::Source::typeface)
                std::fprintf(stderr, "%s: U+%04X %s\n", cell.name, cp,
                             source == Renderer::Source::composed ? "composed" : "missing, drawn as a box");
            std::fprintf(out, "U+%04X descent=%d combine=0\n", cp, cell.descent);
            for (int y = 0; y < cell.height; ++y) {
                for (int x = 0; x < cell.width; ++x)
                    std::fputc(image[y * cell.width + x] ? '#' : '.', out);
                std::fputc('\n', out);
            }
            std::fputc('\n', out);
        }
        std::fclose(out);
    }
    const Cell &aa = kCells[3];
    FILE *out = open_out(out_dir + "/ubuntu_mono_30pt_aa.gray");
    for (unsigned cp = 0x20; cp <= 0xFF; ++cp) {
        if (cp >= 0x7F && cp < 0xA0)
            continue;
        renderer.render(cp, aa, false, image);
        std::fprintf(out, "U+%04X\n", cp);
        for (int y = 0; y < aa.height; ++y) {
            for (int x = 0; x < aa.width; ++x)
                std::fprintf(out, "%02X", image[y * aa.width + x]);
            std::fputc('\n', out);
        }
        std::fputc('\n', out);
    }
    std::fclose(out);
    return 0;
}
