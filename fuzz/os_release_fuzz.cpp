// SPDX-License-Identifier: Apache-2.0
// os-release style files, read through an in-memory file.
#include <sys/mman.h>
#include <unistd.h>

#include <string>

#include "vantix-zelnar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const int fd = memfd_create("os-release", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) {
        if (fd >= 0)
            close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    vantix_list *pairs = vantix_create_list();
    read_key_value_pair_file(path.c_str(), pairs);
    free_keypair_list(pairs);
    close(fd);
    return 0;
}
