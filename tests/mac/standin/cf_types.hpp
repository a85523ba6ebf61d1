// SPDX-License-Identifier: Apache-2.0
// The CoreFoundation value types of the stand-in.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "objects.hpp"

namespace standin {

struct cf_string : object {
    explicit cf_string(std::string t) : object(kind::string), text(std::move(t)) {}
    const std::string text;  // UTF-8
};

struct cf_number : object {
    explicit cf_number(int64_t v) : object(kind::number), value(v) {}
    const int64_t value;
};

struct cf_data : object {
    explicit cf_data(std::vector<uint8_t> b) : object(kind::data), bytes(std::move(b)) {}
    const std::vector<uint8_t> bytes;
};

// Sets and dictionaries retain what they contain and release it with themselves.
struct cf_set : object {
    explicit cf_set(std::vector<CFTypeRef> v);
    ~cf_set() override;
    const std::vector<CFTypeRef> values;
};

struct cf_dictionary : object {
    cf_dictionary() : object(kind::dictionary) {}
    ~cf_dictionary() override;
    std::vector<std::pair<CFTypeRef, CFTypeRef>> entries;
};

}  // namespace standin
