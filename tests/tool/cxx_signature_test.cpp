// SPDX-License-Identifier: Apache-2.0
// The C++ signature capture and virtual pad, linked as a user links them:
// a signature written on the virtual pad, exported in every format, and
// failures carrying their text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "vantix-padsim.hpp"
#include "vantix-signature.hpp"

namespace zelnar = vantix::zelnar;

namespace {

// The virtual pad "sim:0", open.
class CxxSignature : public ::testing::Test {
protected:
    zelnar::library library_;
    zelnar::virtual_pads sims_;
    zelnar::virtual_pad sim_ = sims_.at(0);
    zelnar::device_list pads_;
    zelnar::pad pad_{*pads_.find_path(sim_.path())};
};

template <typename Call>
std::string error_of(Call call) {
    try {
        call();
    } catch (const zelnar::error &e) {
        return e.what();
    }
    return "no error";
}

}  // namespace

TEST_F(CxxSignature, SignsOnTheVirtualPadAndExportsEveryFormat) {
    zelnar::signature_capture signature(pad_);
    EXPECT_EQ(signature.pad_info().display_width, 240);
    int presses = 0;
    signature.attach(pad_,
                     [&](const zelnar::input_event &e) { presses += e.type == VANTIX_INPUT_BUTTONPRESS; });
    sim_.stroke({{600, 200}, {1200, 320}, {1800, 260}});
    sim_.tap_display(60, 56);                   // the "OK" button
    for (int report = 0; report < 6; ++report)  // three samples, the pen-up, button down and press
        pad_.read_once();
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(signature.stroke_count(), 1u);
    const auto points = signature.points();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].x, 1200);
    EXPECT_EQ(signature.point(2).y, 260);
    EXPECT_TRUE(signature.bounding_box(VANTIX_SIGNATURE_SPACE_DIGITIZER));

    EXPECT_NE(signature.svg().find("<svg"), std::string::npos);
    EXPECT_NE(signature.inkml().find("<ink"), std::string::npos);
    EXPECT_NE(signature.json().find("\"strokes\""), std::string::npos);
    const std::vector<std::byte> png = signature.png();
    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    const auto shown =
        std::filesystem::temp_directory_path() / ("cxx-signature-" + std::to_string(getpid()) + ".png");
    sim_.write_png(shown.string());
    EXPECT_GT(std::filesystem::file_size(shown), 0u);
    std::filesystem::remove(shown);

    EXPECT_TRUE(signature.undo_stroke());
    EXPECT_FALSE(signature.undo_stroke());
    EXPECT_FALSE(signature.bounding_box());
    signature.add_point(1, 2, 0.5f, true, 10);
    signature.clear();
    EXPECT_EQ(signature.point_count(), 0u);
}

TEST_F(CxxSignature, FailuresThrowWithTheirText) {
    vantix_signature_pad_info no_display{};
    EXPECT_EQ(error_of([&] { zelnar::signature_capture c(no_display); }),
              "creating a signature capture: The pad's display size is 0.");
    zelnar::signature_capture signature(pad_);
    EXPECT_EQ(error_of([&] { signature.point(0); }),
              "reading a signature point: Point index past the end of the signature.");
    vantix_signature_export_options options = zelnar::signature_capture::default_options();
    options.line_width = 0;
    EXPECT_EQ(error_of([&] { signature.png(options); }),
              "exporting the signature as PNG: The signature's line width must be above 0 and at most 1000.");
    EXPECT_EQ(error_of([&] { signature.bounding_box(static_cast<vantix_signature_space>(7)); }),
              "measuring the signature: Unknown coordinate space for the signature export.");
    EXPECT_EQ(error_of([&] { sims_.at(5); }), "no virtual pad 5");
    EXPECT_EQ(error_of([] { zelnar::virtual_pad(5).tap(1, 1); }),
              "virtual pad 5 refused a tap (no such pad, or an argument out of range)");
    EXPECT_EQ(error_of([&] { sim_.write_png("/nonexistent/dir/x.png"); }),
              "virtual pad 0: cannot write its display to /nonexistent/dir/x.png");
}
