// SPDX-License-Identifier: Apache-2.0
// HID report descriptors as the kernel hands them over from a pad.
#include <vector>

#include "fuzz_bytes.hpp"
#include "platform/hid/report_map.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // An exactly sized copy, so any read past the length is caught.
    std::vector<unsigned char> descriptor = vantix::fuzz::bytes(data, size).rest();
    std::vector<unsigned char> ids(vantix::platform::report_map_size);
    parse_hid_descriptor(descriptor.data(), static_cast<unsigned int>(descriptor.size()), ids.data());
    return 0;
}
