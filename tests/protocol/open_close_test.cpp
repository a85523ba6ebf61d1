// SPDX-License-Identifier: Apache-2.0
// Opening and closing pads against the virtual pad: report order, start-up
// wait, failures at every step, the UUID, callbacks and reading.
#include <openssl/evp.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <string>

#include "core/pause.hpp"
#include "protocol/sim_fixture.hpp"

namespace {

using vantix::test::bytes;
using open_close = vantix::test::sim_pad_test;

bytes md5_of_table(padsim::pad &pad) {
    const bytes table = pad.stored(VANTIX_FEATURE_ERRORCORRECTION);
    bytes digest(16);
    unsigned int n = 0;
    EVP_Digest(table.data() + 1, 2048, digest.data(), &n, EVP_md5(), nullptr);
    return digest;
}

bool in_open_list(vantix_device *device) {
    return vantix_list_find(vantix_get_open_devices(), device) != nullptr;
}

TEST_F(open_close, OpenReadsWhatEveryLaterOperationNeedsInOrder) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire(), (std::vector<std::string>{"get 13", "get 100", "get 22", "get 13", "get 110", "get 13",
                                                "get 26"}));
    EXPECT_EQ(device->open, 1);
    EXPECT_EQ(device->display_info.width, 240);
    EXPECT_EQ(device->version_info.report_id, VANTIX_FEATURE_VERSIONINFO);
    ASSERT_NE(device->regions, nullptr);
    ASSERT_NE(device->uuid, nullptr);
    EXPECT_EQ(bytes(device->uuid, device->uuid + 16), md5_of_table(*pad));
    EXPECT_EQ(device->font, &vantix_default);
    EXPECT_NE(device->input_callbacks, nullptr);
    EXPECT_TRUE(in_open_list(device));

    EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device is already open.");
    EXPECT_EQ(device->open, 1);

    EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(device->open, 0);
    EXPECT_EQ(device->uuid, nullptr);
    EXPECT_EQ(device->regions, nullptr);
    EXPECT_EQ(device->input_callbacks, nullptr);
    EXPECT_FALSE(in_open_list(device));
    EXPECT_EQ(device->display_info.width, 240);  // kept by close
    EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device is already closed.");
    EXPECT_EQ(vantix_close_device(nullptr), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Parameter passed into vantix_close_device was null.");
    EXPECT_EQ(vantix_open_device(nullptr), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Parameter passed into vantix_open_device was null.");

    // A font chosen before open is kept.
    device->font = const_cast<vantix_enhanced_font *>(&ubuntu_mono_e_12pt);
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(device->font, &ubuntu_mono_e_12pt);
    EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
}

TEST_F(open_close, UuidIsStableUntilTheTableChanges) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    const bytes first(device->uuid, device->uuid + 16);
    vantix_close_device(device);
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(bytes(device->uuid, device->uuid + 16), first);

    vantix_hid_feature_error_correction_table table = vantix_get_error_correction_table(device);
    table.data[100] ^= 0x5A;
    ASSERT_EQ(vantix_set_error_correction(device, table), VANTIX_CODE_SUCCESS);
    unsigned char *fresh = vantix_get_device_uuid(device);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(bytes(fresh, fresh + 16), first);
    EXPECT_EQ(bytes(fresh, fresh + 16), md5_of_table(*pad));
    vantix_free_device_uuid(fresh);
    vantix_close_device(device);

    pad->fail_transfers(VANTIX_FEATURE_ERRORCORRECTION);
    EXPECT_EQ(vantix_get_device_uuid(device), nullptr);
}

TEST_F(open_close, UuidPrinter) {
    unsigned char uuid[16];
    for (int i = 0; i < 16; ++i)
        uuid[i] = static_cast<unsigned char>(i * 17);
    testing::internal::CaptureStdout();
    vantix_print_device_uuid(uuid);
    vantix_print_device_uuid(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Device UUID:\n   uuid = 00112233-4455-6677-8899-aabbccddeeff\nDevice UUID:\n  NULL\n");
}

TEST_F(open_close, EachFailingReadLeavesARecordThatOpensAgain) {
    for (uint8_t id : {VANTIX_FEATURE_DISPLAYINFO, VANTIX_FEATURE_VERSIONINFO, VANTIX_FEATURE_REGIONGET,
                       VANTIX_FEATURE_ERRORCORRECTION}) {
        pad->fail_transfers(id);
        EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_ERROR) << int(id);
        EXPECT_EQ(device->open, 0);
        EXPECT_EQ(device->regions, nullptr);
        EXPECT_EQ(device->uuid, nullptr);
        EXPECT_EQ(device->input_callbacks, nullptr);
        EXPECT_FALSE(in_open_list(device));
        EXPECT_FALSE(pad->is_open());  // the driver's handle was closed again
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS) << int(id);
        vantix_close_device(device);
    }
    // The failed record can also simply be freed (the fixture frees the list).
    pad->fail_transfers(VANTIX_FEATURE_REGIONGET);
    EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_ERROR);
}

// What an application may still try on a pad it has closed: each reaches
// the pad once it is open again, and nothing while it is closed.
struct pad_call {
    const char *name;
    bool (*succeeds)(vantix_device *);
    const char *closed_error;
};
const pad_call pad_calls[] = {
    {"feature get", [](vantix_device *d) { return vantix_get_version(d).report_id != 0; },
     "Problem getting a feature report (9): Bad file descriptor\n"},
    {"feature set",
     [](vantix_device *d) {
         return vantix_device_draw_text(d, "Hello", 10, 10, VANTIX_ALIGN_LEFT, 0) == VANTIX_CODE_SUCCESS;
     },
     "Problem sending a feature report (9): Bad file descriptor\n"},
    {"output",
     [](vantix_device *d) {
         unsigned char report[] = {1, 0};
         return vantix_hid_set_output_report(d, report, sizeof report) == VANTIX_CODE_SUCCESS;
     },
     "Problem writing to the device (9): Bad file descriptor\n"},
    {"input", [](vantix_device *d) { return vantix_device_read(d) == VANTIX_CODE_SUCCESS; },
     "Device is not open.\n"},
};

TEST_F(open_close, AClosedPadAnswersNothingUntilOpenedAgain) {
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    ASSERT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
    wire();
    for (const pad_call &call : pad_calls) {
        EXPECT_FALSE(call.succeeds(device)) << call.name;
        EXPECT_STREQ(vantix_get_last_error(), call.closed_error) << call.name;
    }
    EXPECT_TRUE(wire().empty());  // not even the text reached the pad

    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    for (const pad_call &call : pad_calls)
        EXPECT_TRUE(call.succeeds(device)) << call.name;
    EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
}

// Through the replaceable pause, as the fuzz targets do: no real sleeping.
TEST_F(open_close, APadStuckStartingUpOpensAfterAHundredPauses) {
    static unsigned paused_ms;
    paused_ms = 0;
    vantix::set_pause_function([](unsigned ms) { paused_ms += ms; });
    pad->stay_initialising(true);
    EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    vantix::set_pause_function(nullptr);
    EXPECT_GE(paused_ms, 10000u);
    vantix_close_device(device);
}

TEST_F(open_close, StartUpWaitPollsEveryHundredMilliseconds) {
    pad->stay_initialising(true);
    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(350));
        pad->stay_initialising(false);
    });
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    release.join();
    const unsigned polls = pad->status_polls();
    EXPECT_GE(polls, 4u + 2u);  // start-up polls, then the two interlock polls
    EXPECT_LE(polls, 8u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    vantix_close_device(device);

    // An unreadable status opens at once, with no start-up wait at all.
    pad->fail_transfers(VANTIX_FEATURE_DEVICE_STATUS, padsim::always);
    pad->clear_transfers();
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(wire().front(), "get 13 failed");
}

std::vector<uint8_t> received;
void record_type(vantix_device *, vantix_input_report *, uint8_t type, unsigned char *, unsigned int) {
    received.push_back(type);
}

TEST_F(open_close, CallbacksRegisteredBeforeOpenAreNeverCalled) {
    received.clear();
    vantix_register_input_callback(device, record_type);
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    pad->queue_input({VANTIX_INPUT_COORDINATE, 1, 0, 0, 0, 0});
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_TRUE(received.empty());

    vantix_register_input_callback(device, record_type);
    pad->queue_input({VANTIX_INPUT_COORDINATE, 1, 0, 0, 0, 0});
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(received, (std::vector<uint8_t>{VANTIX_INPUT_COORDINATE}));
    vantix_close_device(device);
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device is not open.\n");
}

}  // namespace
