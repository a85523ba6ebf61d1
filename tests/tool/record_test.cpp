// SPDX-License-Identifier: Apache-2.0
// vantix-tool record and --replay as processes: a replay is the pad it
// recorded, a lying pad never brings the recorder down, a bad file is
// refused with the reason.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tool_process.hpp"

namespace {

using tool_test::fresh_dir;
using tool_test::has;
using tool_test::outcome;
using tool_test::run;

std::string contents(const std::filesystem::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The virtual pad recorded into a directory of the test's own (ctest runs
// tests side by side).
class Recorded : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fresh_dir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        recorded_ = run("record --sim --out sim.vxrec", dir_);
    }
    std::filesystem::path dir_;
    outcome recorded_;
};

TEST_F(Recorded, SaysPenDataIsRecordedBeforeItStarts) {
    ASSERT_EQ(recorded_.code, 0) << recorded_.output;
    EXPECT_TRUE(has(recorded_, "Pen data is biometric: leave it out with --no-input")) << recorded_.output;
    EXPECT_TRUE(has(recorded_, "Nothing is written to the pad")) << recorded_.output;
}

TEST_F(Recorded, TheReplayAnswersInfoAsTheOriginal) {
    const outcome original = run("--sim info --json", dir_);
    const outcome replayed = run("--replay sim.vxrec info --json", dir_);
    ASSERT_EQ(replayed.code, 0) << replayed.output;
    EXPECT_EQ(replayed.output, original.output);
}

TEST_F(Recorded, TheReplaySignsTheRecordedSignature) {
    ASSERT_EQ(run("sign --sim --out original.svg", dir_).code, 0);
    const outcome replayed = run("--replay sim.vxrec sign --out replayed.svg", dir_);
    ASSERT_EQ(replayed.code, 0) << replayed.output;
    EXPECT_EQ(contents(dir_ / "replayed.svg"), contents(dir_ / "original.svg"));
}

TEST(Record, NoInputLeavesThePenOut) {
    const auto dir = fresh_dir("no-input");
    ASSERT_EQ(run("record --sim --no-input --out quiet.vxrec", dir).code, 0);
    const std::string text = contents(dir / "quiet.vxrec");
    EXPECT_NE(text.find("\"input\":false"), std::string::npos);
    EXPECT_EQ(text.find("\"kind\":\"input\""), std::string::npos);
    EXPECT_NE(text.find("\"phase\":\"sweep\""), std::string::npos);
}

TEST(Record, AHostilePadNeverBringsTheRecorderDown) {
    const auto dir = fresh_dir("hostile");
    for (int seed = 1; seed <= 4; ++seed) {
        const std::string file = "hostile" + std::to_string(seed) + ".vxrec";
        const outcome recorded =
            run("record --sim --sim-hostile " + std::to_string(seed) + " --out " + file, dir);
        EXPECT_TRUE(recorded.code == 0 || recorded.code == 1) << seed << ": " << recorded.output;
        const outcome replayed = run("--replay " + file + " info --json", dir);
        EXPECT_TRUE(replayed.code == 0 || replayed.code == 1) << seed << ": " << replayed.output;
    }
}

TEST(Replay, ABadFileIsRefusedWithTheReason) {
    const auto dir = fresh_dir("bad-files");
    const struct {
        const char *contents;
        const char *says;
    } cases[] = {
        {"", "bad.vxrec: not a pad recording: the file is empty"},
        {"%PDF-1.7\n", "bad.vxrec: not a pad recording: its first line is not a vxrec header"},
        {R"({"kind":"header","format":"vxrec","version":9})",
         "format version 9, newer than this library reads (1)"},
        {R"({"kind":"header","format":"vxrec","version":1,"library":"2.2.0","recorded_at":"x",)"
         R"("system":{"os":"x","architecture":"x"},"input":true})"
         "\n"
         R"({"kind":"descriptor","bytes":"0g"})",
         "bad.vxrec: line 2: \"bytes\" is not hex (two digits a byte)"},
    };
    for (const auto &c : cases) {
        std::ofstream(dir / "bad.vxrec", std::ios::binary | std::ios::trunc) << c.contents;
        const outcome replayed = run("--replay bad.vxrec info", dir);
        EXPECT_EQ(replayed.code, 1) << c.says;
        EXPECT_TRUE(has(replayed, c.says)) << replayed.output;
    }
    const outcome missing = run("--replay missing.vxrec info", dir);
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(has(missing, "missing.vxrec: cannot be opened")) << missing.output;
}

}  // namespace
