// SPDX-License-Identifier: Apache-2.0
// Input through the pad's private run-loop mode: several reports per read,
// reads from another thread, removal during a read, a close waking a read.
#include <atomic>
#include <future>
#include <string>
#include <thread>

#include "mac/mac_fixture.hpp"
#include "support/log_capture.hpp"

namespace {

struct reading : vantix::test::mac_driver_test {
    reading() {
        id = attach();
        device = list();
        calls = 0;
        EXPECT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
        vantix_register_input_callback(device, count);
    }
    ~reading() override {
        if (device->open)
            vantix_close_device(device);
    }

    static void count(vantix_device *, vantix_input_report *, uint8_t, unsigned char *, unsigned int) {
        ++calls;
    }
    static inline std::atomic<int> calls{0};

    // Reads until `n` reports arrived; each read waits at most a second.
    void read_until(int n) {
        for (int tries = 0; calls < n && tries < 20; ++tries)
            ASSERT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    }

    standin::device_id id;
    vantix_device *device = nullptr;
};

// Runs ignore their time limit while this lives, so a read waiting for input
// returns only when something wakes it; end() lets it time out again, so
// that a failing test leaves nothing waiting.
struct untimed_runs {
    untimed_runs() { standin::set_untimed_runs(true); }
    ~untimed_runs() { end(); }
    void end() { standin::set_untimed_runs(false); }
};

// Far beyond any wake-up: only a read that nothing woke takes this long.
constexpr std::chrono::seconds wake_deadline{60};

void wait_until_waiting(pthread_t thread) {
    while (!standin::waiting_in_run(thread))
        std::this_thread::yield();
}

template <typename T>
bool ready_in_time(std::future<T> &outcome, untimed_runs &untimed) {
    const bool ready = outcome.wait_for(wake_deadline) == std::future_status::ready;
    untimed.end();
    return ready;
}

TEST_F(reading, ClosingWakesTheReadThreadWaitingForInput) {
    untimed_runs untimed;
    vantix_device_read_until_done(device);
    wait_until_waiting(device->parameters.readUntilDoneThread);
    std::future<vantix_error_code> closed = std::async(std::launch::async, vantix_close_device, device);
    ASSERT_TRUE(ready_in_time(closed, untimed));
    EXPECT_EQ(closed.get(), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(device->open, 0);
    EXPECT_TRUE(pthread_equal(device->parameters.readUntilDoneThread, pthread_t{}));  // ended and joined
}

TEST_F(reading, ClosingEndsAReadWaitingOnAnotherThread) {
    untimed_runs untimed;
    std::promise<std::string> outcome;
    std::future<std::string> read = outcome.get_future();
    std::thread reader([&] {
        const vantix_error_code result = vantix_device_read(device);
        outcome.set_value(result == VANTIX_CODE_SUCCESS ? "success" : vantix_get_last_error());
    });
    wait_until_waiting(reader.native_handle());
    EXPECT_EQ(vantix_close_device(device), VANTIX_CODE_SUCCESS);
    const bool woken = ready_in_time(read, untimed);
    reader.join();
    ASSERT_TRUE(woken);
    EXPECT_EQ(read.get(), "Device is not open after read");
}

TEST_F(reading, ReportsQueuedTogetherArriveInOneRead) {
    // Both waiting when the pad opens: one run of the pad's mode hands
    // over both.
    vantix_close_device(device);
    pads[0]->pen_sample({100, 100}, true);
    pads[0]->pen_sample({110, 100}, true);
    ASSERT_EQ(vantix_open_device(device), VANTIX_CODE_SUCCESS);
    vantix_register_input_callback(device, count);
    while (true) {
        ASSERT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
        if (calls > 0)
            break;
    }
    EXPECT_EQ(calls, 2);
}

TEST_F(reading, AReadWithNothingPendingTimesOutQuietly) {
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_SUCCESS);
    EXPECT_EQ(calls, 0);
}

TEST_F(reading, AnotherThreadTakesThePadOver) {
    pads[0]->tap({100, 100});
    read_until(1);
    ASSERT_GE(calls, 1);
    const int before = calls;
    std::thread other([&] {
        pads[0]->tap({120, 100});
        read_until(before + 1);
    });
    other.join();
    EXPECT_GT(calls, before);
    // And back to this thread.
    pads[0]->tap({140, 100});
    read_until(calls + 1);
}

TEST_F(reading, TheReadThreadDeliversUntilDone) {
    vantix_device_read_until_done(device);
    pads[0]->tap({100, 100});
    while (calls == 0)
        std::this_thread::yield();
    vantix_device_read_done(device);
    EXPECT_EQ(device->open, 0);
}

TEST_F(reading, RemovalDuringAReadClosesThePadOnce) {
    vantix::test::log_capture log(VANTIX_DEBUG_LEVEL_WARNING);
    std::atomic<bool> reading_now{false};
    vantix_error_code result = VANTIX_CODE_SUCCESS;
    std::thread reader([&] {
        reading_now = true;
        while (result == VANTIX_CODE_SUCCESS)
            result = vantix_device_read(device);
    });
    while (!reading_now)
        std::this_thread::yield();
    pads[0]->tap({100, 100});  // may still be queued when the pad goes
    standin::unplug(id);
    reader.join();
    EXPECT_EQ(result, VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device is not open after read");
    EXPECT_EQ(device->open, 0);
    EXPECT_EQ(log.count(VANTIX_DEBUG_LEVEL_WARNING, "Error reported: Device is already closed"), 0);
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device is not open");
}

TEST_F(reading, RemovalBeforeTheFirstReadIsNoticedByIt) {
    standin::unplug(id);
    EXPECT_EQ(device->open, 1);  // not scheduled yet: nothing delivered
    EXPECT_EQ(vantix_device_read(device), VANTIX_CODE_ERROR);
    EXPECT_STREQ(vantix_get_last_error(), "Device is not open after read");
    EXPECT_EQ(device->open, 0);
}

}  // namespace
