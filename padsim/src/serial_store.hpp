// SPDX-License-Identifier: Apache-2.0
// The serial-number area (report 27): 32 stored bytes, written only with
// the write key in bytes 33 and 34.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "padsim/model.hpp"
#include "wire.hpp"

namespace padsim {

class serial_store {
public:
    explicit serial_store(const model &m);

    // Bytes 1..32 are the stored area; the key bytes read back as 0.
    wire::bytes read() const;
    // Stores bytes 1..32 when bytes 33 and 34 carry the key.
    bool write(const wire::bytes &report);

    const std::array<std::uint8_t, 32> &raw() const { return area_; }
    void set(const std::string &serial);

private:
    static constexpr std::size_t key_at = 33;
    std::array<std::uint8_t, 32> area_{};
    std::string key_;
};

}  // namespace padsim
