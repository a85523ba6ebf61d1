// SPDX-License-Identifier: Apache-2.0
// Thin wrappers over POSIX threads and the wall clock for applications.
#include <sys/time.h>

#include <cstring>

#include "vantix-zelnar.h"

extern "C" {

void vantix_event_init(vantix_event *event) {
    pthread_mutex_init(&event->mutex, nullptr);
    pthread_cond_init(&event->cond, nullptr);
    event->triggered = 0;
}

void vantix_event_trigger(vantix_event *event) {
    pthread_mutex_lock(&event->mutex);
    event->triggered = 1;
    pthread_cond_signal(&event->cond);
    pthread_mutex_unlock(&event->mutex);
}

void vantix_event_reset(vantix_event *event) {
    pthread_mutex_lock(&event->mutex);
    event->triggered = 0;
    pthread_mutex_unlock(&event->mutex);
}

void vantix_event_wait(vantix_event *event) {
    pthread_mutex_lock(&event->mutex);
    while (!event->triggered)
        pthread_cond_wait(&event->cond, &event->mutex);
    pthread_mutex_unlock(&event->mutex);
}

void vantix_event_destroy(vantix_event *event) {
    vantix_event_trigger(event);
    pthread_cond_destroy(&event->cond);
    pthread_mutex_destroy(&event->mutex);
    event->triggered = 0;
}

void vantix_mutex_init(vantix_mutex *mutex) { pthread_mutex_init(&mutex->mutex, nullptr); }
void vantix_mutex_lock(vantix_mutex *mutex) { pthread_mutex_lock(&mutex->mutex); }
void vantix_mutex_unlock(vantix_mutex *mutex) { pthread_mutex_unlock(&mutex->mutex); }
void vantix_mutex_destroy(vantix_mutex *mutex) { pthread_mutex_destroy(&mutex->mutex); }

void vantix_thread_init(vantix_thread *thread, void *func, void *data) {
    vantix_thread_func entry = nullptr;
    static_assert(sizeof(entry) == sizeof(func));
    std::memcpy(&entry, &func, sizeof(entry));
    // A handle that never started stays zeroed so that joining it is harmless.
    if (!entry || pthread_create(&thread->thread, nullptr, entry, data) != 0)
        std::memset(&thread->thread, 0, sizeof(thread->thread));
}

void vantix_thread_join(vantix_thread *thread) {
    pthread_t none;
    std::memset(&none, 0, sizeof(none));
    if (std::memcmp(&thread->thread, &none, sizeof(none)) == 0)
        return;
    pthread_join(thread->thread, nullptr);
}

unsigned int vantix_get_ticks(void) {
    timeval now{};
    gettimeofday(&now, nullptr);
    return static_cast<unsigned int>(now.tv_sec) * 1000u + static_cast<unsigned int>(now.tv_usec) / 1000u;
}

}  // extern "C"
