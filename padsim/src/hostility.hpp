// SPDX-License-Identifier: Apache-2.0
// A pad that lies: seeded, repeatable mischief on top of the pad's honest
// answers. Replies come back cut short, filled with noise, or with counts
// claiming the most a field can hold (255, 65535); transfers fail at
// random; now and then the pad is pulled out; input reports arrive with
// random lengths and bytes.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace padsim {

class hostility {
public:
    explicit hostility(std::uint32_t seed) : random_(seed) {}

    // Whether this transfer fails, and whether the pad goes away now.
    bool fail_transfer() { return chance(1, 16); }
    bool unplug_now() { return chance(1, 400); }
    // Spoils an honest reply in place; its size stays what the host asked.
    void garble_reply(std::vector<std::uint8_t> &reply);
    // Spoils an input report, its length included (at least one byte).
    void garble_input(std::vector<std::uint8_t> &report);

private:
    bool chance(unsigned in, unsigned of) {
        return std::uniform_int_distribution<unsigned>(1, of)(random_) <= in;
    }
    std::size_t below(std::size_t bound) {
        return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_);
    }
    void noise(std::vector<std::uint8_t> &bytes, std::size_t from);
    void saturate_some(std::vector<std::uint8_t> &bytes);

    std::mt19937 random_;
};

}  // namespace padsim
