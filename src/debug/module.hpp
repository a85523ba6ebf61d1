// SPDX-License-Identifier: Apache-2.0
// State shared by the files of the diagnostics module. One instance per process.
#pragma once

#include <cstdio>
#include <mutex>

#include "vantix-zelnar.h"

namespace vantix::debug {

struct module_state {
    bool debug_enabled = false;
    bool trace_enabled = false;
    vantix_debug_level debug_level = VANTIX_DEBUG_LEVEL_NONE;
    const char *label = nullptr;
    // Guards `handlers`. Records are published under it, so a handler that
    // has been removed is never called afterwards, even by the library's own
    // threads. Recursive because a handler may itself log.
    std::recursive_mutex handler_lock;
    vantix_list *handlers = nullptr;
    char *debug_path = nullptr;  // directory of the log and trace files
    char *debug_file = nullptr;  // log file name, tokens substituted
    char *trace_file = nullptr;  // trace file name, tokens substituted

    // Trace writer: one stream for the process, written as whole records.
    std::mutex trace_lock;
    FILE *trace_handle = nullptr;
    vantix_serial_write_func trace_write = nullptr;
    vantix_serial_read_func trace_read = nullptr;
};

module_state &state();

// Joins the log directory and a file name as "%s/%s"; null when either is
// missing or memory runs out. The caller frees the result.
char *join_log_path(const char *file_name);

// Copies text into malloc'd storage; null stays null (and so does an
// allocation failure, which every caller tolerates).
char *copy_text(const char *text);

// Picks the distribution name from key=value release files, in order, then
// from a Red Hat style release file. Exposed for tests; the fingerprint
// passes the system's files.
char *distribution_from(const char *const *files, size_t file_count, const char *redhat_file);

}  // namespace vantix::debug
