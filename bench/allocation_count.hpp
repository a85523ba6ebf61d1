// SPDX-License-Identifier: Apache-2.0
// Counting heap allocations in a benchmark program by wrapping the C
// allocator (operator new goes through it). Include it in one source file
// of a program: it defines malloc and friends.
#pragma once

#include <atomic>
#include <cstddef>

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void __libc_free(void *);
}

inline std::atomic<unsigned long> allocations{0};

extern "C" {
void *malloc(size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}
void *calloc(size_t n, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, size);
}
void *realloc(void *p, size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}
void free(void *p) { __libc_free(p); }
}
