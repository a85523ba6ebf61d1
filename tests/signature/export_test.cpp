// SPDX-License-Identifier: Apache-2.0
// Exports read back by independent readers: rsvg-convert renders the SVG,
// ImageMagick reads the PNG, xmllint the InkML and Python's json the JSON.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools.hpp"

namespace vantix::test {
namespace {

using exporter = vantix_error_code (*)(const vantix_signature_capture *,
                                       const vantix_signature_export_options *, const char *);
using buffer_exporter = vantix_error_code (*)(const vantix_signature_capture *,
                                              const vantix_signature_export_options *, unsigned char **,
                                              size_t *);

// Display pixels of the test stroke; the digitizer points are their centres.
const int stroke_pixels[][2] = {{40, 16}, {80, 24}, {120, 32}, {160, 40}, {200, 48}};

capture_ptr stroke_capture() {
    capture_ptr capture = new_capture();
    uint64_t t = 1000;
    for (const auto &p : stroke_pixels) {
        const double x = 100 + (p[0] + 0.5) * 3896 / 240, y = 50 + (p[1] + 0.5) * 992 / 64;
        vantix_signature_add_point(capture.get(), static_cast<uint16_t>(x), static_cast<uint16_t>(y), 0.75f,
                                   1, t += 5000);
    }
    return capture;
}

std::string read_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

class signature_export : public ::testing::Test {
protected:
    std::string file(const std::string &suffix) { return paths.emplace_back(scratch(suffix)); }
    ~signature_export() override {
        for (const std::string &p : paths)
            std::filesystem::remove(p);
    }
    void need(const char *tool) {
        if (!have_tool(tool))
            GTEST_SKIP() << tool << " is not installed (./run deps installs it)";
    }
    std::vector<std::string> paths;
};

void expect_ink_on_stroke(const grey_picture &picture, double scale) {
    ASSERT_FALSE(picture.pixels.empty());
    for (const auto &p : stroke_pixels)
        EXPECT_LT(picture.at(static_cast<uint32_t>((p[0] + 0.5) * scale),
                             static_cast<uint32_t>((p[1] + 0.5) * scale)),
                  100)
            << "no ink at " << p[0] << "," << p[1];
    // Between the points the smooth line passes too; far from it is paper.
    EXPECT_LT(picture.at(static_cast<uint32_t>(100.5 * scale), static_cast<uint32_t>(28.5 * scale)), 128);
    EXPECT_GT(picture.at(static_cast<uint32_t>(40 * scale), static_cast<uint32_t>(50 * scale)), 200);
    EXPECT_GT(picture.at(static_cast<uint32_t>(200 * scale), static_cast<uint32_t>(10 * scale)), 200);
}

TEST_F(signature_export, SvgRendersWhereThePointsAre) {
    need("rsvg-convert");
    capture_ptr capture = stroke_capture();
    for (int pressure_width : {0, 1}) {
        SCOPED_TRACE(pressure_width);
        vantix_signature_export_options options;
        vantix_signature_default_options(&options);
        options.line_width = 4;
        options.pressure_width = pressure_width;
        const std::string svg = file(".svg"), png = file(".png");
        ASSERT_EQ(vantix_signature_export_svg(capture.get(), &options, svg.c_str()), VANTIX_CODE_SUCCESS);
        ASSERT_EQ(run("rsvg-convert -o " + png + " " + svg).status, 0) << read_file(svg);
        const grey_picture picture = read_png(png);
        EXPECT_EQ(picture.width, 240u);
        EXPECT_EQ(picture.height, 64u);
        expect_ink_on_stroke(picture, 1);
    }
    // In digitizer units the document spans the pad's coordinate range.
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    options.space = VANTIX_SIGNATURE_SPACE_DIGITIZER;
    options.line_width = 40;
    const std::string svg = file(".svg"), png = file(".png");
    ASSERT_EQ(vantix_signature_export_svg(capture.get(), &options, svg.c_str()), VANTIX_CODE_SUCCESS);
    EXPECT_NE(read_file(svg).find("viewBox=\"0 0 4096 1092\""), std::string::npos);
    ASSERT_EQ(run("rsvg-convert -o " + png + " " + svg).status, 0);
    EXPECT_EQ(read_png(png).width, 4096u);
}

// The paths as a one-page PDF the size of the display (y turned down, as
// the export draws), with its cross-reference table.
std::string pdf_page(const std::string &paths) {
    const std::string content = "1 0 0 -1 0 64 cm\n" + paths;
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 240 64] /Contents 4 0 R >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream"};
    std::string out = "%PDF-1.4\n", table;
    for (std::size_t i = 0; i < 4; ++i) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", out.size());
        table += entry;
        out += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = out.size();
    return out + "xref\n0 5\n0000000000 65535 f \n" + table +
           "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

TEST_F(signature_export, PdfPathsDrawWhatTheSvgDraws) {
    need("rsvg-convert");
    need("pdftoppm");
    capture_ptr capture = stroke_capture();
    for (int pressure_width : {0, 1}) {  // a stroked centre line; an outline with round caps
        SCOPED_TRACE(pressure_width);
        vantix_signature_export_options options;
        vantix_signature_default_options(&options);
        options.line_width = 6;
        options.pressure_width = pressure_width;
        const std::string svg = file(".svg"), svg_png = file(".png"), pdf = file(".pdf"), pdf_png = file("");
        ASSERT_EQ(vantix_signature_export_svg(capture.get(), &options, svg.c_str()), VANTIX_CODE_SUCCESS);
        ASSERT_EQ(run("rsvg-convert -z 4 -o " + svg_png + " " + svg).status, 0);
        ASSERT_EQ(vantix_signature_export_pdf_paths(capture.get(), &options, pdf.c_str()),
                  VANTIX_CODE_SUCCESS);
        const std::string page = pdf_page(read_file(pdf));
        std::ofstream(pdf, std::ios::binary | std::ios::trunc) << page;
        ASSERT_EQ(run("pdftoppm -r 288 -gray -png -singlefile " + pdf + " " + pdf_png).status, 0);
        paths.push_back(pdf_png + ".png");
        const grey_picture a = read_png(svg_png), b = read_png(pdf_png + ".png");
        ASSERT_EQ(a.width, b.width);
        ASSERT_EQ(a.height, b.height);
        // The two renderers smooth edges apiece: inside and outside agree.
        std::size_t ink = 0, disagree = 0;
        for (std::uint32_t y = 0; y < a.height; ++y)
            for (std::uint32_t x = 0; x < a.width; ++x) {
                ink += a.at(x, y) < 64;
                disagree += (a.at(x, y) < 64 && b.at(x, y) > 192) || (a.at(x, y) > 192 && b.at(x, y) < 64);
            }
        EXPECT_GT(ink, 1000u);
        EXPECT_LT(disagree, ink / 100);
    }
}

TEST_F(signature_export, PngIsReadByImageMagickAtTheChosenSize) {
    need("identify");
    capture_ptr capture = stroke_capture();
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    options.width = 480;
    options.height = 128;
    options.line_width = 6;
    const std::string png = file(".png");
    ASSERT_EQ(vantix_signature_export_png(capture.get(), &options, png.c_str()), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(run("identify -format '%w %h %m' " + png).out, "480 128 PNG");
    expect_ink_on_stroke(read_png(png), 2);
}

TEST_F(signature_export, InkmlHasTheChannelsRangesAndPoints) {
    need("xmllint");
    capture_ptr capture = stroke_capture();
    vantix_signature_add_point(capture.get(), 0, 0, 1, 0, 0);
    vantix_signature_add_point(capture.get(), 500, 600, 1, 1, 90000);
    const std::string inkml = file(".inkml");
    ASSERT_EQ(vantix_signature_export_inkml(capture.get(), nullptr, inkml.c_str()), VANTIX_CODE_SUCCESS);
    auto xpath = [&](const std::string &expression) {
        std::string out = run("xmllint --xpath \"" + expression + "\" " + inkml).out;
        if (!out.empty() && out.back() == '\n')
            out.pop_back();
        return out;
    };
    EXPECT_EQ(run("xmllint --noout " + inkml).status, 0);
    EXPECT_EQ(xpath("count(//*[local-name()='trace'])"), "2");
    EXPECT_EQ(xpath("concat(//*[local-name()='channel'][1]/@name, //*[local-name()='channel'][2]/@name, "
                    "//*[local-name()='channel'][3]/@name, //*[local-name()='channel'][4]/@name)"),
              "XYTF");
    EXPECT_EQ(xpath("string(//*[local-name()='channel'][@name='X']/@max)"), "4095");
    EXPECT_EQ(xpath("string(//*[local-name()='channel'][@name='Y']/@max)"), "1091");
    EXPECT_EQ(xpath("string(//*[local-name()='inkSource']/@manufacturer)"), "Vantix \"test\" & <co>");
    const std::string first = xpath("string(//*[local-name()='trace'][1])");
    EXPECT_EQ(std::count(first.begin(), first.end(), ',') + 1, 5);
    EXPECT_EQ(first.substr(first.rfind(',') + 2), "3354 801 20 0.75");  // x y t(ms) f of the last point
    EXPECT_EQ(xpath("string(//*[local-name()='trace'][2])"), "500 600 84 1");
}

TEST_F(signature_export, JsonIsReadByPython) {
    need("python3");
    capture_ptr capture = stroke_capture();
    const std::string json = file(".json");
    ASSERT_EQ(vantix_signature_export_json(capture.get(), nullptr, json.c_str()), VANTIX_CODE_SUCCESS);
    const command_result read =
        run("python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); p=d[\"pad\"]; s=d[\"strokes\"];"
            "print(len(s), len(s[0]), p[\"coordinate_range\"][\"x_max\"], p[\"display\"][\"width\"], "
            "p[\"manufacturer\"],"
            "s[0][1][\"t_us\"], int(s[0][2][\"x\"]), s[0][2][\"pressure\"], d[\"space\"])' " +
            json);
    EXPECT_EQ(read.status, 0) << read_file(json);
    EXPECT_EQ(read.out, "1 5 4095 240 Vantix \"test\" & <co> 5000 120 0.75 display\n");
}

// A capture exported to a buffer with default options; empty on failure.
std::string exported(const vantix_signature_capture *capture, buffer_exporter write) {
    unsigned char *data = nullptr;
    size_t size = 0;
    if (write(capture, nullptr, &data, &size) != VANTIX_CODE_SUCCESS)
        return {};
    const std::string bytes(reinterpret_cast<char *>(data), size);
    vantix_signature_free_buffer(data);
    return bytes;
}

// The "start_time_us" of a capture's JSON document.
uint64_t json_start_time(const vantix_signature_capture *capture) {
    const std::string json = exported(capture, vantix_signature_export_json_buffer);
    const std::string key = "\"start_time_us\":";
    const size_t at = json.find(key);
    return at == std::string::npos ? 0 : std::strtoull(json.c_str() + at + key.size(), nullptr, 10);
}

uint64_t unix_time_us() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count());
}

TEST_F(signature_export, JsonDatesTheFirstPointByTheWallClock) {
    capture_ptr capture = new_capture();
    EXPECT_EQ(json_start_time(capture.get()), 0u);
    const uint64_t before = unix_time_us();
    capture = stroke_capture();  // its points' own times are small steady-clock values
    const uint64_t after = unix_time_us();
    const uint64_t start = json_start_time(capture.get());
    EXPECT_GE(start, before);
    EXPECT_LE(start, after);
    vantix_signature_clear(capture.get());
    EXPECT_EQ(json_start_time(capture.get()), 0u);
}

TEST_F(signature_export, TimesAreWrittenExactlyUpToTheLargest) {
    capture_ptr capture = new_capture();
    vantix_signature_add_point(capture.get(), 1, 2, 1, 1, 0);
    vantix_signature_add_point(capture.get(), 3, 4, 1, 1, 12005);
    vantix_signature_add_point(capture.get(), 5, 6, 1, 1, UINT64_MAX);
    const std::string json = exported(capture.get(), vantix_signature_export_json_buffer);
    EXPECT_NE(json.find("\"t_us\":12005,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"t_us\":18446744073709551615,"), std::string::npos) << json;
    const std::string inkml = exported(capture.get(), vantix_signature_export_inkml_buffer);
    EXPECT_NE(inkml.find(">1 2 0 1, 3 4 12.005 1, 5 6 18446744073709551.615 1<"), std::string::npos) << inkml;
    EXPECT_NE(inkml.find("name=\"T\" type=\"decimal\" min=\"0\" max=\"18446744073709551.615\""),
              std::string::npos)
        << inkml;
}

TEST_F(signature_export, WideLinesOverManyPointsAreRefusedBeforeDrawing) {
    capture_ptr capture = new_capture();
    for (int i = 0; i < 2000; ++i)
        vantix_signature_add_point(capture.get(), 2000, 500, 1, 1, 0);
    vantix_signature_export_options options;
    vantix_signature_default_options(&options);
    options.width = 2048;
    options.height = 546;
    options.line_width = 1000;
    unsigned char *data = nullptr;
    size_t size = 0;
    EXPECT_EQ(vantix_signature_export_png_buffer(capture.get(), &options, &data, &size), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(),
                 "Drawing the signature picture would take too long: lower its line width or size.");
    options.line_width = 20;
    ASSERT_EQ(vantix_signature_export_png_buffer(capture.get(), &options, &data, &size), VANTIX_CODE_SUCCESS);
    vantix_signature_free_buffer(data);
}

TEST_F(signature_export, EmptyCapturesExportValidEmptyDocuments) {
    need("rsvg-convert");
    need("identify");
    need("xmllint");
    need("python3");
    capture_ptr capture = new_capture();
    const struct {
        exporter write;
        const char *suffix;
        std::string check;
    } formats[] = {
        {vantix_signature_export_svg, ".svg", "rsvg-convert -o " + file(".png") + " "},
        {vantix_signature_export_png, ".png", "identify "},
        {vantix_signature_export_inkml, ".inkml", "xmllint --noout "},
        {vantix_signature_export_json, ".json",
         "python3 -c 'import json,sys; assert json.load(open(sys.argv[1]))[\"strokes\"] == []' "},
    };
    for (const auto &f : formats) {
        SCOPED_TRACE(f.suffix);
        const std::string path = file(f.suffix);
        ASSERT_EQ(f.write(capture.get(), nullptr, path.c_str()), VANTIX_CODE_SUCCESS);
        EXPECT_EQ(run(f.check + path).status, 0) << read_file(path);
    }
}

TEST_F(signature_export, BuffersHoldWhatFilesHold) {
    capture_ptr capture = stroke_capture();
    const struct {
        exporter write;
        buffer_exporter hand;
    } formats[] = {
        {vantix_signature_export_svg, vantix_signature_export_svg_buffer},
        {vantix_signature_export_png, vantix_signature_export_png_buffer},
        {vantix_signature_export_inkml, vantix_signature_export_inkml_buffer},
        {vantix_signature_export_json, vantix_signature_export_json_buffer},
        {vantix_signature_export_pdf_paths, vantix_signature_export_pdf_paths_buffer},
    };
    for (const auto &f : formats) {
        const std::string path = file(".out");
        ASSERT_EQ(f.write(capture.get(), nullptr, path.c_str()), VANTIX_CODE_SUCCESS);
        unsigned char *data = nullptr;
        size_t size = 0;
        ASSERT_EQ(f.hand(capture.get(), nullptr, &data, &size), VANTIX_CODE_SUCCESS);
        EXPECT_EQ(std::string(reinterpret_cast<char *>(data), size), read_file(path));
        EXPECT_EQ(data[size], 0);
        vantix_signature_free_buffer(data);
    }
}

TEST_F(signature_export, RefusedOptionsAndDestinations) {
    capture_ptr capture = stroke_capture();
    const struct {
        void (*change)(vantix_signature_export_options &);
        const char *error;
    } cases[] = {
        {[](vantix_signature_export_options &o) { o.line_width = 0; },
         "The signature's line width must be above 0 and at most 1000."},
        {[](vantix_signature_export_options &o) { o.line_width = 1e9; },
         "The signature's line width must be above 0 and at most 1000."},
        {[](vantix_signature_export_options &o) { o.line_width = std::nan(""); },
         "The signature's line width must be above 0 and at most 1000."},
        {[](vantix_signature_export_options &o) { o.line_width = HUGE_VAL; },
         "The signature's line width must be above 0 and at most 1000."},
        {[](vantix_signature_export_options &o) { o.width = 9000; },
         "A signature picture is at most 8192 pixels wide and high."},
        {[](vantix_signature_export_options &o) { o.space = static_cast<vantix_signature_space>(7); },
         "Unknown coordinate space for the signature export."},
    };
    for (const auto &c : cases) {
        vantix_signature_export_options options;
        vantix_signature_default_options(&options);
        c.change(options);
        unsigned char *data = reinterpret_cast<unsigned char *>(1);
        size_t size = 1;
        EXPECT_EQ(vantix_signature_export_png_buffer(capture.get(), &options, &data, &size),
                  VANTIX_CODE_ERROR);
        EXPECT_STREQ(vantix_signature_last_error(), c.error);
        EXPECT_EQ(data, nullptr);
        EXPECT_EQ(size, 0u);
    }
    EXPECT_EQ(vantix_signature_export_json(capture.get(), nullptr, "/nonexistent-dir/x.json"),
              VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(),
                 "Unable to write /nonexistent-dir/x.json: No such file or directory");
    EXPECT_EQ(vantix_signature_export_svg_buffer(capture.get(), nullptr, nullptr, nullptr),
              VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(), "No buffer given to export the signature to.");
    EXPECT_EQ(vantix_signature_export_svg(nullptr, nullptr, "x.svg"), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_signature_last_error(), "No signature capture given.");
}

}  // namespace
}  // namespace vantix::test
