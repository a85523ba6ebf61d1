// SPDX-License-Identifier: Apache-2.0
// Every recording in tests/recordings replayed through the public API: a
// whole session's results must equal the expected results beside it
// (NAME.vxrec, NAME.expected.json). VANTIX_UPDATE_EXPECTED=1 writes the
// results instead, for a new recording or a deliberate change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "padsim/replay.hpp"
#include "padsim/sim_driver.hpp"
#include "recordings/session_report.hpp"

namespace {

namespace fs = std::filesystem;

const fs::path corpus_dir = VANTIX_RECORDINGS_DIR;

std::vector<fs::path> files_with(const std::string &suffix) {
    std::vector<fs::path> found;
    for (const auto &entry : fs::directory_iterator(corpus_dir)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() && name.ends_with(suffix))
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

fs::path expected_of(const fs::path &recording) {
    return corpus_dir / (recording.stem().string() + ".expected.json");
}

class corpus : public ::testing::TestWithParam<fs::path> {
protected:
    void SetUp() override {
        vantix_init();
        padsim::reset();
    }
    void TearDown() override {
        vantix_free_device_list(devices_);
        padsim::reset();
        vantix_destroy();
    }
    vantix_device *devices_ = nullptr;
};

TEST_P(corpus, ReplaysToItsExpectedResults) {
    const std::size_t index = padsim::add_replay(padsim::load_recording(GetParam()), padsim::pacing::fast);
    padsim::register_sim_driver();
    vantix_list_devices(&devices_);
    vantix_device *device = devices_;
    while (device && device->path != "sim:" + std::to_string(index))
        device = device->next;
    ASSERT_NE(device, nullptr);
    const nlohmann::ordered_json results = vantix::testing::session_report(device, index);

    const fs::path expected_file = expected_of(GetParam());
    if (std::getenv("VANTIX_UPDATE_EXPECTED"))
        std::ofstream(expected_file) << results.dump(2) << '\n';
    std::ifstream in(expected_file);
    ASSERT_TRUE(in) << expected_file << " is missing (VANTIX_UPDATE_EXPECTED=1 writes it)";
    const nlohmann::ordered_json expected = nlohmann::ordered_json::parse(in);
    EXPECT_EQ(results, expected) << "got:\n" << results.dump(2) << "\nexpected:\n" << expected.dump(2);
}

INSTANTIATE_TEST_SUITE_P(recordings, corpus, ::testing::ValuesIn(files_with(".vxrec")),
                         [](const ::testing::TestParamInfo<fs::path> &info) {
                             std::string name = info.param.stem().string();
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

TEST(corpus_files, EveryResultsFileHasItsRecording) {
    for (const fs::path &results : files_with(".expected.json")) {
        const std::string name = results.filename().string();
        EXPECT_TRUE(fs::exists(corpus_dir / (name.substr(0, name.size() - 14) + ".vxrec"))) << results;
    }
}

}  // namespace
