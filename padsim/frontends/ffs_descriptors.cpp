// SPDX-License-Identifier: Apache-2.0
#include "ffs_descriptors.hpp"

#include <linux/usb/ch9.h>
#include <linux/usb/functionfs.h>

#include "wire.hpp"

namespace padsim::frontend {
namespace {

constexpr std::uint8_t hid_class = 3;
constexpr std::uint8_t hid_descriptor_type = 0x21;
constexpr std::uint8_t report_descriptor_type = 0x22;

void put_le16(std::vector<std::uint8_t> &out, std::uint16_t value) { wire::append_le(out, value, 2); }

void put_le32(std::vector<std::uint8_t> &out, std::uint32_t value) { wire::append_le(out, value, 4); }

// Interface, HID class descriptor, endpoint: three descriptors per speed.
// bInterval counts frames at full speed and 2^(n-1) microframes at high
// speed; both mean 1 ms, the fastest a pad reports.
void put_interface(std::vector<std::uint8_t> &out, std::uint16_t report_length, std::uint8_t interval) {
    const std::uint8_t interface[] = {USB_DT_INTERFACE_SIZE, USB_DT_INTERFACE, 0, 0, 1, hid_class, 0, 0, 0};
    out.insert(out.end(), std::begin(interface), std::end(interface));
    const auto hid = hid_class_descriptor(report_length);
    out.insert(out.end(), hid.begin(), hid.end());
    out.insert(out.end(), {USB_DT_ENDPOINT_SIZE, USB_DT_ENDPOINT, USB_DIR_IN | 1, USB_ENDPOINT_XFER_INT});
    put_le16(out, input_packet_size);
    out.push_back(interval);
}

}  // namespace

std::vector<std::uint8_t> hid_class_descriptor(std::uint16_t report_descriptor_length) {
    std::vector<std::uint8_t> out{9, hid_descriptor_type, 0x11, 0x01, 0, 1, report_descriptor_type};
    put_le16(out, report_descriptor_length);
    return out;
}

std::vector<std::uint8_t> ffs_descriptors(std::uint16_t report_descriptor_length) {
    std::vector<std::uint8_t> out;
    put_le32(out, FUNCTIONFS_DESCRIPTORS_MAGIC_V2);
    put_le32(out, 0);  // total length, filled in below
    put_le32(out, FUNCTIONFS_HAS_FS_DESC | FUNCTIONFS_HAS_HS_DESC);
    put_le32(out, 3);  // full-speed descriptor count
    put_le32(out, 3);  // high-speed descriptor count
    put_interface(out, report_descriptor_length, 1);
    put_interface(out, report_descriptor_length, 4);
    wire::put32(out, 4, static_cast<std::uint32_t>(out.size()));
    return out;
}

std::vector<std::uint8_t> ffs_strings() {
    std::vector<std::uint8_t> out;
    put_le32(out, FUNCTIONFS_STRINGS_MAGIC);
    put_le32(out, 16);
    put_le32(out, 0);  // no strings
    put_le32(out, 0);  // in no language
    return out;
}

}  // namespace padsim::frontend
