// SPDX-License-Identifier: Apache-2.0
// Fingerprint facts and the release-file readers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "debug/module.hpp"
#include "support/list_range.hpp"
#include "support/scoped_env.hpp"
#include "vantix-zelnar.h"

namespace {

using vantix::test::write_file;

struct release_files : ::testing::Test {
    vantix::test::temp_dir dir;

    std::string distribution(std::initializer_list<std::string> names, const std::string &redhat = "") {
        std::vector<std::string> paths;
        std::vector<const char *> files;
        for (const std::string &name : names)
            paths.push_back(dir.file(name));
        for (const std::string &p : paths)
            files.push_back(p.c_str());
        const std::string redhat_path = dir.file(redhat.empty() ? "absent-redhat" : redhat);
        char *found = vantix::debug::distribution_from(files.data(), files.size(), redhat_path.c_str());
        std::string result = found ? found : "(null)";
        std::free(found);
        return result;
    }
};

TEST_F(release_files, QuotedAndUnquotedValues) {
    write_file(dir.file("quoted"), "NAME=x\nPRETTY_NAME=\"Debian GNU/Linux 12\"\n");
    write_file(dir.file("no-newline"), "PRETTY_NAME=\"Debian GNU/Linux 12\"");
    write_file(dir.file("bare"), "PRETTY_NAME=Plain Linux\n");
    write_file(dir.file("single"), "PRETTY_NAME='kept as is'\n");
    EXPECT_EQ(distribution({"quoted"}), "Debian GNU/Linux 12");
    EXPECT_EQ(distribution({"no-newline"}), "Debian GNU/Linux 12");
    EXPECT_EQ(distribution({"bare"}), "Plain Linux");
    EXPECT_EQ(distribution({"single"}), "'kept as is'");
}

TEST_F(release_files, FirstFileWithANameWinsThenRedHatThenNothing) {
    write_file(dir.file("os-release"), "ID=debian\n");
    write_file(dir.file("lsb-release"), "DISTRIB_ID=Ubuntu\nDISTRIB_DESCRIPTION=\"Ubuntu 22.04\"\n");
    write_file(dir.file("redhat-release"), "Fedora release 39 (Thirty Nine)\nsecond line\n");
    write_file(dir.file("empty-redhat"), "");
    EXPECT_EQ(distribution({"missing", "os-release", "lsb-release"}), "Ubuntu 22.04");
    EXPECT_EQ(distribution({"os-release"}, "redhat-release"), "Fedora release 39 (Thirty Nine)");
    EXPECT_EQ(distribution({"missing"}, "empty-redhat"), "(null)");
    EXPECT_EQ(distribution({}), "(null)");
}

TEST_F(release_files, KeyValueFileEdges) {
    const std::string long_line = "LONG=" + std::string(3000, 'v') + "\n";
    write_file(dir.file("kv"), "no equals here\nA=1=2\nQ=\"\n" + long_line + "=empty key\n");
    vantix_list *list = vantix_create_list();
    ASSERT_EQ(read_key_value_pair_file(dir.file("kv").c_str(), list), 1);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (key_value_pair *pair : vantix::list_range<key_value_pair>(list))
        pairs.emplace_back(pair->key, pair->value);
    free_keypair_list(list);
    ASSERT_GE(pairs.size(), 4u);
    EXPECT_EQ(pairs[0], std::make_pair(std::string("A"), std::string("1=2")));
    EXPECT_EQ(pairs[1], std::make_pair(std::string("Q"), std::string("")));
    EXPECT_EQ(pairs[2].first, "LONG");
    EXPECT_EQ(pairs[2].second.size(), 2047u - 5);  // the rest of the line is read as another line
    EXPECT_EQ(pairs.back(), std::make_pair(std::string(""), std::string("empty key")));

    vantix_list *untouched = vantix_create_list();
    EXPECT_EQ(read_key_value_pair_file(dir.file("missing").c_str(), untouched), 0);
    EXPECT_EQ(vantix_list_count(untouched), 0u);
    free_keypair_list(untouched);
}

TEST(fingerprint, FactsOfThisProcess) {
    char *name = vantix_debug_get_current_process_name();
    char expected[PATH_MAX] = {0};
    ASSERT_GT(readlink("/proc/self/exe", expected, sizeof expected - 1), 0);
    EXPECT_STREQ(name, expected);
    std::free(name);
    EXPECT_STREQ(vantix_debug_get_process_architecture(), sizeof(void *) == 8 ? "x64" : "x32");
    EXPECT_STRNE(vantix_debug_get_native_architecture(), "");
    EXPECT_EQ(vantix_debug_get_native_architecture(), vantix_debug_get_native_architecture());
    EXPECT_STRNE(vantix_debug_get_operating_system(), "");
}

TEST(fingerprint, LogStartsWithKernelRecordOnlyOncePerProcess) {
    vantix::test::scoped_env env;
    vantix::test::temp_dir dir;
    env.set("VANTIX_DEBUG", "1").set("VANTIX_DEBUG_LOCATION", dir.path()).set("VANTIX_DEBUG_FILE", "l.log");
    env.unset("VANTIX_TRACE").unset("VANTIX_DEBUG_LEVEL").unset("VANTIX_DEBUG_HANDLERS");
    vantix_debug_init("fp");
    std::string text = vantix::test::read_file(dir.file("l.log"));
    EXPECT_EQ(text.rfind("vantix_debug_get_native_architecture() [level: INFO", 0), 0u) << text;
    const size_t second = text.find("\nvantix_debug_print_fingerprint() [level: INFO");
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(text.find("Linux kernel version is "), std::string::npos);
    vantix_debug_destroy();

    vantix_debug_init("fp");  // same file, truncated; the kernel is not looked up again
    text = vantix::test::read_file(dir.file("l.log"));
    EXPECT_EQ(text.find("Linux kernel version is "), std::string::npos);
    EXPECT_EQ(text.rfind("vantix_debug_print_fingerprint() [level: INFO", 0), 0u);
    vantix_debug_destroy();
}

}  // namespace
