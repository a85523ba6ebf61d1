// SPDX-License-Identifier: Apache-2.0
// The leveled log: environment rules, record layout, handlers and levels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "core/failure.hpp"
#include "debug/log.hpp"
#include "debug/module.hpp"
#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace {

using vantix::test::read_file;

void fail_for_test() { VANTIX_FAIL("Pad %d is gone.", 3); }

// A handler that keeps the text of every record it is given.
struct capture_handler {
    vantix_debug_handler table{};
    std::vector<std::string> seen;

    explicit capture_handler(vantix_debug_level level) {
        table.publish = [](vantix_debug_handler *h, vantix_debug_message *m) {
            static_cast<capture_handler *>(h->handlerData)->seen.push_back(m->message);
        };
        table.level = level;
        table.handlerData = this;
    }
};

void report(vantix_debug_level level, const char *text) {
    vantix_debug_report_message("test_fn", "tests/unit/log_test.cpp", 7, level, "%s", text);
}

struct log_env : ::testing::Test {
    vantix::test::scoped_env env;
    vantix::test::temp_dir dir;

    log_env() {
        for (const char *name : {"VANTIX_DEBUG", "VANTIX_TRACE", "VANTIX_DEBUG_LEVEL", "VANTIX_DEBUG_FILE",
                                 "VANTIX_TRACE_FILE", "VANTIX_DEBUG_HANDLERS", "TMPDIR", "TEMP", "TMP"})
            env.unset(name);
        env.set("VANTIX_DEBUG_LOCATION", dir.path());
        env.set("VANTIX_DEBUG_FILE", "log.txt");
        env.set("VANTIX_TRACE_FILE", "trace.pcap");
    }
    ~log_env() override { vantix_debug_destroy(); }

    std::string log() const { return read_file(dir.file("log.txt")); }
    bool exists(const std::string &name) const { return std::filesystem::exists(dir.file(name)); }
};

TEST_F(log_env, OffByDefaultCreatesNoFileAndDropsEverything) {
    vantix_debug_init("unit");
    EXPECT_EQ(vantix::debug::max_level.load(), unsigned(VANTIX_DEBUG_LEVEL_NONE));
    EXPECT_EQ(vantix_list_count(vantix_debug_get_handlers()), 0u);
    report(VANTIX_DEBUG_LEVEL_SEVERE, "dropped");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(log_env, OnWordsAreExact) {
    for (const char *word : {"true", "TRUE", "1", "yes", "YES", "on", "ON"}) {
        env.set("VANTIX_DEBUG", word);
        vantix_debug_init("unit");
        EXPECT_TRUE(vantix::debug::state().debug_enabled) << word;
        vantix_debug_destroy();
    }
    for (const char *word : {"True", "2", "", "y", "enabled"}) {
        env.set("VANTIX_DEBUG", word);
        vantix_debug_init("unit");
        EXPECT_FALSE(vantix::debug::state().debug_enabled) << word;
        vantix_debug_destroy();
    }
}

TEST_F(log_env, LevelWordsAndUnknownWordsGiveAll) {
    env.set("VANTIX_DEBUG", "1");
    const std::pair<const char *, unsigned> cases[] = {
        {"FINEST", 100}, {"finer", 200}, {"FINE", 300}, {"info", 400}, {"WARNING", 500},
        {"severe", 600}, {"NONE", 700},  {"all", 0},    {"Info", 0},   {"verbose", 0}};
    for (const auto &[word, level] : cases) {
        env.set("VANTIX_DEBUG_LEVEL", word);
        vantix_debug_init("unit");
        EXPECT_EQ(vantix::debug::max_level.load(), level) << word;
        vantix_debug_destroy();
    }
}

TEST_F(log_env, EnabledWithoutLevelLogsEverythingIncludingEntryRecords) {
    env.set("VANTIX_DEBUG", "1");
    vantix_debug_init("unit");
    report(VANTIX_DEBUG_LEVEL_FINEST, "==> Entering Function");
    const std::string text = log();
    // The file opens with the kernel-version record (first lookup in this
    // process) or directly with the fingerprint, then our record.
    EXPECT_NE(text.find("Process starting, proccess name: '"), std::string::npos);
    EXPECT_NE(text.find("test_fn() [level: FINEST, time: "), std::string::npos);
    EXPECT_NE(text.find("location: tests/unit/log_test.cpp:7]\n   ==> Entering Function\n"),
              std::string::npos);
}

TEST_F(log_env, ChosenLevelFiltersLowerRecords) {
    env.set("VANTIX_DEBUG", "on").set("VANTIX_DEBUG_LEVEL", "WARNING");
    vantix_debug_init("unit");
    report(VANTIX_DEBUG_LEVEL_INFO, "quiet info");
    report(VANTIX_DEBUG_LEVEL_WARNING, "loud warning");
    EXPECT_EQ(log().find("quiet info"), std::string::npos);
    EXPECT_NE(log().find("loud warning"), std::string::npos);
}

TEST_F(log_env, HandlerSelection) {
    env.set("VANTIX_DEBUG", "1").set("VANTIX_DEBUG_LEVEL", "INFO");
    env.set("VANTIX_DEBUG_HANDLERS", "");
    vantix_debug_init("unit");
    EXPECT_EQ(vantix_list_count(vantix_debug_get_handlers()), 1u);
    vantix_debug_destroy();

    env.set("VANTIX_DEBUG_HANDLERS", "syslog,file");
    vantix_debug_init("unit");
    EXPECT_EQ(vantix_list_count(vantix_debug_get_handlers()), 1u);
    // Reading the environment again keeps one file handler: one line a record.
    vantix_debug_setup();
    EXPECT_EQ(vantix_list_count(vantix_debug_get_handlers()), 1u);
    report(VANTIX_DEBUG_LEVEL_INFO, "once only");
    const std::string written = log();
    EXPECT_EQ(written.find("once only"), written.rfind("once only"));
    vantix_debug_destroy();

    std::filesystem::remove(dir.file("log.txt"));
    env.set("VANTIX_DEBUG_HANDLERS", "none");
    vantix_debug_init("unit");
    EXPECT_EQ(vantix_list_count(vantix_debug_get_handlers()), 0u);
    // The chosen level still applies: records at INFO are built and freed.
    EXPECT_EQ(vantix::debug::max_level.load(), 400u);
    report(VANTIX_DEBUG_LEVEL_INFO, "nowhere");
    EXPECT_FALSE(exists("log.txt"));
}

TEST_F(log_env, TraceFollowsDebugUnlessSetItself) {
    auto trace_on = [&] {
        vantix_debug_init("unit");
        const bool on = vantix::debug::state().trace_enabled;
        vantix_debug_destroy();
        return on;
    };
    env.set("VANTIX_DEBUG", "1");
    EXPECT_TRUE(trace_on());
    env.set("VANTIX_TRACE", "0");
    EXPECT_FALSE(trace_on());
    env.set("VANTIX_TRACE", "yes").unset("VANTIX_DEBUG");
    EXPECT_TRUE(trace_on());

    // Tracing alone still finds its directory.
    std::filesystem::remove(dir.file("log.txt"));
    vantix_debug_init("unit");
    vantix_debug_write_trace_header();
    vantix_debug_destroy();
    EXPECT_EQ(std::filesystem::file_size(dir.file("trace.pcap")), 24u);
    EXPECT_FALSE(exists("log.txt"));
}

TEST_F(log_env, LocationFallsBackThroughTempVariables) {
    env.unset("VANTIX_DEBUG_LOCATION").set("VANTIX_DEBUG", "1");
    env.set("TMP", "/from-tmp").set("TEMP", "/from-temp");
    vantix_read_env_debug_path();
    EXPECT_STREQ(vantix::debug::state().debug_path, "/from-temp");
    env.set("TMPDIR", "/from-tmpdir");
    vantix_read_env_debug_path();
    EXPECT_STREQ(vantix::debug::state().debug_path, "/from-tmpdir");
    env.unset("TMPDIR").unset("TEMP").unset("TMP");
    vantix_read_env_debug_path();
    EXPECT_STREQ(vantix::debug::state().debug_path, "/tmp/");
    // An empty value would put the log at the file-system root: not taken.
    env.set("VANTIX_DEBUG_LOCATION", "");
    vantix_read_env_debug_path();
    EXPECT_STREQ(vantix::debug::state().debug_path, "/tmp/");
}

TEST_F(log_env, TrailingSlashGivesADoubledSlashThatStillWorks) {
    env.set("VANTIX_DEBUG_LOCATION", dir.path() + "/").set("VANTIX_DEBUG", "1");
    vantix_debug_init("unit");
    char *path = vantix::debug::join_log_path("log.txt");
    EXPECT_EQ(std::string(path), dir.path() + "//log.txt");
    std::free(path);
    report(VANTIX_DEBUG_LEVEL_INFO, "written");
    EXPECT_NE(log().find("written"), std::string::npos);
}

TEST_F(log_env, DefaultFileNameCarriesLabelAndPidAndSecondInitKeepsTheFirstLabel) {
    env.unset("VANTIX_DEBUG_FILE").set("VANTIX_DEBUG", "1");
    const std::string pid = std::to_string(getpid());
    vantix_debug_init("first");
    vantix_debug_init("second");
    EXPECT_TRUE(exists("vantix-debug-first-" + pid + ".log"));
    EXPECT_FALSE(exists("vantix-debug-second-" + pid + ".log"));
    vantix_debug_destroy();
    vantix_debug_init("second");
    EXPECT_TRUE(exists("vantix-debug-second-" + pid + ".log"));
}

TEST(token_substitution, OnlyTheFirstOccurrenceOfEachToken) {
    vantix_debug_init("lbl");
    char *name = strdup("a-${pid}-${pid}-${label}-${random}-${random}");
    vantix_debug_file_sub(&name);
    const std::string pid = std::to_string(getpid());
    EXPECT_TRUE(std::regex_match(name, std::regex("a-" + pid + R"(-\$\{pid\}-lbl-\d{9}-\$\{random\})")))
        << name;
    std::free(name);
    vantix_debug_destroy();
}

TEST(token_substitution, ReplaceTokenEdges) {
    char *text = strdup("no tokens");
    replace_token(&text, "${pid}", "1");
    EXPECT_STREQ(text, "no tokens");
    replace_token(&text, "tokens", "");
    EXPECT_STREQ(text, "no ");
    replace_token(&text, "no", "a longer start");
    EXPECT_STREQ(text, "a longer start ");
    std::free(text);
    char *none = nullptr;
    replace_token(&none, "x", "y");  // nothing to replace in
    EXPECT_EQ(none, nullptr);
}

TEST(record, FormattedByteForByteAndCut) {
    vantix_debug_message message{};
    message.level = VANTIX_DEBUG_LEVEL_WARNING;
    message.message = const_cast<char *>("Error reported: no pad");
    message.time = 1700000000;
    message.thread_id = 77;
    message.process_id = 66;
    message.function = "vantix_open_device";
    message.file = "src/core/open.cpp";
    message.line_num = 123;

    char time_text[30];
    tm local{};
    localtime_r(&message.time, &local);
    std::strftime(time_text, sizeof time_text, "%Y-%m-%d %H:%M:%S", &local);

    size_t length = 0;
    char *text = vantix_debug_default_formatter(nullptr, &message, &length);
    const std::string expected = std::string("vantix_open_device() [level: WARNING, time: ") + time_text +
                                 ", process: 66, thread: 77, location: src/core/open.cpp:123]\n"
                                 "   Error reported: no pad\n";
    EXPECT_EQ(std::string(text), expected);
    EXPECT_EQ(length, expected.size());
    std::free(text);

    const std::string huge(9000, 'm');
    message.message = const_cast<char *>(huge.c_str());
    text = vantix_debug_default_formatter(nullptr, &message, &length);
    EXPECT_EQ(length, 8191u);
    EXPECT_EQ(std::strlen(text), 8191u);
    std::free(text);
}

TEST(record, MessageTextIsCutAt8190Characters) {
    const std::string huge(10000, 'q');
    auto make = [](const char *fmt, ...) {
        va_list args;
        va_start(args, fmt);
        vantix_debug_message *m =
            vantix_debug_create_message("f", "file", 1, 0, 2, 3, VANTIX_DEBUG_LEVEL_INFO, fmt, args);
        va_end(args);
        return m;
    };
    vantix_debug_message *m = make("%s", huge.c_str());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(std::strlen(m->message), 8190u);
    EXPECT_EQ(m->process_id, 2u);
    EXPECT_EQ(m->thread_id, 3u);
    vantix_debug_free_message(m);
    vantix_debug_free_message(nullptr);
}

TEST(levels, NamesAndUnknown) {
    EXPECT_STREQ(vantix_debug_get_level_name(VANTIX_DEBUG_LEVEL_FINER), "FINER");
    EXPECT_STREQ(vantix_debug_get_level_name(VANTIX_DEBUG_LEVEL_NONE), "NONE");
    EXPECT_STREQ(vantix_debug_get_level_name(static_cast<vantix_debug_level>(250)), "UNKNOWN");
}

TEST(handlers, EachHandlerKeepsItsOwnLevelAndAddingRecalculates) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_debug_init("unit");
    capture_handler fine(VANTIX_DEBUG_LEVEL_FINE), warning(VANTIX_DEBUG_LEVEL_WARNING);
    vantix_debug_add_handler(&warning.table);
    EXPECT_EQ(vantix::debug::max_level.load(), 500u);
    vantix_debug_add_handler(&fine.table);
    EXPECT_EQ(vantix::debug::max_level.load(), 300u);

    report(VANTIX_DEBUG_LEVEL_FINER, "below both");
    report(VANTIX_DEBUG_LEVEL_INFO, "info");
    report(VANTIX_DEBUG_LEVEL_SEVERE, "severe");
    EXPECT_EQ(fine.seen, (std::vector<std::string>{"info", "severe"}));
    EXPECT_EQ(warning.seen, (std::vector<std::string>{"severe"}));

    vantix_debug_remove_handler(&fine.table);  // no recalculation on removal
    EXPECT_EQ(vantix::debug::max_level.load(), 300u);
    vantix_debug_recalculate_debug_level();
    EXPECT_EQ(vantix::debug::max_level.load(), 500u);
    vantix_debug_remove_handler(&warning.table);
    vantix_debug_recalculate_debug_level();
    EXPECT_EQ(vantix::debug::max_level.load(), 700u);
    vantix_debug_destroy();
    report(VANTIX_DEBUG_LEVEL_SEVERE, "after destroy");
    EXPECT_EQ(warning.seen.size(), 1u);
}

TEST(handlers, FilterCanRejectRecords) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_debug_init("unit");
    capture_handler picky(VANTIX_DEBUG_LEVEL_ALL);
    picky.table.filter = [](vantix_debug_handler *, vantix_debug_message *m) -> unsigned char {
        return m->level >= VANTIX_DEBUG_LEVEL_WARNING;
    };
    vantix_debug_add_handler(&picky.table);
    report(VANTIX_DEBUG_LEVEL_INFO, "rejected");
    report(VANTIX_DEBUG_LEVEL_WARNING, "accepted");
    EXPECT_EQ(picky.seen, (std::vector<std::string>{"accepted"}));
    vantix_debug_destroy();
}

TEST(failure_helper, SetsTheTextAndLogsItAtWarning) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_debug_init("unit");
    capture_handler all(VANTIX_DEBUG_LEVEL_ALL);
    vantix_debug_add_handler(&all.table);
    vantix_report_error_internal("untouched by the logger");
    EXPECT_TRUE(all.seen.empty());
    fail_for_test();
    EXPECT_STREQ(vantix_get_last_error(), "Pad 3 is gone.");
    EXPECT_EQ(all.seen, (std::vector<std::string>{"Error reported: Pad 3 is gone."}));
    vantix_debug_destroy();
}

}  // namespace
