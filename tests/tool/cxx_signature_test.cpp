// SPDX-License-Identifier: Apache-2.0
// The C++ signature capture and virtual pad, linked as a user links them:
// a signature written on the virtual pad, exported in every format, and
// failures carrying their text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
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
    EXPECT_EQ(error_of([&] { sims_.at(5); }), "no virtual pad 5");
    EXPECT_EQ(error_of([&] { sims_.replay("/nonexistent/pad.vxrec"); }),
              "/nonexistent/pad.vxrec: cannot be opened");
    EXPECT_EQ(error_of([] { zelnar::virtual_pad(5).tap(1, 1); }),
              "virtual pad 5 refused a tap (no such pad, or an argument out of range)");
    EXPECT_EQ(error_of([&] { sim_.write_png("/nonexistent/dir/x.png"); }),
              "virtual pad 0: cannot write its display to /nonexistent/dir/x.png");
}

TEST_F(CxxSignature, SealsToADocumentAndOpensAgain) {
    const auto dir = std::filesystem::temp_directory_path() / ("cxx-seal-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (const char *name : {"notary", "stranger"})
        ASSERT_EQ(std::system(("openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=" + std::string(name) +
                               " -keyout " + (dir / name).string() + ".key -out " + (dir / name).string() +
                               ".crt -days 1 >/dev/null 2>&1")
                                  .c_str()),
                  0);
    const auto key = [&](const char *file) { return zelnar::key_material::file((dir / file).string()); };
    const std::string text = "the contract";
    const auto document = zelnar::signed_document::bytes(std::as_bytes(std::span(text)));
    zelnar::signature_capture signature(pad_);
    signature.add_point(600, 200, 1.0f, true, 0);
    signature.add_point(1200, 320, 1.0f, true, 5000);
    signature.add_point(1200, 320, 0.0f, false, 10000);
    zelnar::seal_details details;
    details.document_name = "contract.txt";
    details.host_key = key("notary.key");
    details.host_cert = key("notary.crt");
    const std::vector<std::byte> sealed = signature.seal(document, {key("notary.crt")}, details);

    const zelnar::opened_record record(sealed, key("notary.key"));
    EXPECT_EQ(record.document_name(), "contract.txt");
    EXPECT_EQ(record.host_signer(), "CN=notary");
    EXPECT_LE(record.times_utc_us().first, record.times_utc_us().second);
    EXPECT_STREQ(record.pad_info().serial_number, "SIM0000001");
    EXPECT_TRUE(record.matches(document));
    EXPECT_TRUE(record.matches(zelnar::signed_document::sha256(record.digest())));
    EXPECT_FALSE(record.matches(zelnar::signed_document::bytes({})));
    EXPECT_EQ(record.capture().svg(), signature.svg());
    EXPECT_NE(error_of([&] { record.matches(zelnar::signed_document::file("/nonexistent")); }), "no error");
    EXPECT_EQ(error_of([&] {
                  zelnar::opened_record(sealed, key("stranger.key"));
              }).rfind("opening the sealed record: The key does not open this sealed record", 0),
              0u);
    EXPECT_EQ(error_of([&] { signature.seal(document, {}); }).rfind("sealing the signature: ", 0), 0u);
    std::filesystem::remove_all(dir);
}
