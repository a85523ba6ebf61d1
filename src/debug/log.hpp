// SPDX-License-Identifier: Apache-2.0
// Internal logging front end: one inline level check before any work, so a
// record below the effective level costs two loads and a comparison.
#pragma once

#include <atomic>

#include "vantix-zelnar.h"

namespace vantix::debug {

// Module switches read by every report. Atomics keep the cheap check free of
// data races with init/destroy; the ordering is relaxed because the library
// requires those calls to happen while nothing else reports.
extern std::atomic<bool> init_done;
extern std::atomic<unsigned> max_level;

inline bool wanted(vantix_debug_level level) noexcept {
    return init_done.load(std::memory_order_relaxed) &&
           static_cast<unsigned>(level) >= max_level.load(std::memory_order_relaxed);
}

// Logs "==> Entering Function" when constructed and "<== Leaving Function"
// when the scope ends, unless the leave record was dropped for this path.
class call_trace {
public:
    call_trace(const char *function, const char *file, int line, bool entry_record = true) noexcept
        : function_(function), file_(file), line_(line) {
        if (entry_record && wanted(VANTIX_DEBUG_LEVEL_FINEST))
            vantix_debug_report_message(function_, file_, line_, VANTIX_DEBUG_LEVEL_FINEST,
                                        "==> Entering Function");
    }
    ~call_trace() { leave_now(); }
    call_trace(const call_trace &) = delete;
    call_trace &operator=(const call_trace &) = delete;

    void without_leave_record() noexcept { leave_ = false; }
    // Writes the leave record at once, for a function whose last step (a
    // transfer) comes after it in the log.
    void leave_now() noexcept {
        if (leave_ && wanted(VANTIX_DEBUG_LEVEL_FINEST))
            vantix_debug_report_message(function_, file_, line_, VANTIX_DEBUG_LEVEL_FINEST,
                                        "<== Leaving Function");
        leave_ = false;
    }

private:
    const char *function_;
    const char *file_;
    int line_;
    bool leave_ = true;
};

}  // namespace vantix::debug

#define VANTIX_LOG(level, ...)                                                             \
    do {                                                                                   \
        if (::vantix::debug::wanted(level))                                                \
            vantix_debug_report_message(__func__, __FILE__, __LINE__, level, __VA_ARGS__); \
    } while (0)

#define VANTIX_LOG_FINE(...) VANTIX_LOG(VANTIX_DEBUG_LEVEL_FINE, __VA_ARGS__)
#define VANTIX_LOG_INFO(...) VANTIX_LOG(VANTIX_DEBUG_LEVEL_INFO, __VA_ARGS__)
#define VANTIX_LOG_WARNING(...) VANTIX_LOG(VANTIX_DEBUG_LEVEL_WARNING, __VA_ARGS__)

// Entry and exit records of an exported function.
#define VANTIX_TRACE_CALL() ::vantix::debug::call_trace vantix_call_trace_(__func__, __FILE__, __LINE__)
