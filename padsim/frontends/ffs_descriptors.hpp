// SPDX-License-Identifier: Apache-2.0
// The blobs a FunctionFS function writes to ep0 before it can be bound:
// the USB descriptors of one HID interface with an interrupt IN endpoint
// (full and high speed), and an empty string table.
#pragma once

#include <cstdint>
#include <vector>

namespace padsim::frontend {

inline constexpr std::uint16_t input_packet_size = 64;

std::vector<std::uint8_t> ffs_descriptors(std::uint16_t report_descriptor_length);
std::vector<std::uint8_t> ffs_strings();
// The 9-byte HID class descriptor, also answered to GET_DESCRIPTOR 0x21.
std::vector<std::uint8_t> hid_class_descriptor(std::uint16_t report_descriptor_length);

}  // namespace padsim::frontend
