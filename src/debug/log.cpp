// SPDX-License-Identifier: Apache-2.0
// The leveled log: module lifecycle, handler registry and the report path.
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "support/list_range.hpp"
#include "debug/log.hpp"
#include "debug/module.hpp"

namespace vantix::debug {

std::atomic<bool> init_done{false};
std::atomic<unsigned> max_level{VANTIX_DEBUG_LEVEL_NONE};

module_state &state() {
    static module_state instance;
    return instance;
}

char *copy_text(const char *text) { return text ? strdup(text) : nullptr; }

char *join_log_path(const char *file_name) {
    const module_state &s = state();
    if (!s.debug_path || !file_name)
        return nullptr;
    const int needed = std::snprintf(nullptr, 0, "%s%c%s", s.debug_path, '/', file_name);
    if (needed < 0)
        return nullptr;
    auto *path = static_cast<char *>(std::malloc(static_cast<size_t>(needed) + 1));
    if (path)
        std::snprintf(path, static_cast<size_t>(needed) + 1, "%s%c%s", s.debug_path, '/', file_name);
    return path;
}

namespace {

constexpr size_t message_capacity = 8192;

list_range<vantix_debug_handler> handlers() { return list_range<vantix_debug_handler>(state().handlers); }

void free_paths(module_state &s) {
    std::free(s.debug_path);
    std::free(s.debug_file);
    std::free(s.trace_file);
    s.debug_path = s.debug_file = s.trace_file = nullptr;
}

}  // namespace
}  // namespace vantix::debug

using namespace vantix::debug;

extern "C" {

void vantix_debug_init(const char *lbl) {
    if (init_done.load())
        return;
    module_state &s = state();
    free_paths(s);
    s.debug_level = VANTIX_DEBUG_LEVEL_NONE;
    max_level.store(VANTIX_DEBUG_LEVEL_NONE);
    s.debug_enabled = s.trace_enabled = false;
    {
        std::lock_guard lock(s.trace_lock);
        s.trace_handle = nullptr;
        s.trace_write = nullptr;
        s.trace_read = nullptr;
    }
    s.label = lbl;
    {
        std::lock_guard lock(s.handler_lock);
        s.handlers = vantix_create_list();
    }
    init_done.store(true);

    vantix_debug_setup();
    max_level.store(s.debug_level);
    std::lock_guard lock(s.handler_lock);
    for (vantix_debug_handler *handler : handlers()) {
        handler->level = s.debug_level;
        if (handler->open)
            handler->open(handler);
    }
    vantix_debug_print_fingerprint();
}

void vantix_debug_destroy(void) {
    if (!init_done.load())
        return;
    module_state &s = state();
    {
        std::lock_guard lock(s.handler_lock);
        for (vantix_debug_handler *handler : handlers())
            if (handler->close)
                handler->close(handler);
        vantix_list_free(s.handlers);
        s.handlers = nullptr;
    }
    {
        std::lock_guard lock(s.trace_lock);
        if (s.trace_handle)
            std::fclose(s.trace_handle);
        s.trace_handle = nullptr;
    }
    free_paths(s);
    max_level.store(VANTIX_DEBUG_LEVEL_NONE);
    init_done.store(false);
}

void vantix_debug_add_handler(vantix_debug_handler *handler) {
    std::lock_guard lock(state().handler_lock);
    if (!handler || !state().handlers)
        return;
    vantix_list_add(state().handlers, handler);
    vantix_debug_recalculate_debug_level();
}

void vantix_debug_remove_handler(vantix_debug_handler *handler) {
    std::lock_guard lock(state().handler_lock);
    vantix_list_remove_ptr(state().handlers, handler);
}

void vantix_debug_recalculate_debug_level(void) {
    std::lock_guard lock(state().handler_lock);
    unsigned lowest = VANTIX_DEBUG_LEVEL_NONE;
    for (vantix_debug_handler *handler : handlers())
        if (static_cast<unsigned>(handler->level) < lowest)
            lowest = static_cast<unsigned>(handler->level);
    max_level.store(lowest);
}

vantix_list *vantix_debug_get_handlers(void) { return state().handlers; }

void vantix_debug_report_message(const char *function, const char *file, int line_num,
                                 vantix_debug_level level, const char *message, ...) {
    if (!wanted(level))
        return;
    va_list args;
    va_start(args, message);
    vantix_debug_report_message_va(function, file, line_num, level, message, args);
    va_end(args);
}

void vantix_debug_report_message_va(const char *function, const char *file, int line_num,
                                    vantix_debug_level level, const char *message, va_list args) {
    if (!wanted(level))
        return;
    const uint32_t thread_id = vantix_debug_get_current_thread_id();
    const uint32_t process_id = vantix_debug_get_current_process_id();
    const time_t now = std::time(nullptr);
    vantix_debug_message *record = vantix_debug_create_message(function, file, line_num, now, process_id,
                                                               thread_id, level, message, args);
    if (!record)
        return;  // out of memory: the record is lost, the caller carries on
    std::unique_lock lock(state().handler_lock);
    for (vantix_debug_handler *handler : handlers()) {
        if (static_cast<unsigned>(level) < static_cast<unsigned>(handler->level))
            continue;
        if (handler->filter && !handler->filter(handler, record))
            continue;
        if (handler->publish)
            handler->publish(handler, record);
        if (handler->flush)
            handler->flush(handler);
    }
    lock.unlock();
    vantix_debug_free_message(record);
}

vantix_debug_message *vantix_debug_create_message(const char *function, const char *file, int line_num,
                                                  time_t time, uint32_t process_id, uint32_t thread_id,
                                                  vantix_debug_level level, const char *message,
                                                  va_list args) {
    auto *record = static_cast<vantix_debug_message *>(std::calloc(1, sizeof(vantix_debug_message)));
    if (!record)
        return nullptr;
    record->message = static_cast<char *>(std::calloc(1, message_capacity));
    if (!record->message) {
        std::free(record);
        return nullptr;
    }
    // At most 8190 characters and the terminator; no format leaves it empty.
    if (message)
        std::vsnprintf(record->message, message_capacity - 1, message, args);
    record->level = level;
    record->time = time;
    record->process_id = process_id;
    record->thread_id = thread_id;
    record->function = function;
    record->file = file;
    record->line_num = line_num;
    return record;
}

void vantix_debug_free_message(vantix_debug_message *message) {
    if (!message)
        return;
    std::free(message->message);
    std::free(message);
}

const char *vantix_debug_get_level_name(vantix_debug_level level) {
    switch (level) {
    case VANTIX_DEBUG_LEVEL_ALL: return "ALL";
    case VANTIX_DEBUG_LEVEL_FINEST: return "FINEST";
    case VANTIX_DEBUG_LEVEL_FINER: return "FINER";
    case VANTIX_DEBUG_LEVEL_FINE: return "FINE";
    case VANTIX_DEBUG_LEVEL_INFO: return "INFO";
    case VANTIX_DEBUG_LEVEL_WARNING: return "WARNING";
    case VANTIX_DEBUG_LEVEL_SEVERE: return "SEVERE";
    case VANTIX_DEBUG_LEVEL_NONE: return "NONE";
    }
    return "UNKNOWN";
}

uint32_t vantix_debug_get_current_process_id(void) { return static_cast<uint32_t>(getpid()); }

uint32_t vantix_debug_get_current_thread_id(void) { return static_cast<uint32_t>(syscall(SYS_gettid)); }

}  // extern "C"
