// SPDX-License-Identifier: Apache-2.0
// The outcome of one feature transfer and the record the pad logs of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace padsim {

enum class direction { get, set };

struct result {
    bool ok = true;
    std::string error;  // why the transfer failed, as the host should report it
};

struct transfer {
    direction dir;
    std::uint8_t report_id;
    // Set: the bytes the host sent. Get: the bytes returned (empty when the
    // transfer failed).
    std::vector<std::uint8_t> bytes;
    bool ok;
};

// Error codes the pad keeps in its device status after a refused command.
namespace pad_error {
inline constexpr std::uint16_t none = 0;
inline constexpr std::uint16_t write_key = 0x0101;     // serial write with a wrong key
inline constexpr std::uint16_t bad_length = 0x0102;    // report of the wrong length
inline constexpr std::uint16_t not_writable = 0x0103;  // report that cannot be set
inline constexpr std::uint16_t bad_region = 0x0104;    // region number beyond the region count
inline constexpr std::uint16_t bad_value = 0x0105;     // a command value the pad does not know
inline constexpr std::uint16_t bad_screen = 0x0106;    // screen number beyond the screen count
inline constexpr std::uint16_t bad_resource = 0x0107;  // resource number beyond the resource count
inline constexpr std::uint16_t store_full = 0x0108;    // no room left in the store
inline constexpr std::uint16_t bad_piece = 0x0109;     // a resource piece that does not fit
}  // namespace pad_error

}  // namespace padsim
