// SPDX-License-Identifier: Apache-2.0
// The start-up fingerprint: which program, on which system and processor.
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "debug/log.hpp"
#include "debug/module.hpp"

namespace {

constexpr size_t process_name_capacity = 1024;

}  // namespace

extern "C" {

void vantix_debug_print_fingerprint(void) {
    char *process_name = vantix_debug_get_current_process_name();
    const char *native = vantix_debug_get_native_architecture();
    const char *system = vantix_debug_get_operating_system();
    const char *process_arch = vantix_debug_get_process_architecture();
    VANTIX_LOG_INFO(
        "Process starting, proccess name: '%s', process architecture: %s, os version: %s, os architecture: "
        "%s",
        process_name ? process_name : "", process_arch, system, native);
    std::free(process_name);
}

char *vantix_debug_get_current_process_name(void) {
    auto *name = static_cast<char *>(std::calloc(1, process_name_capacity));
    if (name && readlink("/proc/self/exe", name, process_name_capacity - 1) < 0)
        name[0] = '\0';
    return name;
}

const char *vantix_debug_get_native_architecture(void) {
    // Looked up once per process; the kernel version is logged that once.
    static std::once_flag once;
    static char machine[sizeof(utsname{}.machine)] = "";
    std::call_once(once, [] {
        utsname names{};
        if (uname(&names) != 0)
            return;
        vantix_debug_report_message("vantix_debug_get_native_architecture", __FILE__, __LINE__,
                                    VANTIX_DEBUG_LEVEL_INFO, "Linux kernel version is %s - %s", names.release,
                                    names.version);
        std::memcpy(machine, names.machine, sizeof machine);
        machine[sizeof machine - 1] = '\0';
    });
    return machine;
}

const char *vantix_debug_get_process_architecture(void) { return sizeof(void *) == 8 ? "x64" : "x32"; }

const char *vantix_debug_get_operating_system(void) {
    static std::once_flag once;
    static const char *system = nullptr;
    std::call_once(once, [] { system = linux_get_distribution(); });
    return system ? system : "Linux (Unknown)";
}

}  // extern "C"
