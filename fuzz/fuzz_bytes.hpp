// SPDX-License-Identifier: Apache-2.0
// Taking typed values off the front of a fuzz input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantix::fuzz {

class bytes {
public:
    bytes(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    // The next byte, or 0 once the input is used up.
    uint8_t take() {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }
    // The next `count` bytes (fewer at the end) in a buffer of exactly that size.
    std::vector<unsigned char> take(size_t count) {
        if (count > size_)
            count = size_;
        std::vector<unsigned char> out(data_, data_ + count);
        data_ += count;
        size_ -= count;
        return out;
    }
    std::vector<unsigned char> rest() { return take(size_); }
    bool empty() const { return size_ == 0; }

private:
    const uint8_t *data_;
    size_t size_;
};

}  // namespace vantix::fuzz
