// SPDX-License-Identifier: Apache-2.0
// Lists, last-error text, events, threads and ticks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "vantix-zelnar.h"

namespace {

struct list_fixture : ::testing::Test {
    vantix_list *list = vantix_create_list();
    int a = 1, b = 2, c = 3;
    ~list_fixture() override { vantix_list_free(list); }
};

TEST_F(list_fixture, RemovingItemsKeepsBothEndsConsistent) {
    vantix_list_item *only = vantix_list_add(list, &a);
    ASSERT_EQ(vantix_list_remove(list, only), 1);
    EXPECT_EQ(list->first, nullptr);
    EXPECT_EQ(list->last, nullptr);

    vantix_list_item *first = vantix_list_add(list, &a);
    vantix_list_item *second = vantix_list_add(list, &b);
    EXPECT_EQ(first->next, second);
    EXPECT_EQ(second->prev, first);
    vantix_list_remove(list, first);
    EXPECT_EQ(list->first, second);
    EXPECT_EQ(list->last, second);
    EXPECT_EQ(second->prev, nullptr);

    vantix_list_add(list, &c);
    vantix_list_item *middle_owner = vantix_list_add(list, &a);
    vantix_list_remove(list, list->first->next);  // the middle one
    EXPECT_EQ(list->first->next, middle_owner);
    EXPECT_EQ(middle_owner->prev, list->first);
    EXPECT_EQ(vantix_list_count(list), 2u);
}

TEST_F(list_fixture, RemovePtrTakesTheOccurrenceNearestTheFront) {
    vantix_list_add(list, &a);
    vantix_list_add(list, &b);
    vantix_list_add(list, &a);
    EXPECT_EQ(vantix_list_remove_ptr(list, &a), 1);
    ASSERT_EQ(vantix_list_count(list), 2u);
    EXPECT_EQ(list->first->ptr, &b);
    EXPECT_EQ(list->last->ptr, &a);
    EXPECT_EQ(vantix_list_remove_ptr(list, &c), 0);
    EXPECT_EQ(vantix_list_find(list, &b), list->first);
}

TEST(list, NullListsAreHarmless) {
    int x = 0;
    EXPECT_EQ(vantix_list_count(nullptr), 0u);
    EXPECT_EQ(vantix_list_add(nullptr, &x), nullptr);
    EXPECT_EQ(vantix_list_find(nullptr, &x), nullptr);
    EXPECT_EQ(vantix_list_remove(nullptr, nullptr), 0);
    EXPECT_EQ(vantix_list_remove_ptr(nullptr, &x), 0);
    vantix_list_free(nullptr);
}

TEST(last_error, KeepsAtMost1022CharactersAndATerminatedBuffer) {
    const std::string long_text(2000, 'x');
    vantix_report_error_internal("%s", long_text.c_str());
    const char *text = vantix_get_last_error();
    EXPECT_EQ(std::string(text), long_text.substr(0, 1022));
    EXPECT_EQ(text[1023], '\0');
    EXPECT_EQ(vantix_get_last_error_internal(), text);  // the buffer itself

    vantix_report_error_internal("short %d", 5);
    EXPECT_STREQ(vantix_get_last_error(), "short 5");
}

TEST(event, StaysSignalledUntilReset) {
    vantix_event event;
    vantix_event_init(&event);
    vantix_event_trigger(&event);
    vantix_event_wait(&event);  // returns at once
    vantix_event_wait(&event);  // still set
    vantix_event_reset(&event);

    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        vantix_event_wait(&event);
        woke = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(woke.load());
    vantix_event_trigger(&event);
    waiter.join();
    EXPECT_TRUE(woke.load());
    vantix_event_destroy(&event);
    EXPECT_EQ(event.triggered, 0);
}

void *store_argument(void *data) {
    *static_cast<int *>(data) = 42;
    return nullptr;
}

TEST(thread, RunsItsFunctionAndJoins) {
    int value = 0;
    vantix_thread thread;
    vantix_thread_init(&thread, reinterpret_cast<void *>(&store_argument), &value);
    vantix_thread_join(&thread);
    EXPECT_EQ(value, 42);
}

TEST(thread, ANullFunctionStartsNothingAndJoinReturns) {
    vantix_thread thread;
    vantix_thread_init(&thread, nullptr, nullptr);
    vantix_thread_join(&thread);  // must not block or crash
}

TEST(mutex, LocksAcrossThreads) {
    vantix_mutex mutex;
    vantix_mutex_init(&mutex);
    int counter = 0;
    auto work = [&] {
        for (int i = 0; i < 10000; ++i) {
            vantix_mutex_lock(&mutex);
            ++counter;
            vantix_mutex_unlock(&mutex);
        }
    };
    std::thread t1(work), t2(work);
    t1.join();
    t2.join();
    vantix_mutex_destroy(&mutex);
    EXPECT_EQ(counter, 20000);
}

TEST(ticks, FollowTheWallClockInMilliseconds) {
    const unsigned int before = vantix_get_ticks();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const unsigned int elapsed = vantix_get_ticks() - before;  // wraps like the ticks do
    EXPECT_GE(elapsed, 190u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(open_devices, ListPointerIsReplacedUnderTheLock) {
    EXPECT_EQ(vantix_get_open_devices(), nullptr);
    vantix_list *list = vantix_create_list();
    vantix_set_open_devices(list);
    EXPECT_EQ(vantix_get_open_devices(), list);
    vantix_lock_open_devices();
    vantix_unlock_open_devices();
    vantix_set_open_devices(nullptr);
    vantix_list_free(list);
}

}  // namespace
