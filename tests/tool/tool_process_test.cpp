// SPDX-License-Identifier: Apache-2.0
// vantix-tool run as a process against the virtual pad, as scripts use it:
// its output, the files it writes and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

struct outcome {
    int code;
    std::string output;  // standard output and error together
};

// Runs the tool in `dir` with standard input closed.
outcome run(const std::string &args, const std::filesystem::path &dir = ::testing::TempDir()) {
    const std::string command =
        "cd '" + dir.string() + "' && '" VANTIX_TOOL_PATH "' " + args + " 2>&1 </dev/null";
    outcome o{-1, {}};
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return o;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        o.output.append(chunk, n);
    const int status = pclose(pipe);
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return o;
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
    EXPECT_EQ(o.output.rfind("{\"type\":\"pen\",\"x\":300,\"y\":650,\"down\":true,\"region\":1}\n", 0), 0u)
        << o.output;
    EXPECT_NE(o.output.find("{\"type\":\"pen\",\"x\":900,\"y\":470,\"down\":false,\"region\":1}\n"),
              std::string::npos);
}

TEST(ToolProcess, SignOnTheVirtualPadWritesEveryFile) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "tool-sign";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const outcome o = run("sign --sim --out signature.svg --out signature.png --out signature.json", dir);
    EXPECT_EQ(o.code, 0) << o.output;
    EXPECT_NE(o.output.find("in 3 strokes"), std::string::npos) << o.output;
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
    for (const char *command : {"list", "info", "status", "monitor", "sign", "draw-text", "show-image",
                                "screenshot", "preset", "hotplug"})
        EXPECT_NE(o.output.find(std::string("  ") + command + " "), std::string::npos) << command;
}
