// SPDX-License-Identifier: Apache-2.0
// Reading a HID device's properties and building the path that names it.
#include <cstdio>

#include "platform/mac/cf_ref.hpp"
#include "platform/mac/mac_driver.hpp"

namespace vantix::mac {
namespace {

// The property `key` when it has the type `type_id`, else null (Get rule:
// the device keeps the reference).
CFTypeRef typed_property(IOHIDDeviceRef device, const char *key, CFTypeID type_id) {
    if (!device)
        return nullptr;
    cf_ref<CFStringRef> name(CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingASCII));
    if (!name)
        return nullptr;
    CFTypeRef value = IOHIDDeviceGetProperty(device, name.get());
    return value && CFGetTypeID(value) == type_id ? value : nullptr;
}

constexpr size_t path_capacity = 256;

}  // namespace

int32_t int_property(IOHIDDeviceRef device, const char *key) {
    auto number = static_cast<CFNumberRef>(typed_property(device, key, CFNumberGetTypeID()));
    SInt32 value = 0;
    if (!number || !CFNumberGetValue(number, kCFNumberSInt32Type, &value))
        return 0;
    return value;
}

std::optional<std::string> string_property(IOHIDDeviceRef device, const char *key) {
    auto text = static_cast<CFStringRef>(typed_property(device, key, CFStringGetTypeID()));
    if (!text)
        return std::nullopt;
    const CFIndex size =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    if (size <= 0)
        return std::nullopt;
    std::string buffer(static_cast<size_t>(size), '\0');
    if (!CFStringGetCString(text, buffer.data(), size, kCFStringEncodingUTF8))
        return std::nullopt;
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

std::optional<std::vector<uint8_t>> byte_property(IOHIDDeviceRef device, const char *key, size_t limit) {
    auto data = static_cast<CFDataRef>(typed_property(device, key, CFDataGetTypeID()));
    if (!data)
        return std::nullopt;
    const CFIndex length = CFDataGetLength(data);
    const uint8_t *bytes = CFDataGetBytePtr(data);
    if (length <= 0 || !bytes)
        return std::nullopt;
    const size_t kept = static_cast<size_t>(length) < limit ? static_cast<size_t>(length) : limit;
    return std::vector<uint8_t>(bytes, bytes + kept);
}

std::string device_path(IOHIDDeviceRef device) {
    const std::string transport = string_property(device, kIOHIDTransportKey).value_or("");
    char path[path_capacity];
    std::snprintf(path, sizeof path, "%s_%04hx_%04hx_%02x_%02x_%x", transport.c_str(),
                  static_cast<unsigned short>(int_property(device, kIOHIDVendorIDKey)),
                  static_cast<unsigned short>(int_property(device, kIOHIDProductIDKey)),
                  static_cast<unsigned int>(int_property(device, kIOHIDPrimaryUsagePageKey)),
                  static_cast<unsigned int>(int_property(device, kIOHIDPrimaryUsageKey)),
                  static_cast<unsigned int>(int_property(device, kIOHIDLocationIDKey)));
    return path;
}

}  // namespace vantix::mac
