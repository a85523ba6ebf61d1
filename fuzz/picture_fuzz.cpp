// SPDX-License-Identifier: Apache-2.0
// vantix-tool show-image's picture readers (PNG through libpng, BMP),
// fitted to a 240 x 64 display, read through an in-memory file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "image.hpp"

// Reading a picture holds the fitted picture and a row or so, whatever the
// header claims: a run that grows past 512 MB (or asks for more at once)
// has found a picture decoded whole. The limit is added here unless the
// command line sets one.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static std::vector<char *> args;
    static char rss_limit[] = "-rss_limit_mb=512";
    args.assign(*argv, *argv + *argc);
    bool given = false;
    for (const char *arg : args)
        given = given || std::strncmp(arg, "-rss_limit_mb=", 14) == 0;
    if (!given)
        args.push_back(rss_limit);
    *argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    *argv = args.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const int fd = memfd_create("picture", MFD_CLOEXEC);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) {
        if (fd >= 0)
            close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    for (auto read : {tool::read_png, tool::read_bmp}) {
        tool::fitter fitted(240, 64);
        try {
            read(path, fitted);
            fitted.result();
        } catch (const std::runtime_error &) {
            // refused: what the readers do with bad files
        }
    }
    close(fd);
    return 0;
}
