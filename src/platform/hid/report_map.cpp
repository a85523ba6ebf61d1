// SPDX-License-Identifier: Apache-2.0
// Finding the report IDs a HID report descriptor declares, and refusing
// transfers of the others.
#include "platform/hid/report_map.hpp"

#include <cstring>

#include "core/failure.hpp"

namespace {

constexpr unsigned char long_item_prefix = 0xFE;
using vantix::platform::report_map_size;

}  // namespace

namespace vantix::platform {

bool feature_request_allowed(const vantix_device *device, const unsigned char *buffer, unsigned int length,
                             unsigned int max_length, const char *function, const char *file, int line) {
    if (!device || !buffer || length == 0 || length > max_length) {
        report_failure(function, file, line, "Invalid feature report buffer (length %u).\n", length);
        return false;
    }
    const unsigned char id = buffer[0];
    if (id >= report_map_size || !device->parameters.hid_report_map[id]) {
        report_failure(function, file, line, "Report id %u isn't supported by this device.\n", id);
        return false;
    }
    return true;
}

}  // namespace vantix::platform

extern "C" {

void parse_hid_descriptor(const unsigned char *data, unsigned int len, unsigned char *retr) {
    if (!retr)
        return;
    std::memset(retr, 0, report_map_size);
    if (!data)
        return;
    unsigned int pos = 0;
    while (pos < len) {
        const unsigned char prefix = data[pos];
        unsigned int size = prefix & 0x03u;
        if (size == 3)
            size = 4;
        unsigned int advance = size + 1;
        // A long item carries its own data length in the next byte; step over
        // it whole so its data is never read as item prefixes.
        if (prefix == long_item_prefix)
            advance = pos + 1 < len ? 3u + data[pos + 1] : len - pos;
        const unsigned int type = (prefix >> 2) & 0x03u;
        const unsigned int tag = (prefix >> 4) & 0x0Fu;
        // Global item, tag Report ID: the first data byte names the ID. An
        // item whose data runs past the end of the descriptor is ignored.
        if (prefix != long_item_prefix && type == 1 && tag == 8 && size > 0 && pos + size < len) {
            const unsigned char id = data[pos + 1];
            if (id < report_map_size)
                retr[id] = 1;
        }
        if (advance > len - pos)
            break;
        pos += advance;
    }
}

}  // extern "C"
