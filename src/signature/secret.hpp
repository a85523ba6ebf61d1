// SPDX-License-Identifier: Apache-2.0
// Memory for plain pen data: every block is wiped before it goes back to
// the heap, also the ones a growing string leaves behind.
#pragma once

#include <openssl/crypto.h>

#include <memory>
#include <string>

namespace vantix::signature {

template <class T>
struct wiping_allocator : std::allocator<T> {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = wiping_allocator<U>;
    };
    wiping_allocator() = default;
    template <class U>
    wiping_allocator(const wiping_allocator<U> &) {}
    void deallocate(T *p, std::size_t n) {
        OPENSSL_cleanse(p, n * sizeof(T));
        std::allocator<T>::deallocate(p, n);
    }
};

// A string of pen data. Its short-string buffer is never used for a record
// (one is hundreds of bytes at least), and the destructor wipes it anyway.
class secret_string : public std::basic_string<char, std::char_traits<char>, wiping_allocator<char>> {
public:
    using basic_string::basic_string;
    secret_string() = default;
    secret_string(const secret_string &) = default;
    secret_string(secret_string &&) = default;
    secret_string &operator=(const secret_string &) = default;
    secret_string &operator=(secret_string &&) = default;
    ~secret_string() { OPENSSL_cleanse(data(), size()); }
};

}  // namespace vantix::signature
