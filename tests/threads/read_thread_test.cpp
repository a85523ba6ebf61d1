// SPDX-License-Identifier: Apache-2.0
// The per-pad read thread: delivery, closing from other threads and from
// its own callbacks, and many open/read/close cycles.
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "protocol/sim_fixture.hpp"

namespace {

using namespace std::chrono_literals;

// No start-up wait: a pad without the status report opens at once.
padsim::model quick_pad() {
    padsim::model m;
    m.undeclared_reports = {VANTIX_FEATURE_DEVICE_STATUS};
    return m;
}

struct read_thread : vantix::test::sim_pad_test {
    read_thread() : sim_pad_test(quick_pad()) {}

    static inline std::atomic<int> calls{0};
    static inline std::atomic<int> action{0};  // what the callback does to its own pad
    enum { nothing, close_pad, read_done, reopen };

    static void callback(vantix_device *device, vantix_input_report *, uint8_t, unsigned char *,
                         unsigned int) {
        ++calls;
        if (action == close_pad) {
            vantix_close_device(device);
        } else if (action == read_done) {
            vantix_device_read_done(device);
        } else if (action == reopen) {
            action = nothing;
            vantix_close_device(device);
            if (vantix_open_device(device) == VANTIX_CODE_SUCCESS) {
                vantix_register_input_callback(device, callback);
                vantix_device_read_until_done(device);
            }
        }
    }

    void open_and_start() {
        calls = 0;
        action = nothing;
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        vantix_register_input_callback(device, callback);
        vantix_device_read_until_done(device);
    }

    // The read thread may close the pad: read the flag as the library does.
    bool open_now() const { return __atomic_load_n(&device->open, __ATOMIC_ACQUIRE) != 0; }

    void send_sample() { pad->queue_input({VANTIX_INPUT_COORDINATE, 1, 1, 0, 2, 0}); }

    static bool eventually(const std::function<bool()> &condition) {
        for (auto until = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < until;) {
            if (condition())
                return true;
            std::this_thread::sleep_for(1ms);
        }
        return condition();
    }
};

TEST_F(read_thread, DeliversUntilClosedFromAnotherThread) {
    open_and_start();
    for (int i = 0; i < 5; ++i)
        send_sample();
    ASSERT_TRUE(eventually([] { return calls == 5; }));
    std::thread closer([this] { EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS); });
    closer.join();
    const int after_close = calls;
    send_sample();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(calls, after_close);
    EXPECT_FALSE(open_now());
}

TEST_F(read_thread, ACallbackMayCloseItsOwnPad) {
    open_and_start();
    action = close_pad;
    send_sample();
    send_sample();
    ASSERT_TRUE(eventually([this] { return !open_now(); }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(calls, 1);  // nothing after close
    // The record can be opened and read again, then freed by the fixture.
    action = nothing;
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    vantix_register_input_callback(device, callback);
    send_sample();
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(calls, 2);
}

TEST_F(read_thread, ACallbackMayReopenItsPadAndReadOn) {
    open_and_start();
    action = reopen;
    send_sample();
    ASSERT_TRUE(eventually([] { return calls == 1 && action == nothing; }));
    send_sample();  // read by the thread the callback started
    ASSERT_TRUE(eventually([] { return calls == 2; }));
    EXPECT_TRUE(open_now());
    EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);  // stops and joins it
    send_sample();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(calls, 2);
}

TEST_F(read_thread, ReadDoneFromACallbackOrFromOutside) {
    open_and_start();
    action = read_done;
    send_sample();
    ASSERT_TRUE(eventually([this] { return !open_now(); }));

    open_and_start();
    send_sample();
    ASSERT_TRUE(eventually([] { return calls == 1; }));
    vantix_device_read_done(device);
    EXPECT_FALSE(open_now());
    vantix_device_read_done(device);  // no thread any more: nothing to do
}

TEST_F(read_thread, AReadErrorClosesThePadAndEndsTheThread) {
    open_and_start();
    send_sample();
    ASSERT_TRUE(eventually([] { return calls == 1; }));
    pad->unplug();
    ASSERT_TRUE(eventually([this] { return !open_now(); }));
    EXPECT_STREQ(vantix_get_last_error(), "Problem reading from the device (19): No such device\n");
}

TEST_F(read_thread, ManyOpenReadCloseCycles) {
    for (int cycle = 0; cycle < 1000; ++cycle) {
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        vantix_register_input_callback(device, callback);
        send_sample();
        ASSERT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
        ASSERT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
    }
    calls = 0;
    for (int cycle = 0; cycle < 5; ++cycle) {
        open_and_start();
        send_sample();
        ASSERT_TRUE(eventually([] { return calls == 1; }));
        ASSERT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
    }
}

// Applications send unplug notices from their hotplug callbacks, on the
// hotplug thread, while their own threads open and close pads.
TEST_F(read_thread, UnplugNoticesWhileThePadOpensAndCloses) {
    std::atomic<bool> stop{false};
    const std::string path = device->path;
    std::thread hotplug([&] {
        while (!stop.load())
            vantix_handle_device_unplug(path.c_str());
    });
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        ASSERT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
    }
    stop.store(true);
    hotplug.join();
}

}  // namespace
