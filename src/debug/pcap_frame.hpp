// SPDX-License-Identifier: Apache-2.0
// Byte layouts of the classic pcap file: the file header, the record header
// and the synthetic Ethernet + IPv4 + UDP headers in front of each chunk.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "support/byte_order.hpp"

namespace vantix::debug {

constexpr uint32_t pcap_frame_overhead = 42;  // Ethernet 14 + IPv4 20 + UDP 8
// The IPv4 total length is 16 bits and covers IP and UDP headers (28 bytes).
constexpr uint32_t pcap_max_payload = 65535 - 28;

// File header fields are in the writer's native byte order.
inline std::array<unsigned char, 24> pcap_file_header() {
    std::array<unsigned char, 24> out{};
    const uint32_t magic = 0xA1B2C3D4, thiszone = 0, sigfigs = 0, snaplen = 65535, network = 1;
    const uint16_t major = 2, minor = 4;
    std::memcpy(&out[0], &magic, 4);
    std::memcpy(&out[4], &major, 2);
    std::memcpy(&out[6], &minor, 2);
    std::memcpy(&out[8], &thiszone, 4);
    std::memcpy(&out[12], &sigfigs, 4);
    std::memcpy(&out[16], &snaplen, 4);
    std::memcpy(&out[20], &network, 4);
    return out;
}

inline std::array<unsigned char, 16> pcap_record_header(uint32_t seconds, uint32_t microseconds,
                                                        uint32_t payload_len) {
    std::array<unsigned char, 16> out{};
    const uint32_t captured = payload_len + pcap_frame_overhead;
    std::memcpy(&out[0], &seconds, 4);
    std::memcpy(&out[4], &microseconds, 4);
    std::memcpy(&out[8], &captured, 4);
    std::memcpy(&out[12], &captured, 4);
    return out;
}

// Network fields are big-endian. Ends are numbered 1 (device) and 2 (library);
// MAC and IP addresses carry the end number in their first byte.
inline std::array<unsigned char, pcap_frame_overhead> pcap_frame_headers(uint32_t payload_len, uint8_t source,
                                                                         uint8_t destination) {
    std::array<unsigned char, pcap_frame_overhead> f{};
    const support::report_view view(f.data(), f.size());
    const auto put_be16 = [&view](size_t at, uint32_t value) {
        view.put2_be(at, static_cast<uint16_t>(value));
    };
    f[0] = destination;
    f[6] = source;
    f[12] = 0x08;  // EtherType IPv4
    f[13] = 0x00;
    f[14] = 0x45;  // version 4, header length 5 words
    put_be16(16, payload_len + 28);
    f[20] = 0x40;  // do not fragment
    f[22] = 128;   // time to live
    f[23] = 17;    // UDP
    f[26] = source;
    f[30] = destination;
    put_be16(34, 1000);
    put_be16(36, 1000);
    put_be16(38, payload_len + 8);
    return f;
}

}  // namespace vantix::debug
