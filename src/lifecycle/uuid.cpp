// SPDX-License-Identifier: Apache-2.0
// The device UUID: the MD5 digest of the pad's error-correction table.
#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>

#include "debug/log.hpp"

namespace {

constexpr unsigned int uuid_size = 16;

bool md5(const unsigned char *data, size_t length, unsigned char *out) {
    unsigned int written = 0;
    return EVP_Digest(data, length, out, &written, EVP_md5(), nullptr) == 1 && written == uuid_size;
}

}  // namespace

extern "C" {

unsigned char *vantix_get_device_uuid(vantix_device *device) {
    VANTIX_TRACE_CALL();
    const vantix_hid_feature_error_correction_table table = vantix_get_error_correction_table(device);
    if (table.report_id == 0)
        return nullptr;
    auto *uuid = static_cast<unsigned char *>(std::calloc(1, uuid_size));
    if (uuid && !md5(table.data, sizeof table.data, uuid)) {
        std::free(uuid);
        return nullptr;
    }
    return uuid;
}

void vantix_free_device_uuid(unsigned char *uuid) { std::free(uuid); }

void vantix_print_device_uuid(unsigned char *uuid) {
    VANTIX_TRACE_CALL();
    std::printf("Device UUID:\n");
    if (!uuid) {
        std::printf("  NULL\n");
        return;
    }
    std::printf("   uuid = ");
    for (unsigned int i = 0; i < uuid_size; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            std::printf("-");
        std::printf("%02x", uuid[i]);
    }
    std::printf("\n");
}

}  // extern "C"
