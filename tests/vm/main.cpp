// SPDX-License-Identifier: Apache-2.0
// The in-VM test program: plugs the virtual pads in as USB devices, then
// runs every scenario against the real driver. Runs as root in the guest;
// the scenarios that need an ordinary user drop privileges themselves.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>

#include "bench.hpp"

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
    try {
        vm::start_bench();
    } catch (const std::exception &e) {
        std::printf("vm bench: %s\n", e.what());
        return 2;
    }
    const int result = RUN_ALL_TESTS();
    vm::stop_bench();
    return result;
}
