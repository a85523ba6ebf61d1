// SPDX-License-Identifier: Apache-2.0
// The Linux driver without a pad: descriptor parsing, ID parsing, transport
// error paths and the hotplug thread's start and stop.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <random>
#include <string>
#include <vector>

#include "core/device_flags.hpp"
#include "platform/linux/linux_driver.hpp"
#include "platform/linux/reader_wake.hpp"
#include "support/scoped_env.hpp"

namespace {

using map = std::vector<unsigned char>;

map parse(const std::vector<unsigned char> &descriptor) {
    map ids(256, 0xEE);  // one guard byte past the 255 entries
    parse_hid_descriptor(descriptor.data(), static_cast<unsigned int>(descriptor.size()), ids.data());
    return ids;
}

std::vector<int> declared(const map &ids) {
    std::vector<int> out;
    for (int i = 0; i < 255; ++i)
        if (ids[i])
            out.push_back(i);
    return out;
}

TEST(hid_descriptor, ReportIdItemsOfEverySize) {
    // Usage page, collection, then report IDs 1 (0x85), 2 (0x86, two data
    // bytes skipped), 13 (0x87, four bytes), an input item, end collection.
    const map ids = parse({0x06, 0x00, 0xFF, 0xA1, 0x01, 0x85, 0x01, 0x86, 0x02, 0x85, 0x87, 0x0D, 0x00, 0x00,
                           0x85, 0x81, 0x02, 0xC0});
    EXPECT_EQ(declared(ids), (std::vector<int>{1, 2, 13}));
    EXPECT_EQ(ids[255], 0xEE);
}

TEST(hid_descriptor, IdsOfEveryDirectionCountAndIdTwoFiftyFiveIsIgnored) {
    const map ids =
        parse({0x85, 0x0B, 0x81, 0x02, 0x85, 0x64, 0x91, 0x02, 0x85, 0xFE, 0xB1, 0x02, 0x85, 0xFF});
    EXPECT_EQ(declared(ids), (std::vector<int>{11, 100, 254}));
    EXPECT_EQ(ids[255], 0xEE);
}

TEST(hid_descriptor, TruncatedItemsAreIgnored) {
    EXPECT_TRUE(declared(parse({0x85})).empty());
    EXPECT_TRUE(declared(parse({0x86, 0x05})).empty());  // second data byte missing
    EXPECT_TRUE(declared(parse({0x84, 0x07})).empty());  // a Report ID without data names nothing
    const map whole = parse({0x85, 0x03, 0x87, 0x04, 0x00});
    EXPECT_EQ(declared(whole), (std::vector<int>{3}));
}

TEST(hid_descriptor, LongItemDataIsNotReadAsItems) {
    // Long item: 0xFE, data size 3, long tag, then data that looks like a
    // Report ID item; then a real one.
    EXPECT_EQ(declared(parse({0xFE, 0x03, 0x10, 0x85, 0x09, 0x00, 0x85, 0x05})), (std::vector<int>{5}));
    EXPECT_TRUE(declared(parse({0xFE, 0x40, 0x10, 0x85, 0x09})).empty());  // runs past the end
}

TEST(hid_descriptor, HostileBytesNeverReadPastTheLength) {
    std::mt19937 random(1234);
    for (int round = 0; round < 2000; ++round) {
        // Exactly-sized heap buffers let the sanitizers catch any overread.
        const size_t len = random() % 4097;
        std::vector<unsigned char> bytes(len);
        for (unsigned char &b : bytes)
            b = static_cast<unsigned char>(random());
        const map ids = parse(bytes);
        ASSERT_EQ(ids[255], 0xEE);
    }
    parse_hid_descriptor(nullptr, 10, map(255).data());
    parse_hid_descriptor(map(1).data(), 1, nullptr);
}

TEST(hex_ids, LowerCaseSixteenBitValuesOnly) {
    EXPECT_EQ(vantix_hex_to_decimal("1001"), 4097);
    EXPECT_EQ(vantix_hex_to_decimal("ff"), 255);
    EXPECT_EQ(vantix_hex_to_decimal("ffff"), 65535);
    EXPECT_EQ(vantix_hex_to_decimal("0000"), 0);
    EXPECT_EQ(vantix_hex_to_decimal(""), 0);
    EXPECT_EQ(vantix_hex_to_decimal("ABCD"), -1);
    EXPECT_EQ(vantix_hex_to_decimal("12g4"), -1);
    EXPECT_EQ(vantix_hex_to_decimal("10000"), -1);
    EXPECT_EQ(vantix_hex_to_decimal(std::string(100, 'f').c_str()), -1);
    EXPECT_EQ(vantix_hex_to_decimal(nullptr), -1);
}

int open_descriptor_count() {
    int count = 0;
    if (DIR *dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

struct transport : ::testing::Test {
    vantix::test::scoped_env env;
    vantix_device pad{};
    char path[64] = "/nonexistent/hidraw9";
    transport() {
        env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
        pad.path = path;
        pad.parameters.handle = -1;
    }
};

TEST_F(transport, OpeningAMissingNodeGivesTheErrnoText) {
    EXPECT_EQ(vantix_real_open_device(&pad), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Problem opening device (2): No such file or directory\n");
}

TEST_F(transport, ANodeWithoutHidrawIoctlsFailsOpenAndIsClosedAgain) {
    std::strcpy(path, "/dev/null");
    const int before = open_descriptor_count();
    EXPECT_EQ(vantix_real_open_device(&pad), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(),
                 "Unable to get HID report descriptor size (25): Inappropriate ioctl for device\n");
    EXPECT_EQ(open_descriptor_count(), before);
    EXPECT_EQ(pad.parameters.handle, -1);
}

TEST_F(transport, FeatureReportsCheckTheMapBeforeAnyIo) {
    pad.parameters.handle = open("/dev/null", O_RDWR);
    ASSERT_GE(pad.parameters.handle, 0);
    pad.parameters.hid_report_map[13] = 1;
    unsigned char report[73] = {100};
    EXPECT_EQ(vantix_real_hid_get_feature_report(&pad, report, 73), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Report id 100 isn't supported by this device.\n");
    EXPECT_EQ(vantix_real_hid_set_feature_report(&pad, report, 73), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Report id 100 isn't supported by this device.\n");
    report[0] = 255;
    EXPECT_EQ(vantix_real_hid_set_feature_report(&pad, report, 73), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Report id 255 isn't supported by this device.\n");

    // Declared, but the node refuses the ioctl.
    report[0] = 13;
    EXPECT_EQ(vantix_real_hid_set_feature_report(&pad, report, 2), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(),
                 "Problem sending HID report 13 (25): Inappropriate ioctl for device\n");
    EXPECT_EQ(vantix_real_hid_get_feature_report(&pad, report, 2049), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(),
                 "Problem getting HID report 13 (25): Inappropriate ioctl for device\n");

    EXPECT_EQ(vantix_real_hid_get_feature_report(&pad, nullptr, 2), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_real_hid_get_feature_report(&pad, report, 0), VANTIX_CODE_ERROR);
    EXPECT_EQ(vantix_real_hid_get_feature_report(&pad, report, 1u << 20), VANTIX_CODE_ERROR);

    EXPECT_EQ(vantix_real_hid_set_output_report(&pad, report, 2), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_real_close_device(&pad), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(vantix_real_close_device(&pad), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Problem closing device (9): Bad file descriptor\n");
}

// A pad whose node is a pipe: nothing arrives unless the test writes.
struct quiet_pad : transport {
    int ends[2] = {-1, -1};
    quiet_pad() {
        EXPECT_EQ(pipe(ends), 0);
        pad.parameters.handle = ends[0];
        pad.driver = &vantix_real_driver;
        EXPECT_TRUE(vantix::linux_driver::create_reader_wake(&pad));
        vantix::set_open(&pad, true);
    }
    ~quiet_pad() override { close(ends[1]); }

    // Closes through `stop` while the read thread waits for input; the thread
    // has ended when it returns. Prints how long the close took.
    void close_while_reading(const char *what, void (*stop)(vantix_device *)) {
        vantix_device_read_until_done(&pad);
        ASSERT_FALSE(pthread_equal(pad.parameters.readUntilDoneThread, pthread_t{}));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // into its wait
        const auto started = std::chrono::steady_clock::now();
        stop(&pad);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
        EXPECT_TRUE(pthread_equal(pad.parameters.readUntilDoneThread, pthread_t{}));  // joined
        EXPECT_FALSE(vantix::is_open(&pad));
        EXPECT_EQ(vantix::linux_driver::reader_wake_fd(&pad), -1);
        std::printf("%s while the read thread waits: %.3f ms\n", what, took.count());
    }
};

TEST_F(quiet_pad, CloseEndsTheWaitingReadThread) {
    close_while_reading("vantix_close_device", [](vantix_device *d) { vantix_close_device(d); });
}

TEST_F(quiet_pad, ReadDoneEndsTheWaitingReadThread) {
    close_while_reading("vantix_device_read_done", vantix_device_read_done);
}

TEST(hotplug_thread, StartsOnceAndStopsPromptly) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    const int before = open_descriptor_count();
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) {
        vantix_init();
        ASSERT_EQ(vantix_real_thread_running(), 1);
        vantix_list *callbacks = vantix_get_device_callbacks();
        vantix_init();  // a second start keeps the thread and the list
        ASSERT_EQ(vantix_get_device_callbacks(), callbacks);
        vantix_destroy();
        ASSERT_EQ(vantix_real_thread_running(), 0);
        vantix_real_thread_wait();  // already joined: returns at once
    }
    // A stop that waited for the next udev event would hang here; this
    // bound only catches that, it is not a speed target.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(open_descriptor_count(), before);
}

TEST(hotplug_thread, AWaiterIsReleasedByAStopFromAnotherThread) {
    vantix::test::scoped_env env;
    env.unset("VANTIX_DEBUG").unset("VANTIX_TRACE");
    vantix_init();
    std::thread waiter([] { vantix_real_thread_wait(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    vantix_destroy();  // must not be blocked by the waiter
    waiter.join();
    EXPECT_EQ(vantix_real_thread_running(), 0);
}

}  // namespace
