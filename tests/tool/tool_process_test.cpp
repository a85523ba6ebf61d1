// SPDX-License-Identifier: Apache-2.0
// vantix-tool run as a process against the virtual pad, as scripts use it:
// its output, the files it writes and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "image.hpp"
#include "tool_process.hpp"

namespace {

using tool_test::fresh_dir;
using tool_test::has;
using tool_test::outcome;
using tool_test::run;

// Where the dark pixels of a saved screen lie above the virtual pad's button
// strip (rows 48 to 63 show its OK and Cancel buttons from power-on), and how
// much of that box is dark.
constexpr unsigned button_strip_top = 48;
struct ink {
    unsigned left = ~0u, top = ~0u, right = 0, bottom = 0;
    double dark_share = 0;
};

// A saved screen, pixel for pixel.
tool::image read_screen(const std::filesystem::path &file) {
    struct whole final : tool::picture_sink {
        tool::image picture;
        void begin(unsigned width, unsigned height) override { picture = tool::image(width, height); }
        void pixels(unsigned y, unsigned first, unsigned stride, const std::uint8_t *rgb,
                    unsigned count) override {
            for (unsigned i = 0; i < count; ++i)
                std::copy_n(rgb + 3 * i, 3, picture.at(first + i * stride, y));
        }
    } sink;
    tool::read_png(file.string(), sink);
    return sink.picture;
}

ink ink_of(const tool::image &screen) {
    ink box;
    std::size_t dark = 0;
    for (unsigned y = 0; y < std::min(screen.height, button_strip_top); ++y)
        for (unsigned x = 0; x < screen.width; ++x)
            if (screen.at(x, y)[0] < 128) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
                ++dark;
            }
    if (dark)
        box.dark_share = double(dark) / ((box.right - box.left + 1) * (box.bottom - box.top + 1));
    return box;
}

}  // namespace

TEST(ToolProcess, ListShowsTheVirtualPad) {
    const outcome o = run("--sim list");
    EXPECT_EQ(o.code, 0) << o.output;
    EXPECT_NE(o.output.find("sim:0  1209:0240  Vantix Zelnar virtual pad  (SIM)"), std::string::npos)
        << o.output;
}

TEST(ToolProcess, InfoJsonNamesThePadAndItsDisplay) {
    const outcome o = run("info --sim --json");
    EXPECT_EQ(o.code, 0) << o.output;
    EXPECT_EQ(o.output.rfind("{\"path\":\"sim:0\",", 0), 0u) << o.output;
    EXPECT_NE(o.output.find("\"serial_number\":\"SIM0000001\""), std::string::npos);
    EXPECT_NE(o.output.find("\"display\":{\"width\":240,\"height\":64,\"color_depth\":1,"),
              std::string::npos);
}

TEST(ToolProcess, MonitorJsonWritesTheScriptedStrokeLineByLine) {
    const outcome o = run("monitor --sim --json");
    EXPECT_EQ(o.code, 0) << o.output;
    EXPECT_EQ(o.output.rfind("{\"type\":\"pen\",\"x\":1140,\"y\":470,\"down\":true,\"region\":1}\n", 0), 0u)
        << o.output;
    EXPECT_NE(o.output.find("{\"type\":\"pen\",\"x\":1362,\"y\":620,\"down\":false,\"region\":1}\n"),
              std::string::npos);
}

TEST(ToolProcess, SignOnTheVirtualPadWritesEveryFile) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "tool-sign";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const outcome o = run(
        "sign --sim --out signature.svg --out signature.png --out signature.json --sim-screen pad-screen.png",
        dir);
    EXPECT_EQ(o.code, 0) << o.output;
    EXPECT_TRUE(has(o, "in 5 strokes")) << o.output;
    for (const char *file : {"signature.svg", "signature.png", "signature.json", "pad-screen.png"})
        EXPECT_GT(std::filesystem::file_size(dir / file), 0u) << file;
}

TEST(ToolProcess, ShowImageAndScreenshotOnTheVirtualPad) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "tool-picture";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ASSERT_EQ(run("sign --sim --out sig.png", dir).code, 0);  // a picture to show
    const outcome shown = run("show-image --sim sig.png", dir);
    EXPECT_EQ(shown.code, 0) << shown.output;
    const outcome shot = run("screenshot --sim --out shot.png", dir);
    EXPECT_EQ(shot.code, 0) << shot.output;
    EXPECT_GT(std::filesystem::file_size(dir / "shot.png"), 0u);
    EXPECT_EQ(run("show-image --sim missing.png", dir).code, 2);
    EXPECT_EQ(run("show-image --sim --sim-fail 103 sig.png", dir).code, 1);
}

TEST(ToolProcess, ExitCodesScriptsCanRelyOn) {
    const outcome no_pad = run("--device sim:9 --sim info");
    EXPECT_EQ(no_pad.code, 3);
    EXPECT_NE(no_pad.output.find("no pad at sim:9 (try --sim"), std::string::npos) << no_pad.output;

    EXPECT_EQ(run("list --no-such-option").code, 2);
    EXPECT_EQ(run("sign --sim --out signature.doc").code, 2);
    EXPECT_EQ(run("").code, 2);

    const outcome failed = run("--sim --sim-fail 103 draw-text Hello");
    EXPECT_EQ(failed.code, 1);
    EXPECT_NE(failed.output.find("drawing text: "), std::string::npos) << failed.output;
}

TEST(ToolProcess, AStopSignalEndsMonitorCleanly) {
    // SIGTERM, as a background job of a shell ignores SIGINT; both are taken alike.
    const int status = std::system("'" VANTIX_TOOL_PATH
                                   "' monitor --sim --count 1000 >/dev/null 2>&1 & pid=$!; "
                                   "sleep 1; kill -TERM $pid; wait $pid");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ToolProcess, HelpExplainsEverySubcommand) {
    const outcome o = run("--help");
    EXPECT_EQ(o.code, 0);
    for (const char *command : {"list", "info", "status", "monitor", "sign", "verify", "draw-text",
                                "show-image", "screenshot", "preset", "hotplug"})
        EXPECT_NE(o.output.find(std::string("  ") + command + " "), std::string::npos) << command;
}

TEST(ToolProcess, SignFollowsTheButtonsTheScriptedPenPresses) {
    struct {
        const char *presses;
        int code;
        const char *says;
    } const cases[] = {
        {"--sim-press ok", 0, "signature: 185 points in 5 strokes"},
        // Clear empties the capture: the second signature alone is saved.
        {"--sim-press clear --sim-press ok", 0, "signature: 185 points in 5 strokes"},
        {"--sim-press cancel", 4, "signing cancelled on the pad"},
        {"--sim-press clear --sim-press cancel", 4, "signing cancelled on the pad"},
        {"--sim-press later", 2, "later"},
    };
    const auto dir = fresh_dir("tool-sign-presses");
    for (const auto &c : cases) {
        const outcome o = run(std::string("sign --sim --out sig.json ") + c.presses, dir);
        EXPECT_EQ(o.code, c.code) << c.presses << "\n" << o.output;
        EXPECT_TRUE(has(o, c.says)) << c.presses << "\n" << o.output;
    }
}

TEST(ToolProcess, TheVirtualScreenIsSavedOnlyWhereAsked) {
    const auto dir = fresh_dir("tool-screen");
    // Nothing unasked in the working directory, which may not be writable.
    ASSERT_EQ(run("sign --sim --out sig.png", dir).code, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    // A screen that cannot be written is a warning; the signature is saved first.
    const outcome o = run("sign --sim --out sig.svg --sim-screen missing/screen.png", dir);
    EXPECT_EQ(o.code, 0) << o.output;
    EXPECT_TRUE(has(o, "warning: missing/screen.png: the virtual pad's screen cannot be written"))
        << o.output;
    EXPECT_GT(std::filesystem::file_size(dir / "sig.svg"), 0u);
    for (const char *command :
         {"show-image --sim sig.png", "draw-text --sim Hello", "sign --sim --out s.json"}) {
        std::filesystem::remove(dir / "screen.png");
        const outcome saved = run(std::string(command) + " --sim-screen screen.png", dir);
        EXPECT_TRUE(has(saved, "the virtual pad's screen is in screen.png")) << command << "\n"
                                                                             << saved.output;
        EXPECT_GT(ink_of(read_screen(dir / "screen.png")).dark_share, 0) << command;
    }
}

TEST(ToolProcess, DrawTextPlacesAndInvertsTheText) {
    struct {
        const char *options;
        unsigned middle_min, middle_max, top_min, top_max;  // of the ink, in display pixels
        bool inverted;
    } const cases[] = {
        {"", 0, 40, 0, 3, false},
        {"--clear --x 100 --y 30", 100, 140, 30, 33, false},
        {"--align right --x 239", 200, 239, 0, 3, false},
        {"--align CENTER --x 120", 118, 122, 0, 3, false},
        {"--invert --y 20", 0, 40, 20, 23, true},
    };
    const auto dir = fresh_dir("tool-draw-text");
    for (const auto &c : cases) {
        const outcome o =
            run(std::string("draw-text --sim \"Hi there\" --sim-screen text.png ") + c.options, dir);
        ASSERT_EQ(o.code, 0) << c.options << "\n" << o.output;
        const ink box = ink_of(read_screen(dir / "text.png"));
        EXPECT_GE((box.left + box.right) / 2, c.middle_min) << c.options;
        EXPECT_LE((box.left + box.right) / 2, c.middle_max) << c.options;
        EXPECT_GE(box.top, c.top_min) << c.options;
        EXPECT_LE(box.top, c.top_max) << c.options;
        EXPECT_EQ(box.dark_share > 0.5, c.inverted) << c.options << ": " << box.dark_share;
    }
    EXPECT_EQ(run("draw-text --sim Hi --align middle").code, 2);
}

TEST(ToolProcess, StatusAndPresetSayWhatThePadDid) {
    struct {
        const char *args;
        int code;
        const char *says;
    } const cases[] = {
        {"status --sim", 0, "is_idle = 1"},
        {"--json status --sim", 0, "\"idle\":true,"},
        {"status --sim --sim-fail 13", 1, "vantix-tool: "},
        {"preset zelnar --sim", 0, "zelnar preset applied\n"},
        {"preset travon --sim --save", 0, "travon preset applied and saved as the pad's defaults\n"},
        {"preset zelnar --sim --sim-fail 11", 1, "vantix-tool: reading the capabilities: "},
        {"preset other --sim", 2, "other"},
    };
    for (const auto &c : cases) {
        const outcome o = run(c.args);
        EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.output;
        EXPECT_TRUE(has(o, c.says)) << c.args << "\n" << o.output;
    }
}

// A document, another one and a recipient (key and certificate), made once.
class ToolSealed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // One directory per process: ctest runs the suite's tests side by side.
        dir = fresh_dir(("tool-sealed-" + std::to_string(getpid())).c_str());
        for (const char *name : {"notary", "stranger"})
            ASSERT_EQ(run(std::string("openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=") + name +
                              " -keyout " + name + ".key -out " + name + ".crt -days 1 >/dev/null 2>&1",
                          dir, "")
                          .code,
                      0);
        ASSERT_EQ(run("printf 'the contract' >contract.txt && printf 'another' >other.txt", dir, "").code, 0);
    }
    static inline std::filesystem::path dir;
};

TEST_F(ToolSealed, SignSealsToTheDocumentAndVerifyChecksIt) {
    const outcome signed_ =
        run("sign --sim --document contract.txt --seal-to notary.crt --out s.p7m --out s.svg "
            "--sim-screen screen.png",
            dir);
    ASSERT_EQ(signed_.code, 0) << signed_.output;
    EXPECT_GT(std::filesystem::file_size(dir / "s.svg"), 0u);
    struct {
        const char *args;
        int code;
        const char *says;
    } const cases[] = {
        {"--document contract.txt --key notary.key", 0, "contract.txt matches the signature record"},
        {"--document contract.txt --key notary.key --cert notary.crt --render r.png", 0,
         "document:  contract.txt"},
        {"--document other.txt --key notary.key", 1, "The document does not match the signature record."},
        {"--document contract.txt --key stranger.key", 1, "The key does not open this sealed record"},
        {"--document contract.txt --key notary.key", 0, "pad:       Vantix Zelnar virtual pad"},
        {"--document contract.txt --key notary.key", 0, "firmware:  "},
        {"--document contract.txt --key notary.key --json", 0, "\"matches\":true"},
        {"--document other.txt --key notary.key --json", 1,
         "\"matches\":false,\"reason\":\"The document does not match the signature record.\""},
    };
    for (const auto &c : cases) {
        const outcome o = run(std::string("verify s.p7m ") + c.args, dir);
        EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.output;
        EXPECT_TRUE(has(o, c.says)) << c.args << "\n" << o.output;
    }
    EXPECT_GT(std::filesystem::file_size(dir / "r.png"), 0u);
    const outcome not_sealed = run("verify s.svg --document contract.txt --key notary.key", dir);
    EXPECT_EQ(not_sealed.code, 1);
    EXPECT_TRUE(has(not_sealed, "The data is not a sealed signature record.")) << not_sealed.output;
    // Stock OpenSSL opens it too, and the record names the document's digest.
    const outcome digest = run("sha256sum contract.txt", dir, "");
    const outcome plain =
        run("openssl cms -decrypt -inform DER -in s.p7m -recip notary.crt -inkey notary.key", dir, "");
    EXPECT_EQ(plain.code, 0) << plain.output;
    EXPECT_TRUE(has(plain, digest.output.substr(0, 64))) << plain.output;
}

TEST_F(ToolSealed, ThePadShowsTheDocumentBetweenThePromptAndTheSigningLine) {
    ASSERT_EQ(
        run("sign --sim --document contract.txt --seal-to notary.crt --out s.p7m --sim-screen doc.png", dir)
            .code,
        0);
    ASSERT_EQ(run("sign --sim --out s.svg --sim-screen plain.png", dir).code, 0);
    // The same scripted signature on both: the pixels that differ are the document's line.
    const tool::image with = read_screen(dir / "doc.png"), without = read_screen(dir / "plain.png");
    ASSERT_EQ(with.rgb.size(), without.rgb.size());
    unsigned top = with.height, bottom = 0;
    for (unsigned y = 0; y < with.height; ++y)
        for (unsigned x = 0; x < with.width; ++x)
            if (with.at(x, y)[0] != without.at(x, y)[0])
                top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_GE(top, 8u);      // under the prompt
    EXPECT_LT(bottom, 44u);  // above the signing line
}

#ifdef VANTIX_TOOL_PDF
TEST_F(ToolSealed, TwoSignersSignAPdfInTurnAndVerifyPdfChecksBoth) {
    ASSERT_EQ(run(VANTIX_MAKE_PDF_INPUTS " .", dir, "").code, 0);
    const char *sign = "sign-pdf --sim --seal-to notary.crt ";
    const outcome first = run(std::string(sign) +
                                  "form.pdf --field Signature1 --sign-with notary.key "
                                  "--cert notary.crt --name 'J. Doe' --out one.pdf",
                              dir);
    ASSERT_EQ(first.code, 0) << first.output;
    const outcome second =
        run(std::string(sign) +
                "one.pdf --field Signature2 --sign-with stranger.key --cert stranger.crt --out two.pdf",
            dir);
    ASSERT_EQ(second.code, 0) << second.output;
    const outcome pdfsig = run("pdfsig two.pdf >sig.txt; grep -c 'Signature is Valid.' sig.txt", dir, "");
    EXPECT_EQ(pdfsig.output, "2\n");
    struct {
        std::string args;
        int code;
        const char *says;
    } const cases[] = {
        {"verify-pdf two.pdf --key notary.key", 0,
         "record:   opens and matches the revision it was sealed for"},
        {"verify-pdf two.pdf", 0, "covers:   an earlier revision"},
        {"verify-pdf two.pdf --key stranger.key", 1,
         "does not check: The key does not open this sealed record"},
        {"--json verify-pdf two.pdf", 0, "\"signer\":\"CN=stranger\""},
        {"verify-pdf form.pdf", 1, "form.pdf has no signature"},
        {std::string(sign) + "form.pdf --page 1 --rect 10,10,100,40 --out plain.pdf", 0,
         "plain.pdf carries no digital signature"},
        {std::string(sign) + "form.pdf --out x.pdf --sim-press cancel", 4, "signing cancelled on the pad"},
        {std::string(sign) + "form.pdf --out x.pdf --field Nope", 1, "No signature field named Nope"},
    };
    for (const auto &c : cases) {
        const outcome o = run(c.args, dir);
        EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.output;
        EXPECT_TRUE(has(o, c.says)) << c.args << "\n" << o.output;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "x.pdf"));
}
#endif

TEST_F(ToolSealed, SealingNeedsADocumentAndARecipient) {
    struct {
        const char *args;
        const char *says;
    } const cases[] = {
        {"--document contract.txt --out s.p7m", "a .p7m file needs --seal-to"},
        {"--seal-to notary.crt --out s.p7m", "a .p7m file needs --document"},
        {"--seal-to notary.crt --document contract.txt --out s.svg",
         "--seal-to needs an --out file ending in .p7m"},
        {"--seal-to notary.crt --document contract.txt --out s.p7m --sign-with notary.key", "--cert"},
        {"--seal-to missing.crt --document contract.txt --out s.p7m", "missing.crt"},
    };
    for (const auto &c : cases) {
        const outcome o = run(std::string("sign --sim ") + c.args, dir);
        EXPECT_EQ(o.code, 2) << c.args << "\n" << o.output;
        EXPECT_TRUE(has(o, c.says)) << c.args << "\n" << o.output;
    }
}
